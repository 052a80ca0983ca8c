#pragma once

#include "support/PythonServerProcess.h"

#include <QString>
#include <optional>

namespace vendrel::test {

// Our own small FTP server (scripted_ftp_server.py beside this file) on
// 127.0.0.1 and a free port, which serves a fixed tree from memory to any
// user and spoils the folder /bad/ in the way a scenario says, for example
// "endless-fast-listing" or "bare-cr-names" (the script lists them all).
// It stops with this object, and by itself if the test process dies.
class ScriptedFtpServer {
public:
    struct Options {
        bool mlsd = true; // false: MLSD gets 500, and listings go through LIST
    };

    // Why the server cannot run here; nothing when it can.
    static std::optional<QString> missingPrerequisite();

    bool start(const QString &scenario, const Options &options);
    bool start(const QString &scenario) { return start(scenario, Options{}); }
    QString failureReason() const { return process_.failureReason(); }
    quint16 port() const { return port_; }
    // Every command and reply so far, with times.
    QByteArray commandLog() const { return process_.log(); }

private:
    PythonServerProcess process_;
    quint16 port_ = 0;
};

} // namespace vendrel::test
