#pragma once

#include "session/ftp/CurlWorker.h"
#include "session/ftp/FtpService.h"
#include "session/ftp/RemotePath.h"
#include "session/ftp/ServerCertificate.h"

#include <optional>
#include <vector>

namespace vendrel {

// Where and as whom a connection logs in.
struct FtpEndpoint {
    QString host;
    quint16 port = 21;
    QString user;
    QString password;
    bool passive = true;
    FtpSecurity security = FtpSecurity::Plain;
};

// One FTP connection: the service's calls on it as libcurl requests run by
// its own worker thread. Calls block their caller until the server has
// answered, handling the caller's events meanwhile through the wait
// observer, which can cancel them. A login, a listing or a command ends
// within its deadline whatever the server does.
//
// A request is run once more on a new control connection only when the
// server had dropped the idle one before taking anything (a 421, or a
// connection found closed before any command went out); never after a
// timeout, which would double the wait. A command that changes the server
// and whose reply was lost is never sent again: the server's state tells
// whether it was carried out. One call at a time: a call made while another
// is under way (from an event handled during the wait) fails at once.
class FtpConnection {
public:
    enum class Access { Read, Write };

    FtpConnection(const FtpEndpoint &endpoint, const CurlFtpOptions &options, WaitObserver &observer,
                  CertificateTrust &trust);

    // Over TLS, a certificate the system's authorities do not vouch for is
    // put to the trust before the login is sent; trusted, it is the only one
    // this connection accepts from then on.
    bool login();
    // "TLS 1.3" on a secure connection; empty on a plain one.
    QString securityProtocol() const { return securityProtocol_; }
    // The server's folder at login, "/" when it did not say.
    QString entryPath() const { return entryPath_; }

    // The entries of the folder of a search spec that match its pattern.
    std::optional<std::vector<FindData>> list(const QString &searchSpec);

    bool createDirectory(const QString &path);
    bool removeDirectory(const QString &path);
    bool deleteFile(const QString &path);
    bool renameFile(const QString &existing, const QString &renamed);

    // Reading returns once the file's data has begun to arrive, so a file
    // the server refuses fails here.
    // From an offset, a download skips that many bytes and an upload appends.
    bool openFile(const QString &path, Access access, bool ascii, qint64 offset = 0);
    bool read(char *buffer, quint32 bytesToRead, quint32 &bytesRead);
    // The size the server gave for the file being downloaded (SIZE, or its
    // 150 reply), once the download has ended; false when it gave none.
    bool announcedSize(qint64 &size);
    // The size of a file as the server states it now (SIZE, else its
    // listing entry); false when it does not say.
    bool fileSize(const QString &path, qint64 &size);
    bool write(const char *buffer, quint32 bytesToWrite);
    // MDTM, in UTC.
    bool modificationTime(const QString &path, QDateTime &modified);
    // MFMT, when FEAT offers it; otherwise nothing is sent.
    bool setModificationTime(const QString &path, const QDateTime &modified);
    // Completes an upload (true when the server stored the whole file) or
    // drops the rest of a download.
    bool closeFile();
    // Drops the transfer at once, an upload unfinished. The control
    // connection goes with it; the next call logs in again.
    void abortFile();

    // Makes the call under way, and every later one, return at once: its
    // handle is being closed.
    void abort();

    FtpError lastError() const { return error_; }

private:
    class CallGuard;
    struct ExpectedReply {
        QByteArray command;
        int replyClass; // 2: done, 3: more to come (RNFR)
    };
    // What the server holds once a command was carried out.
    struct ExpectedState {
        QString path;
        bool present;
    };

    bool attemptLogin();
    // The certificate the last login attempt stopped at for want of an
    // authority that vouches for it.
    std::optional<ServerCertificate> unvouchedCertificate();
    bool endFile(bool abandon);
    bool runPathCommand(const char *verb, const QString &path, bool presentAfter);
    // Sends one command that changes nothing and returns its final reply.
    std::optional<ServerReply> query(const QByteArray &command);
    bool offersFeature(const QByteArray &feature);
    bool runCommands(const QList<ExpectedReply> &commands, const QList<ExpectedState> &after);
    bool serverShows(const QList<ExpectedState> &states);
    // The entry of a path in its folder's listing; false when the listing failed.
    bool findEntry(const QString &path, std::optional<FindData> &entry);
    std::optional<std::vector<FindData>> listEntries(const QString &searchSpec);
    std::optional<std::vector<ListingEntry>> runListing(const QString &folder, const QString &pattern,
                                                        ListingFormat format, bool &refused);
    bool launch(CurlRequest request, bool untilStarted);
    static bool droppedBeforeTaking(const CurlOutcome &outcome, const CurlRequest &request);
    std::optional<QByteArray> urlFor(const QString &path);
    std::optional<QByteArray> commandPathFor(const QString &path);
    bool fail(int code, const QString &description);
    bool failWith(const CurlOutcome &outcome);

    QByteArray baseUrl_;
    QString host_;
    quint16 port_;
    CertificateTrust &trust_;
    QByteArray pinnedCertificate_; // SHA-256 of the certificate the user trusted
    QString securityProtocol_;
    CurlFtpOptions options_;
    CurlWorker worker_;
    WirePaths wirePaths_;
    QString entryPath_ = QStringLiteral("/");
    std::optional<bool> mlsdWorks_; // unknown until the first listing
    std::optional<QByteArray> features_; // FEAT's lines, asked once
    bool connectionKept_ = false;   // the last request left a logged-in control connection
    std::optional<Access> openFile_;
    bool callUnderWay_ = false;
    // When the call under way must have ended; none for a transfer, which
    // may take hours and fails only when it stalls.
    std::optional<std::chrono::steady_clock::time_point> callEnds_;
    FtpError error_;
};

} // namespace vendrel
