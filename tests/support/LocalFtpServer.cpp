#include "support/LocalFtpServer.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace vendrel::test {

namespace {

const QString python = u"/usr/bin/python3"_s;

} // namespace

std::optional<QString> LocalFtpServer::missingPrerequisite()
{
    static const std::optional<QString> missing = []() -> std::optional<QString> {
        QProcess probe;
        probe.start(python, {u"-c"_s, u"import pyftpdlib"_s});
        if (probe.waitForFinished(20'000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return std::nullopt;
        return u"no pyftpdlib for %1 (Debian package python3-pyftpdlib)"_s.arg(python);
    }();
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
    const QString script = QStringLiteral(VENDREL_TEST_SUPPORT_DIR "/ftp_server.py");
    QStringList arguments{script, u"--root"_s, files_.path(), u"--log"_s, scratch_.filePath(u"commands.log"_s)};
    arguments << u"--idle-timeout"_s << QString::number(options.idleTimeoutSeconds);
    const auto add = [&arguments](const QString &option, const QString &value) {
        if (!value.isEmpty())
            arguments << option << value;
    };
    if (!options.mlsd)
        arguments << u"--no-mlsd"_s;
    if (!options.mfmt)
        arguments << u"--no-mfmt"_s;
    if (options.noConnectBack)
        arguments << u"--no-connect-back"_s;
    add(u"--throttle"_s, options.bytesPerSecond > 0 ? QString::number(options.bytesPerSecond) : QString());
    add(u"--endless-listing"_s, options.endlessListing);
    add(u"--extra-bytes"_s, options.extraBytes > 0 ? QString::number(options.extraBytes) : QString());
    add(u"--cut-first-download"_s, options.cutFirstDownload > 0 ? QString::number(options.cutFirstDownload) : QString());
    add(u"--lost-reply"_s, options.lostReply);
    add(u"--closing-421"_s, options.closing421);
    add(u"--silent"_s, options.silent);

    const QString errors = scratch_.filePath(u"stderr.txt"_s);
    process_.setStandardErrorFile(errors);
    process_.start(python, arguments);
    QByteArray firstLine;
    while (!firstLine.endsWith('\n') && process_.waitForReadyRead(20'000))
        firstLine += process_.readLine();
    port_ = firstLine.trimmed().toUShort();
    if (port_ != 0)
        return true;
    QFile errorFile(errors);
    errorFile.open(QIODevice::ReadOnly);
    failure_ = u"the server did not start: "_s + QString::fromUtf8(errorFile.readAll());
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
    QFile file(scratch_.filePath(u"commands.log"_s));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace vendrel::test
