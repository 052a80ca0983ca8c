#include "BenchServer.h"

#include <QFile>
#include <cstdio>
#include <unistd.h>

namespace vendrel::bench {

bool BenchServer::start(const QString &root, const QString &logFile)
{
    QStringList arguments{QStringLiteral(VENDREL_SOURCE_DIR "/tests/support/ftp_server.py"), QStringLiteral("--root"), root};
    if (!logFile.isEmpty())
        arguments << QStringLiteral("--log") << logFile;
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(30000)) {
        std::fprintf(stderr, "the FTP server did not start\n");
        return false;
    }
    port_ = static_cast<quint16>(process_.readLine().trimmed().toUInt());
    return port_ != 0;
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

double millisecondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return 0;
    // Field 22, counted after the command name, which may hold blanks.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    const double upSeconds = uptime.readAll().split(' ').first().toDouble();
    return (upSeconds - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

} // namespace vendrel::bench
