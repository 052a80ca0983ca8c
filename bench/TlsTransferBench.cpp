// 1 GiB each way over explicit FTPS through the libcurl service, in the
// transfer engine's 1024-byte calls, against curl's own tool (--ssl-reqd) on
// the same vsftpd in the same run, alternating who goes first. Times cover
// the login too, on both sides. Needs root (vsftpd); run by hand:
//   build/bench/bench_tls_transfer [MiB] [rounds]

#include "VsftpdServer.h"

#include "session/ftp/CurlFtpService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vendrel;
using test::VsftpdServer;

namespace {

// The bench's own server, with a certificate it made: taken as it is.
struct TrustTheBenchServer final : CertificateTrust {
    bool trusts(const ServerCertificate &) override { return true; }
};

bool writeRandomFile(const QString &path, qint64 mebibytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1024 * 1024, Qt::Uninitialized);
    for (qint64 i = 0; i < mebibytes; ++i) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        file.write(block);
    }
    return file.error() == QFileDevice::NoError;
}

// Connects, moves the file through 1024-byte calls, closes: the whole run.
bool transferOurs(quint16 port, const QString &remote, const QString &local, bool download)
{
    TrustTheBenchServer trust;
    CurlFtpService ftp({}, nullptr, &trust);
    const FtpHandle internet = ftp.InternetOpen(QStringLiteral("bench"), ftp::INTERNET_OPEN_TYPE_DIRECT, {}, {}, 0);
    const FtpHandle connection =
        ftp.InternetConnect(internet, QStringLiteral("127.0.0.1"), port, QString::fromLatin1(VsftpdServer::user),
                            QString::fromLatin1(VsftpdServer::password()), ftp::INTERNET_SERVICE_FTP,
                            ftp::INTERNET_FLAG_PASSIVE | ftp::INTERNET_FLAG_SECURE, 0);
    QFile file(local);
    if (connection == 0 || !file.open(download ? QIODevice::WriteOnly : QIODevice::ReadOnly))
        return false;
    const FtpHandle remoteFile = ftp.FtpOpenFile(connection, remote, download ? ftp::GENERIC_READ : ftp::GENERIC_WRITE,
                                                 ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    char block[1024];
    quint32 count = 0;
    bool ok = remoteFile != 0;
    while (ok) {
        if (download) {
            ok = ftp.InternetReadFile(remoteFile, block, sizeof block, count) && file.write(block, count) == count;
        } else {
            count = quint32(file.read(block, sizeof block));
            ok = count == 0 || ftp.InternetWriteFile(remoteFile, block, count, count);
        }
        if (count == 0)
            break;
    }
    return ftp.InternetCloseHandle(remoteFile) && ok;
}

bool transferWithCurl(quint16 port, const QString &remote, const QString &local, bool download)
{
    const QString url = QStringLiteral("ftp://127.0.0.1:%1%2").arg(port).arg(remote);
    QStringList arguments{
        QStringLiteral("--ssl-reqd"), QStringLiteral("-k"), QStringLiteral("-s"), QStringLiteral("-u"),
        QString::fromLatin1(VsftpdServer::user) + u':' + QString::fromLatin1(VsftpdServer::password())};
    arguments << (download ? QStringLiteral("-o") : QStringLiteral("-T")) << local << url;
    return QProcess::execute(QStringLiteral("curl"), arguments) == 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 mebibytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1024;
    const int rounds = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    if (const std::optional<QString> missing = VsftpdServer::missingPrerequisite()) {
        std::fprintf(stderr, "%s\n", qPrintable(*missing));
        return 1;
    }
    VsftpdServer server;
    const quint16 port = server.start(VsftpdServer::Tls::Explicit);
    const QString served = server.root() + QStringLiteral("/big.bin");
    const QString local = server.root() + QStringLiteral("/../send.bin");
    if (port == 0 || !writeRandomFile(served, mebibytes) || !writeRandomFile(local, mebibytes)) {
        std::fprintf(stderr, "no server or no files: %s\n", qPrintable(server.failureReason()));
        return 1;
    }
    const QString received = server.root() + QStringLiteral("/../received.bin");

    using Transfer = std::function<bool(quint16, const QString &, const QString &, bool)>;
    struct Side {
        const char *name;
        Transfer run;
        std::vector<double> seconds[2]; // download, upload
    } sides[] = {{"vendrel", transferOurs, {}}, {"curl   ", transferWithCurl, {}}};

    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            Side &side = sides[(round + turn) % 2];
            for (const bool download : {true, false}) {
                QFile::remove(received);
                QFile::remove(server.root() + QStringLiteral("/up.bin"));
                QElapsedTimer clock;
                clock.start();
                const bool ok = download ? side.run(port, QStringLiteral("/big.bin"), received, true)
                                         : side.run(port, QStringLiteral("/up.bin"), local, false);
                if (!ok
                    || QFileInfo(download ? received : server.root() + QStringLiteral("/up.bin")).size()
                           != mebibytes * 1024 * 1024) {
                    std::fprintf(stderr, "%s: the %s failed\n", side.name, download ? "download" : "upload");
                    return 1;
                }
                side.seconds[download ? 0 : 1].push_back(double(clock.nsecsElapsed()) / 1e9);
            }
        }
    }
    std::printf("%lld MiB over explicit FTPS (vsftpd, TLS 1.3), median of %d rounds, seconds:\n", mebibytes, rounds);
    for (const Side &side : sides)
        std::printf("  %s  download %.2f  upload %.2f\n", side.name, median(side.seconds[0]), median(side.seconds[1]));
    return 0;
}
