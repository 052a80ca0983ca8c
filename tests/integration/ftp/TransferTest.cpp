#include "CurlFtpFixture.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace vendrel::test {
namespace {

using TransferTest = CurlFtpFixture;

TEST_F(TransferTest, WhatTheServerRefusesIsNotOpenedAndAnOpenFileIsTheOnlyCallUntilClosed)
{
    ASSERT_TRUE(server.start());
    server.files().createFile(u"public.txt"_s, "lisible");
    server.files().createDir(u"folder"_s);
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    for (const char *refused : {"/missing.txt", "/folder"})
        EXPECT_EQ(ftp.FtpOpenFile(connection, QString::fromLatin1(refused), ftp::GENERIC_READ,
                                  ftp::FTP_TRANSFER_TYPE_ASCII, 0),
                  0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_EQ(ftp.FtpOpenFile(connection, u"/nowhere/new.txt"_s, ftp::GENERIC_WRITE, ftp::FTP_TRANSFER_TYPE_BINARY, 0),
              0u);
    EXPECT_EQ(loginCount(), 1) << "refusals keep the control connection";

    const FtpHandle file =
        ftp.FtpOpenFile(connection, u"/public.txt"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    ASSERT_NE(file, 0u);
    EXPECT_EQ(ftp.FtpOpenFile(connection, u"/public.txt"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0), 0u);
    EXPECT_FALSE(ftp.FtpCreateDirectory(connection, u"/b"_s));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_FTP_TRANSFER_IN_PROGRESS);
    quint32 count = 0;
    EXPECT_FALSE(ftp.InternetWriteFile(file, "x", 1, count));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    char block[16];
    EXPECT_FALSE(ftp.InternetReadFile(connection, block, sizeof block, count));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_HANDLE);
    EXPECT_TRUE(ftp.InternetCloseHandle(file));
    EXPECT_FALSE(ftp.InternetReadFile(file, block, sizeof block, count));
    EXPECT_TRUE(ftp.FtpCreateDirectory(connection, u"/b"_s));
}

// In ASCII both ends translate line ends: the server sends a bare LF as
// CR LF and stores CR LF as LF, libcurl does the reverse on this side. A CR
// of the file's own does not survive the way down. Binary, byte-exact, is
// the transfer engine's server test.
TEST_F(TransferTest, AsciiTranslatesLineEnds)
{
    const FtpHandle connection = startAndConnect();
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"text.txt"_s, "line 1\nline 2\r\nend\n");
    EXPECT_EQ(download(connection, u"/text.txt"_s, ftp::FTP_TRANSFER_TYPE_ASCII), QByteArray("line 1\nline 2\nend\n"));
    ASSERT_TRUE(upload(connection, u"/ascii.txt"_s, "a\nb\n", ftp::FTP_TRANSFER_TYPE_ASCII));
    EXPECT_EQ(server.files().read(u"ascii.txt"_s), QByteArray("a\nb\n"));
    // On the wire the ASCII copies were longer by a CR per bare LF.
    EXPECT_TRUE(serverLogs("text.txt completed=1 bytes=21 "));
    EXPECT_TRUE(serverLogs("ascii.txt completed=1 bytes=6 "));
}

TEST_F(TransferTest, AServerStoppedInTheMiddleOfADownloadMakesTheReadFailInEitherType)
{
    for (const quint32 type : {ftp::FTP_TRANSFER_TYPE_BINARY, ftp::FTP_TRANSFER_TYPE_ASCII}) {
        LocalFtpServer killed;
        ASSERT_TRUE(killed.start());
        QFile big(killed.files().createFile(u"big.iso"_s));
        ASSERT_TRUE(big.resize(256 * 1024 * 1024));
        const FtpHandle file =
            ftp.FtpOpenFile(connectWith(ftp, killed.port()), u"/big.iso"_s, ftp::GENERIC_READ, type, 0);
        ASSERT_NE(file, 0u);
        char block[1024];
        quint32 count = 0;
        ASSERT_TRUE(ftp.InternetReadFile(file, block, sizeof block, count));
        killed.kill();
        qint64 blocks = 0;
        while (ftp.InternetReadFile(file, block, sizeof block, count)) {
            ASSERT_EQ(count, 1024u) << "a broken transfer must not end like a short file";
            ++blocks;
        }
        EXPECT_NE(ftp.lastError().code, 0);
        EXPECT_LT(blocks, 256 * 1024);
        EXPECT_TRUE(ftp.InternetCloseHandle(file));
    }
}

TEST_F(TransferTest, TheTimeSetOnAFileIsTheTimeReadBack)
{
    const FtpHandle connection = startAndConnect();
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"a.bin"_s, "a");
    const QDateTime then(QDate(2019, 5, 6), QTime(7, 8, 9), Qt::UTC);
    ASSERT_TRUE(ftp.FtpSetFileTime(connection, u"/a.bin"_s, then));
    QDateTime read;
    ASSERT_TRUE(ftp.FtpGetFileTime(connection, u"/a.bin"_s, read));
    EXPECT_EQ(read, then);
    EXPECT_FALSE(ftp.FtpGetFileTime(connection, u"/missing.bin"_s, read));
}

TEST_F(TransferTest, AServerWithoutMfmtIsSentNoTimeAndNothingElseFails)
{
    LocalFtpServer::Options options;
    options.mfmt = false;
    ASSERT_TRUE(server.start(options));
    server.files().createFile(u"a.txt"_s, "a");
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    EXPECT_FALSE(ftp.FtpSetFileTime(connection, u"/a.txt"_s, QDateTime::currentDateTimeUtc()));
    EXPECT_FALSE(ftp.FtpSetFileTime(connection, u"/a.txt"_s, QDateTime::currentDateTimeUtc()));
    EXPECT_EQ(server.commandLog().count("<- FEAT"), 1) << "asked once a connection";
    EXPECT_FALSE(server.commandLog().contains("MFMT"));
    EXPECT_EQ(download(connection, u"/a.txt"_s), QByteArray("a"));
}

TEST_F(TransferTest, ActiveModeListsAndTransfersToo)
{
    ASSERT_TRUE(server.start());
    server.files().createFile(u"a.txt"_s, "actif");
    const FtpHandle connection = connect(u"vendrel"_s, u"secret"_s, ftp::INTERNET_FLAG_EXISTING_CONNECT);
    ASSERT_NE(connection, 0u);
    EXPECT_EQ(names(connection, u"/*.*"_s), QStringList{u"a.txt"_s});
    EXPECT_EQ(download(connection, u"/a.txt"_s), QByteArray("actif"));
    EXPECT_TRUE(upload(connection, u"/b.txt"_s, "retour"));
    EXPECT_EQ(server.files().read(u"b.txt"_s), QByteArray("retour"));
    const QByteArray log = server.commandLog();
    EXPECT_TRUE(log.contains("<- EPRT") || log.contains("<- PORT"));
    EXPECT_FALSE(log.contains("<- EPSV") || log.contains("<- PASV"));
}

} // namespace
} // namespace vendrel::test
