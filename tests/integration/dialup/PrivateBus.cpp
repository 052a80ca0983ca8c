#include "integration/dialup/PrivateBus.h"

#include <QFile>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>

using namespace Qt::StringLiterals;

namespace vendrel::test {

namespace {

QString daemonProgram() { return QStandardPaths::findExecutable(u"dbus-daemon"_s); }

// Anyone on this bus may own any name and call anything: it only ever holds
// the test and its stand-in services.
QByteArray configuration(const QString &socketFolder)
{
    return R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=)" + socketFolder.toUtf8() + R"(</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";
}

} // namespace

std::optional<QString> PrivateBus::missingPrerequisite()
{
    if (daemonProgram().isEmpty())
        return u"no dbus-daemon on PATH (Debian package dbus-daemon)"_s;
    return std::nullopt;
}

PrivateBus::~PrivateBus()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5'000)) {
        process_.kill();
        process_.waitForFinished(5'000);
    }
}

bool PrivateBus::start()
{
    const QString configFile = folder_.createFile(u"bus.conf"_s, configuration(folder_.createDir(u"socket"_s)));
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.setStandardErrorFile(folder_.filePath(u"stderr.txt"_s));
    process_.start(daemonProgram(), {u"--nofork"_s, u"--print-address"_s, u"--config-file="_s + configFile});
    QByteArray firstLine;
    while (!firstLine.endsWith('\n') && process_.waitForReadyRead(20'000))
        firstLine += process_.readLine();
    address_ = QString::fromUtf8(firstLine.trimmed());
    if (!address_.isEmpty())
        return true;
    QFile errors(folder_.filePath(u"stderr.txt"_s));
    errors.open(QIODevice::ReadOnly);
    failure_ = u"dbus-daemon did not start: "_s + QString::fromUtf8(errors.readAll());
    return false;
}

} // namespace vendrel::test
