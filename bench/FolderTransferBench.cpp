// Receives a server folder of many small files (default 10,000 of 1 to 4 KiB
// in 10 sub-folders) through the folder command's collector and the real
// download engine, the transfer window alive, and in the same run fetches
// the same files with curl's own tool, one by one in one process (every URL
// in one config file, so one login serves them all), from the same
// pyftpdlib on loopback. Reports files per second for both, rounds
// alternating who goes first, and how our time splits between collecting
// the tree and moving the files.
// Usage: bench_folder_transfer [files] [rounds]   (default: 10000, 3)
#include "BenchServer.h"

#include "session/ftp/CurlFtpService.h"
#include "transfer/FolderBatch.h"
#include "transfer/FrmProg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTime>
#include <cstdio>
#include <vector>

using namespace vendrel;

namespace {

constexpr int Folders = 10;

// The tree "arbre/dNN/fNNNNN.bin" under served, made once and reused; the
// relative names of its files.
QStringList makeTree(const QString &served, int files)
{
    QStringList names;
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("arbre/d%1/f%2.bin")
                                 .arg(i % Folders, 2, 10, QLatin1Char('0'))
                                 .arg(i, 5, 10, QLatin1Char('0'));
        names.append(name);
        QFile file(served + name);
        const qint64 size = 1024 + (qint64(i) * 797) % 3073;
        if (file.exists() && file.size() == size)
            continue;
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(size, char('a' + i % 26)));
    }
    return names;
}

struct Round {
    double ours = 0, collect = 0, curl = 0;
    double oursIdle = 0, curlIdle = 0;
};

// Milliseconds the server spent waiting, per file, between each final reply
// and the client's next command: the client's own cost, read from the
// server's log written since offset.
double clientMsPerFile(const QString &logPath, qint64 offset, int files)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly) || !log.seek(offset))
        return -1;
    const auto timeOf = [](const QByteArray &line) {
        return QTime::fromString(QString::fromLatin1(line.left(12)), QStringLiteral("HH:mm:ss.zzz"));
    };
    double idle = 0;
    QTime finished;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (line.contains("] -> ") && !line.contains("] -> 1")) {
            finished = timeOf(line);
        } else if (line.contains("] <- ") && finished.isValid()) {
            idle += finished.msecsTo(timeOf(line));
            finished = {};
        }
    }
    return idle / files;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int files = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int rounds = argc > 2 ? QByteArray(argv[2]).toInt() : 3;

    const QString root = QDir::temp().filePath(QStringLiteral("vendrel-bench-folders-%1").arg(files));
    const QString served = root + QStringLiteral("/served/");
    const QString ourTarget = root + QStringLiteral("/ours/");
    const QString curlTarget = root + QStringLiteral("/curl/");
    const QStringList names = makeTree(served, files);

    const QString logPath = root + QStringLiteral("/server.log");
    bench::BenchServer server;
    if (!server.start(served, logPath))
        return 1;
    const QString url = server.url();
    const QString config = root + QStringLiteral("/curl.config");
    {
        QFile out(config);
        out.open(QIODevice::WriteOnly);
        for (const QString &name : names)
            out.write(QStringLiteral("url = \"%1%2\"\noutput = \"%3%2\"\n").arg(url, name, curlTarget).toUtf8());
    }

    bench::BenchSession bench;
    if (!bench.open(server.port(), ourTarget))
        return 1;
    SessionState &session = bench.session;
    CurlFtpService &ftp = bench.ftp;
    const SessionContext context = bench.context();

    const auto logSize = [&logPath] { return QFileInfo(logPath).size(); };
    const auto runOurs = [&](Round &round) {
        QDir(ourTarget).removeRecursively();
        const qint64 logStart = logSize();
        QDir().mkpath(ourTarget);
        bench.txtInfo.clear();
        QElapsedTimer timer;
        timer.start();
        FolderCollection collected =
            collectRemoteFolder(ftp, session.ConnectionHandle, QStringLiteral("/arbre/"), session.LocalFolder);
        round.collect = double(timer.nsecsElapsed()) / 1e9;
        if (collected.batch.count() != files) {
            std::fprintf(stderr, "collected %d files\n", int(collected.batch.count()));
            std::exit(1);
        }
        FrmProg window(context);
        window.setBatch(std::move(collected.batch));
        window.show();
        window.Command3_Click();
        round.ours = double(timer.nsecsElapsed()) / 1e9;
        round.oursIdle = clientMsPerFile(logPath, logStart, files);
        const QStringList &shown = bench.dialogs.shown;
        if (shown.isEmpty() || shown.last() != QStringLiteral("Transfert des données terminé avec succès.")) {
            std::fprintf(stderr, "the run failed: %s\n", qPrintable(shown.value(shown.size() - 1)));
            std::exit(1);
        }
    };
    const auto runCurl = [&](Round &round) {
        QDir(curlTarget).removeRecursively();
        const qint64 logStart = logSize();
        QElapsedTimer timer;
        timer.start();
        QProcess curl;
        curl.start(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-S"), QStringLiteral("--ftp-pasv"),
                                            QStringLiteral("--create-dirs"), QStringLiteral("-K"), config});
        if (!curl.waitForFinished(3'600'000) || curl.exitCode() != 0) {
            std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
            std::exit(1);
        }
        round.curl = double(timer.nsecsElapsed()) / 1e9;
        round.curlIdle = clientMsPerFile(logPath, logStart, files);
    };

    std::vector<double> ours, collect, curl, oursIdle, curlIdle;
    for (int index = 0; index < rounds; ++index) {
        Round round;
        if (index % 2 == 0) {
            runOurs(round);
            runCurl(round);
        } else {
            runCurl(round);
            runOurs(round);
        }
        ours.push_back(round.ours);
        collect.push_back(round.collect);
        curl.push_back(round.curl);
        oursIdle.push_back(round.oursIdle);
        curlIdle.push_back(round.curlIdle);
        std::printf("round %d: Vendrel %.2f s (%.0f files/s, collecting %.3f s, %.1f ms a file waited on by the "
                    "server), curl %.2f s (%.0f files/s, %.1f ms)\n",
                    index + 1, round.ours, files / round.ours, round.collect, round.oursIdle, round.curl,
                    files / round.curl, round.curlIdle);
        std::fflush(stdout);
    }
    const double oursMedian = bench::median(ours), curlMedian = bench::median(curl);
    std::printf("%d files in %d folders: Vendrel %.0f files/s (collecting %.3f s), curl %.0f files/s; "
                "Vendrel/curl speed %.2f; the server waited on the client %.1f ms a file (curl %.1f ms)\n",
                files, Folders, files / oursMedian, bench::median(collect), files / curlMedian, curlMedian / oursMedian,
                bench::median(oursIdle), bench::median(curlIdle));
    ftp.InternetCloseHandle(session.ConnectionHandle);
    ftp.InternetCloseHandle(session.InternetHandle);
    return 0;
}
