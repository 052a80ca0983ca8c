#include "BenchServer.h"

#include "session/SessionState.h"
#include "session/ftp/FtpService.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace vendrel::bench {

bool BenchServer::start(const QString &root, const QString &logFile)
{
    QStringList arguments{QStringLiteral(VENDREL_SOURCE_DIR "/tests/support/ftp_server.py"), QStringLiteral("--root"),
                          root};
    if (!logFile.isEmpty()) {
        QFile::remove(logFile);
        arguments << QStringLiteral("--log") << logFile;
    }
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(30000)) {
        std::fprintf(stderr, "the FTP server did not start\n");
        return false;
    }
    port_ = static_cast<quint16>(process_.readLine().trimmed().toUInt());
    return port_ != 0;
}

namespace {

// The fields of /proc/<process>/stat after the command name, which may hold
// blanks: the first is the state (field 3).
QList<QByteArray> statFields(const QString &process)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ');
}

double ticksToSeconds(const QByteArray &ticks)
{
    return ticks.toDouble() / double(sysconf(_SC_CLK_TCK));
}

} // namespace

double BenchServer::cpuSeconds() const
{
    const QList<QByteArray> fields = statFields(QString::number(process_.processId()));
    return ticksToSeconds(fields.value(11)) + ticksToSeconds(fields.value(12)); // utime, stime
}

StallMeter::StallMeter()
{
    clock_.start();
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    });
}

void StallMeter::start()
{
    longest_ = 0;
    last_ = clock_.nsecsElapsed();
    timer_.start();
}

double StallMeter::stopMs()
{
    timer_.stop();
    return double(std::max(longest_, clock_.nsecsElapsed() - last_)) / 1e6;
}

QString folderOfFiles(const QString &prefix, int files)
{
    const QString root = QDir::temp().filePath(prefix + QString::number(files));
    QDir dir(root);
    if (dir.exists() && int(dir.entryList(QDir::Files).size()) == files)
        return root;
    dir.mkpath(root);
    for (int i = 0; i < files; ++i) {
        QFile file(dir.filePath(QStringLiteral("fichier-%1.txt").arg(i, 6, 10, QLatin1Char('0'))));
        if (file.open(QIODevice::WriteOnly))
            file.write("x", i % 7);
    }
    return root;
}

bool openSession(FtpService &ftp, SessionState &session, quint16 port)
{
    session.InternetHandle = ftp.InternetOpen(QStringLiteral("bench"), ftp::INTERNET_OPEN_TYPE_DIRECT, {}, {}, 0);
    session.ConnectionHandle =
        ftp.InternetConnect(session.InternetHandle, QStringLiteral("127.0.0.1"), port, QStringLiteral("vendrel"),
                            QStringLiteral("secret"), ftp::INTERNET_SERVICE_FTP, ftp::INTERNET_FLAG_PASSIVE, 0);
    return session.ConnectionHandle != 0;
}

bool BenchSession::open(quint16 port, const QString &localFolder)
{
    if (!openSession(ftp, session, port))
        return false;
    session.TransferType = ftp::FTP_TRANSFER_TYPE_BINARY;
    session.LocalFolder = localFolder;
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!uptime.open(QIODevice::ReadOnly))
        return 0;
    const double startSeconds = ticksToSeconds(statFields(QStringLiteral("self")).value(19)); // field 22
    const double upSeconds = uptime.readAll().split(' ').first().toDouble();
    return (upSeconds - startSeconds) * 1000.0;
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval &time) { return double(time.tv_sec) + double(time.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace vendrel::bench
