#pragma once

#include "support/PythonServerProcess.h"
#include "support/TempFolder.h"

#include <QString>
#include <optional>

namespace vendrel::test {

// A pyftpdlib server (ftp_server.py beside this file) on 127.0.0.1 and a free
// port, serving a temporary folder for the length of a test: user "vendrel"
// with password "secret" may do everything, anonymous may read. It stops
// with this object, and by itself if the test process dies.
//
//     VENDREL_REQUIRE_PREREQUISITE(LocalFtpServer::missingPrerequisite())
//     LocalFtpServer server;
//     ASSERT_TRUE(server.start()) << server.failureReason().toStdString();
class LocalFtpServer {
public:
    struct Options {
        bool mlsd = true;              // false: MLSD gets 500, as on servers without it
        double idleTimeoutSeconds = 300; // the server closes a control connection idle that long
        int bytesPerSecond = 0;        // data connections send and take no faster; 0: no limit
        // Faults of a broken or hostile server:
        bool endlessListing = false;   // listings send an entry a second and never end
        int cutAfter = -1;             // downloads stop after this many bytes with a 226; SIZE is refused
        int extraBytes = 0;            // downloads send this many bytes more than the file holds
        QString lostReply;             // verbs ("DELE,MKD") carried out, then the connection drops unanswered
        bool noConnectBack = false;    // active mode: PORT is accepted, the data connection never comes
        QString closing421;            // verbs answered with 421 and a closed connection, not carried out
        QString pwdReply;              // the folder PWD names (Python escapes: \\x01); empty: the real one
    };

    static constexpr const char *user = "vendrel";
    static constexpr const char *password = "secret";

    // Why no server can run on this machine (Debian's /usr/bin/python3 or its
    // pyftpdlib missing); nothing when one can.
    static std::optional<QString> missingPrerequisite();

    bool start(const Options &options);
    bool start() { return start(Options{}); }
    QString failureReason() const { return process_.failureReason(); }
    // Kills the server at once, as a crash would: its connections break.
    void kill() { process_.kill(); }

    quint16 port() const { return port_; }
    // The folder served as "/".
    TempFolder &files() { return files_; }
    // Every command and reply so far, with times.
    QByteArray commandLog() const { return process_.log(); }

private:
    TempFolder files_;
    PythonServerProcess process_;
    quint16 port_ = 0;
};

} // namespace vendrel::test
