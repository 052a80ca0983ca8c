#include "CurlFtpFixture.h"

#include <QElapsedTimer>
#include <QThread>

using namespace Qt::StringLiterals;

namespace vendrel::test {

FtpHandle CurlFtpFixture::startAndConnect(const LocalFtpServer::Options &options)
{
    EXPECT_TRUE(server.start(options)) << server.failureReason().toStdString();
    return connect();
}

FtpHandle CurlFtpFixture::connect(const QString &user, const QString &password, quint32 flags)
{
    return ftp.InternetConnect(internet, u"127.0.0.1"_s, server.port(), user, password, ftp::INTERNET_SERVICE_FTP,
                               flags, 0);
}

FtpHandle CurlFtpFixture::connectWith(CurlFtpService &service, quint16 port)
{
    const FtpHandle session = service.InternetOpen(u"t"_s, ftp::INTERNET_OPEN_TYPE_DIRECT, {}, {}, 0);
    return service.InternetConnect(session, u"127.0.0.1"_s, port, QString::fromUtf8(LocalFtpServer::user),
                                   QString::fromUtf8(LocalFtpServer::password), ftp::INTERNET_SERVICE_FTP,
                                   ftp::INTERNET_FLAG_PASSIVE, 0);
}

std::vector<FindData> CurlFtpFixture::list(FtpHandle connection, const QString &searchSpec)
{
    std::vector<FindData> entries;
    FindData record;
    const FtpHandle find = ftp.FtpFindFirstFile(connection, searchSpec, record, 0x84000000, 0);
    if (find == 0)
        return entries;
    do
        entries.push_back(record);
    while (ftp.InternetFindNextFile(find, record));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_NO_MORE_FILES);
    EXPECT_TRUE(ftp.InternetCloseHandle(find));
    return entries;
}

QStringList CurlFtpFixture::names(FtpHandle connection, const QString &searchSpec)
{
    QStringList names;
    for (const FindData &entry : list(connection, searchSpec))
        names.append(entry.name);
    names.sort();
    return names;
}

std::optional<QByteArray> CurlFtpFixture::download(FtpHandle connection, const QString &path, quint32 type)
{
    const FtpHandle file = ftp.FtpOpenFile(connection, path, ftp::GENERIC_READ, type, 0);
    if (file == 0)
        return std::nullopt;
    QByteArray received;
    char block[1024];
    quint32 count = 0;
    bool ok = true;
    do {
        ok = ftp.InternetReadFile(file, block, sizeof block, count);
        received.append(block, count);
    } while (ok && count == sizeof block);
    // A short block ends the file: the next read must say so too.
    if (ok && count > 0) {
        EXPECT_TRUE(ftp.InternetReadFile(file, block, sizeof block, count));
        EXPECT_EQ(count, 0u);
    }
    EXPECT_TRUE(ftp.InternetCloseHandle(file));
    return ok ? std::optional(received) : std::nullopt;
}

bool CurlFtpFixture::upload(FtpHandle connection, const QString &path, const QByteArray &data, quint32 type)
{
    const FtpHandle file = ftp.FtpOpenFile(connection, path, ftp::GENERIC_WRITE, type, 0);
    if (file == 0)
        return false;
    quint32 written = 0;
    qsizetype sent = 0;
    do { // an empty file too is one write
        const auto block = quint32(std::min<qsizetype>(1024, data.size() - sent));
        if (!ftp.InternetWriteFile(file, data.constData() + sent, block, written)) {
            ftp.InternetCloseHandle(file);
            return false;
        }
        sent += block;
    } while (sent < data.size());
    return ftp.InternetCloseHandle(file);
}

bool CurlFtpFixture::serverLogs(const QByteArray &text) const
{
    QElapsedTimer clock;
    clock.start();
    while (!server.commandLog().contains(text)) {
        if (clock.elapsed() > 1000)
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace vendrel::test
