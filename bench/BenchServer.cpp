#include "BenchServer.h"

#include <QFile>
#include <cstdio>

namespace vendrel::bench {

bool BenchServer::start(const QString &root, const QString &logFile)
{
    QStringList arguments{QStringLiteral(VENDREL_SOURCE_DIR "/tests/support/ftp_server.py"), QStringLiteral("--root"), root};
    if (!logFile.isEmpty())
        arguments << QStringLiteral("--log") << logFile;
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
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

} // namespace vendrel::bench
