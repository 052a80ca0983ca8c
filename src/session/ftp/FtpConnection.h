#pragma once

#include "session/ftp/CurlWorker.h"
#include "session/ftp/FtpService.h"
#include "session/ftp/RemotePath.h"

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
};

// One FTP connection: the service's calls on it as libcurl requests run by
// its own worker thread. Calls block their caller until the server has
// answered, handling the caller's events meanwhile. A request that fails
// because the server dropped the idle control connection is run once more
// on a new one. One call at a time: a call made while another is under way
// (from an event handled during the wait) fails at once.
class FtpConnection {
public:
    enum class Access { Read, Write };

    FtpConnection(const FtpEndpoint &endpoint, const CurlFtpOptions &options);

    bool login();
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
    bool openFile(const QString &path, Access access, bool ascii);
    bool read(char *buffer, quint32 bytesToRead, quint32 &bytesRead);
    bool write(const char *buffer, quint32 bytesToWrite);
    // Completes an upload (true when the server stored the whole file) or
    // drops the rest of a download.
    bool closeFile();
    // Drops the transfer at once, an upload unfinished. The control
    // connection goes with it; the next call logs in again.
    void abortFile();

    // Makes the call under way return at once: its handle is being closed.
    void abort();

    FtpError lastError() const { return error_; }

private:
    class CallGuard;
    struct ExpectedReply {
        QByteArray command;
        int replyClass; // 2: done, 3: more to come (RNFR)
    };

    bool endFile(bool abandon);
    bool runPathCommand(const char *verb, const QString &path);
    bool runCommands(const QList<ExpectedReply> &commands);
    std::optional<std::vector<ListingEntry>> runListing(const QString &folder, const QString &pattern,
                                                        ListingFormat format, bool &refused);
    bool launch(CurlRequest request, bool untilStarted);
    bool droppedWhileIdle(const CurlOutcome &outcome) const;
    std::optional<QByteArray> urlFor(const QString &path);
    std::optional<QByteArray> commandPathFor(const QString &path);
    bool fail(int code, const QString &description);
    bool failWith(const CurlOutcome &outcome);

    QByteArray baseUrl_;
    CurlWorker worker_;
    WirePaths wirePaths_;
    ListingLimits listingLimits_;
    QString entryPath_ = QStringLiteral("/");
    std::optional<bool> mlsdWorks_;   // unknown until the first listing
    bool connectionKept_ = false;     // the last request left a logged-in control connection
    std::optional<Access> openFile_;
    bool callUnderWay_ = false;
    FtpError error_;
};

} // namespace vendrel
