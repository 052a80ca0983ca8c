#include "support/PythonServerProcess.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vendrel::test {

namespace {

const QString python = u"/usr/bin/python3"_s;

} // namespace

std::optional<QString> PythonServerProcess::missingPrerequisite(const QString &module, const QString &debianPackage)
{
    if (!QFileInfo(python).isExecutable())
        return u"no %1 on this machine"_s.arg(python);
    QProcess probe;
    probe.start(python, {u"-c"_s, u"import "_s + module});
    if (!probe.waitForFinished(20'000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return u"%1 is not installed for %2 (Debian package %3)"_s.arg(module, python, debianPackage);
    return std::nullopt;
}

PythonServerProcess::~PythonServerProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.closeWriteChannel(); // the server ends when its stdin closes
    if (!process_.waitForFinished(5'000))
        kill();
}

quint16 PythonServerProcess::start(const QString &script, const QStringList &arguments)
{
    const QString errors = scratch_.filePath(u"stderr.txt"_s);
    process_.setStandardErrorFile(errors);
    process_.start(python, QStringList{script} + arguments);
    QByteArray firstLine;
    while (!firstLine.endsWith('\n') && process_.waitForReadyRead(20'000))
        firstLine += process_.readLine();
    bool ok = false;
    const quint16 port = firstLine.trimmed().toUShort(&ok);
    if (ok && port != 0)
        return port;
    QFile errorFile(errors);
    errorFile.open(QIODevice::ReadOnly);
    failure_ = u"the server did not start: "_s + QString::fromUtf8(errorFile.readAll());
    kill();
    return 0;
}

void PythonServerProcess::kill()
{
    process_.kill();
    process_.waitForFinished(5'000);
}

QByteArray PythonServerProcess::log() const
{
    QFile file(logFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString supportFile(const QString &name)
{
    return QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + u'/' + name;
}

} // namespace vendrel::test
