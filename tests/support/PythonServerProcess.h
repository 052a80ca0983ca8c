#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

namespace vendrel::test {

// A test server script run by Debian's /usr/bin/python3, which prints the
// port it listens on alone on its first line. The server ends when this
// object goes (its stdin closes), and so also if the test process dies.
class PythonServerProcess {
public:
    // Why no such server can run here (no /usr/bin/python3, or a module the
    // script imports is missing); nothing when one can.
    static std::optional<QString> missingPrerequisite(const QString &module, const QString &debianPackage);

    PythonServerProcess() = default;
    ~PythonServerProcess();
    PythonServerProcess(const PythonServerProcess &) = delete;
    PythonServerProcess &operator=(const PythonServerProcess &) = delete;

    // The port the server listens on; 0 when it did not start (failureReason says why).
    quint16 start(const QString &script, const QStringList &arguments);
    QString failureReason() const { return failure_; }
    // Kills the server at once, as a crash would: its connections break.
    void kill();

    // A file for the server's log of commands and replies, and what it holds.
    QString logFile() const { return scratch_.filePath(QStringLiteral("commands.log")); }
    QByteArray log() const;

private:
    QTemporaryDir scratch_; // the server's stderr and log
    QProcess process_;
    QString failure_;
};

// The path of a file beside the test support's sources.
QString supportFile(const QString &name);

} // namespace vendrel::test
