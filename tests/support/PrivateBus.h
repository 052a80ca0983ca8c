#pragma once

#include "support/TempFolder.h"

#include <QProcess>
#include <QStandardPaths>
#include <list>
#include <optional>

#include <csignal>
#include <sys/prctl.h>

namespace vendrel::test {

// A D-Bus daemon of the test's own that holds only what the test puts on it
// (no service is started on demand, whatever this machine has installed),
// and the programs the test runs on it. All end with the test, and with the
// test program should that be killed.
class PrivateBus {
public:
    ~PrivateBus()
    {
        for (auto process = processes_.rbegin(); process != processes_.rend(); ++process) {
            process->kill();
            process->waitForFinished();
        }
    }

    // Why no bus could be had, for VENDREL_REQUIRE_PREREQUISITE; nullopt once it runs.
    std::optional<QString> start()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return QStringLiteral("no dbus-daemon (package dbus-daemon)");
        const QString config = folder_.createFile(
            QStringLiteral("bus.conf"),
            "<busconfig><type>session</type><listen>unix:dir=" + folder_.path().toUtf8()
                + "</listen><policy context=\"default\"><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                  "<allow own=\"*\"/></policy></busconfig>");
        QProcess &bus = run(daemon, {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                                     QStringLiteral("--print-address")});
        if (!bus.waitForReadyRead(10'000)) {
            ADD_FAILURE() << "dbus-daemon did not start: " << bus.readAllStandardError().toStdString();
            return QStringLiteral("no bus");
        }
        address_ = QString::fromUtf8(bus.readLine().trimmed());
        return std::nullopt;
    }

    QString address() const { return address_; }

    // Starts a program that finds this bus as its session bus; it runs on return.
    QProcess &run(const QString &program, const QStringList &arguments,
                  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess &process = processes_.emplace_back();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
        process.setProcessEnvironment(environment);
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process.start(program, arguments);
        process.waitForStarted();
        return process;
    }

private:
    TempFolder folder_;
    std::list<QProcess> processes_;
    QString address_;
};

} // namespace vendrel::test
