#pragma once

#include "support/TempFolder.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace vendrel::test {

// A pyftpdlib server (ftp_server.py beside this file) run by Debian's
// /usr/bin/python3 on 127.0.0.1 and a free port, serving a temporary folder
// for the length of a test: user "vendrel" with password "secret" may do
// everything, anonymous may read. It stops with this object (its stdin
// closes), and so also if the test process dies.
//
//     LocalFtpServer server; // in a LocalServerTest, which skips where it cannot run
//     ASSERT_TRUE(server.start()) << server.failureReason().toStdString();
class LocalFtpServer {
public:
    struct Options {
        bool mlsd = true;                // false: MLSD gets 500, as on servers without it
        bool mfmt = true;                // false: no MFMT, and FEAT does not offer it
        double idleTimeoutSeconds = 300; // the server closes a control connection idle that long
        int bytesPerSecond = 0;          // data connections send and take no faster; 0: no limit
        // Faults of a broken or hostile server:
        QString endlessListing{};   // "slow" (an entry a second) or "fast": listings of /endless never end
        int extraBytes = 0;         // downloads send this many bytes more than the file holds
        int cutFirstDownload = 0;   // the first download sends this many bytes, then the session drops
        QString lostReply{};        // verbs ("DELE,MKD") carried out, then the connection drops unanswered
        bool noConnectBack = false; // active mode: PORT is accepted, the data connection never comes
        QString closing421{};       // verbs answered with 421 and a closed connection, not carried out
        QString silent{};           // verbs (or CONNECT) after which the first session never answers again
    };

    static constexpr const char *user = "vendrel";
    static constexpr const char *password = "secret";

    // Why no server can run on this machine (Debian's /usr/bin/python3 or its
    // pyftpdlib missing); nothing when one can.
    static std::optional<QString> missingPrerequisite();

    LocalFtpServer() = default;
    ~LocalFtpServer();
    LocalFtpServer(const LocalFtpServer &) = delete;
    LocalFtpServer &operator=(const LocalFtpServer &) = delete;

    bool start(const Options &options);
    bool start() { return start(Options{}); }
    QString failureReason() const { return failure_; }
    // Kills the server at once, as a crash would: its connections break.
    void kill();

    quint16 port() const { return port_; }
    // The folder served as "/".
    TempFolder &files() { return files_; }
    // Every command and reply so far, with times.
    QByteArray commandLog() const;

private:
    TempFolder files_;
    QTemporaryDir scratch_; // the server's stderr and log
    QProcess process_;
    QString failure_;
    quint16 port_ = 0;
};

} // namespace vendrel::test
