#include "support/LocalFtpServer.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vendrel::test {

namespace {

const QString python = u"/usr/bin/python3"_s;

QString serverScript()
{
    return QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + u"/ftp_server.py"_s;
}

std::optional<QString> findMissingPrerequisite()
{
    if (!QFileInfo(python).isExecutable())
        return u"no %1 on this machine"_s.arg(python);
    QProcess probe;
    probe.start(python, {u"-c"_s, u"import pyftpdlib"_s});
    if (!probe.waitForFinished(20'000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return u"pyftpdlib is not installed for %1 (Debian package python3-pyftpdlib)"_s.arg(python);
    return std::nullopt;
}

} // namespace

std::optional<QString> LocalFtpServer::missingPrerequisite()
{
    static const std::optional<QString> missing = findMissingPrerequisite();
    return missing;
}

LocalFtpServer::~LocalFtpServer()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.closeWriteChannel(); // the server ends when its stdin closes
    if (!process_.waitForFinished(5'000))
        kill();
}

bool LocalFtpServer::start(const Options &options)
{
    QStringList arguments{serverScript(),
                          u"--root"_s, files_.path(),
                          u"--port"_s, u"0"_s,
                          u"--idle-timeout"_s, QString::number(options.idleTimeoutSeconds),
                          u"--log"_s, scratch_.filePath(u"commands.log"_s)};
    if (!options.mlsd)
        arguments << u"--no-mlsd"_s;
    if (options.bytesPerSecond > 0)
        arguments << u"--throttle"_s << QString::number(options.bytesPerSecond);
    if (options.endlessListing)
        arguments << u"--endless-listing"_s;
    if (options.cutAfter >= 0)
        arguments << u"--cut-after"_s << QString::number(options.cutAfter);
    if (options.extraBytes > 0)
        arguments << u"--extra-bytes"_s << QString::number(options.extraBytes);
    if (!options.lostReply.isEmpty())
        arguments << u"--lost-reply"_s << options.lostReply;
    if (!options.closing421.isEmpty())
        arguments << u"--closing-421"_s << options.closing421;
    if (options.noConnectBack)
        arguments << u"--no-connect-back"_s;
    if (!options.pwdReply.isEmpty())
        arguments << u"--pwd-reply"_s << options.pwdReply;
    process_.setStandardErrorFile(scratch_.filePath(u"stderr.txt"_s));
    process_.start(python, arguments);
    QByteArray firstLine;
    while (!firstLine.endsWith('\n') && process_.waitForReadyRead(20'000))
        firstLine += process_.readLine();
    bool ok = false;
    port_ = firstLine.trimmed().toUShort(&ok);
    if (ok && port_ != 0)
        return true;
    QFile errors(scratch_.filePath(u"stderr.txt"_s));
    errors.open(QIODevice::ReadOnly);
    failure_ = u"the FTP server did not start: "_s + QString::fromUtf8(errors.readAll());
    kill();
    return false;
}

void LocalFtpServer::kill()
{
    process_.kill();
    process_.waitForFinished(5'000);
}

QByteArray LocalFtpServer::commandLog() const
{
    QFile log(scratch_.filePath(u"commands.log"_s));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

} // namespace vendrel::test
