#pragma once

#include "session/ftp/CurlFtpService.h"
#include "session/ftp/FtpErrorCodes.h"
#include "support/LocalServerTest.h"
#include "support/TempFolder.h"

#include <vector>

namespace vendrel::test {

// The libcurl service against a local pyftpdlib. Its queue between the
// threads is small: reads and writes larger than it are the common case.
class CurlFtpFixture : public LocalServerTest {
protected:
    static CurlFtpOptions smallQueue()
    {
        CurlFtpOptions options = shortTimeouts();
        options.transferQueueBytes = 4096;
        return options;
    }

    // Starts the server and logs in; 0 when either failed.
    FtpHandle startAndConnect(const LocalFtpServer::Options &options = {});
    FtpHandle connect(const QString &user = QString::fromUtf8(LocalFtpServer::user),
                      const QString &password = QString::fromUtf8(LocalFtpServer::password),
                      quint32 flags = ftp::INTERNET_FLAG_PASSIVE);
    // A connection of a service of its own, to any port.
    static FtpHandle connectWith(CurlFtpService &service, quint16 port);
    // The names of a listing, sorted; empty when it gave none.
    QStringList names(FtpHandle connection, const QString &searchSpec);
    std::vector<FindData> list(FtpHandle connection, const QString &searchSpec);
    // The file read in 1024-byte blocks; nothing when it could not be opened
    // or a read failed.
    std::optional<QByteArray> download(FtpHandle connection, const QString &path,
                                       quint32 type = ftp::FTP_TRANSFER_TYPE_BINARY);
    // The data written in 1024-byte blocks; true when the server stored it all.
    bool upload(FtpHandle connection, const QString &path, const QByteArray &data,
                quint32 type = ftp::FTP_TRANSFER_TYPE_BINARY);
    // How many times the server saw a login.
    int loginCount() const { return int(server.commandLog().count("<- USER ")); }
    // Whether the server's log comes to hold the text within a second: it
    // may write a line just after its reply.
    bool serverLogs(const QByteArray &text) const;

    CurlFtpService ftp{smallQueue()};
    FtpHandle internet = ftp.InternetOpen(QStringLiteral("Vendrel"), ftp::INTERNET_OPEN_TYPE_DIRECT, {}, {},
                                          ftp::INTERNET_FLAG_NO_CACHE_WRITE);
};

} // namespace vendrel::test
