#pragma once

#include "session/ftp/ServerCertificate.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>
#include <curl/curl.h>
#include <optional>

namespace vendrel {

class ListingCollector;

// One request of a connection, as its worker runs it.
struct CurlRequest {
    enum class Kind {
        Command,  // no data connection: login, MKD, RMD, DELE, RNFR/RNTO
        Listing,  // LIST or MLSD, fed to `listing` on the worker thread
        Download, // RETR, data handed to the caller through the channel
        Upload,   // STOR, data taken from the caller through the channel
    };

    Kind kind = Kind::Command;
    QByteArray url;
    QList<QByteArray> commands;               // sent after login, each allowed to fail (the replies tell)
    QList<QByteArray> commandsBeforeTransfer; // sent after TYPE, just before RETR/STOR, each allowed to fail
    QByteArray listCommand;                   // "MLSD", or empty for LIST
    ListingCollector *listing = nullptr;
    bool ascii = false;
    qint64 offset = 0; // a download skips this many bytes; an upload with one appends
    bool freshConnection = false;          // do not reuse the control connection
    bool changesServer = false;            // sending it twice could do twice what it does (DELE, STOR)
    std::chrono::milliseconds deadline{0}; // the whole request fails past it; 0: none (transfers)
    QByteArray pinnedCertificate; // SHA-256 of the certificate the user trusted; empty: the system's authorities
};

// A final reply line of the server ("250 Done.") and the command it answers
// ("DELE"; empty for the greeting).
struct ServerReply {
    int code = 0;
    QByteArray text;
    QByteArray lines; // the lines before the final one, of a reply over several (FEAT)
    QByteArray command;
};

// How a request ended.
struct CurlOutcome {
    CURLcode code = CURLE_OK;
    long replyCode = 0;                           // the last reply's code
    QList<ServerReply> replies;                   // final replies in order (the last few)
    QString errorText;                            // libcurl's explanation of a failure
    bool started = false;                         // data moved (a transfer had begun)
    bool commandSent = false;                     // a command went out: the server may have acted on it
    qint64 contentLength = -1;                    // the size SIZE gave for a request on a file without its body
    bool newConnection = false;                   // the request logged in on a new control connection
    bool connectionKept = false;                  // a control connection is still open for the next request
    QByteArray entryPath;                         // the server's folder at login
    std::optional<ServerCertificate> certificate; // the server's, when a full TLS handshake took place
    QString tlsProtocol;                          // "TLS 1.3", with the certificate

    bool ok() const { return code == CURLE_OK; }
};

} // namespace vendrel
