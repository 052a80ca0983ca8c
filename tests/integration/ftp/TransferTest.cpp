#include "CurlFtpFixture.h"

#include <QElapsedTimer>
#include <QFile>

using namespace Qt::StringLiterals;

namespace vendrel::test {
namespace {

using TransferTest = CurlFtpFixture;

TEST_F(TransferTest, AFewMebibytesGoBothWaysByteExactIn1024ByteBlocks)
{
    ASSERT_TRUE(server.start());
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    const QByteArray data = randomBytes(3 * 1024 * 1024 + 123);

    ASSERT_TRUE(upload(connection, u"/random.bin"_s, data)) << ftp.lastError().description.toStdString();
    EXPECT_EQ(server.files().read(u"random.bin"_s), data);

    const FtpHandle file = ftp.FtpOpenFile(connection, u"/random.bin"_s, ftp::GENERIC_READ,
                                           ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    ASSERT_NE(file, 0u);
    QByteArray received;
    char block[1024];
    quint32 count = 0;
    for (int full = 0; full < 3 * 1024; ++full) {
        ASSERT_TRUE(ftp.InternetReadFile(file, block, sizeof block, count));
        ASSERT_EQ(count, 1024u) << "block " << full;
        received.append(block, count);
    }
    EXPECT_TRUE(ftp.InternetReadFile(file, block, sizeof block, count));
    EXPECT_EQ(count, 123u);
    received.append(block, count);
    EXPECT_TRUE(ftp.InternetReadFile(file, block, sizeof block, count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(ftp.lastError().code, 0);
    EXPECT_TRUE(ftp.InternetCloseHandle(file));
    EXPECT_EQ(received, data);
    EXPECT_EQ(loginCount(), 1);
}

TEST_F(TransferTest, ReadsLargerThanTheQueueAndEmptyFilesWork)
{
    ASSERT_TRUE(server.start());
    const QByteArray data = randomBytes(3 * 1024 * 1024);
    server.files().createFile(u"big.bin"_s, data);
    server.files().createFile(u"empty.bin"_s);
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);

    const FtpHandle file = ftp.FtpOpenFile(connection, u"/big.bin"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    ASSERT_NE(file, 0u);
    QByteArray received(data.size() + 10, '\0');
    quint32 count = 0;
    EXPECT_TRUE(ftp.InternetReadFile(file, received.data(), quint32(received.size()), count));
    EXPECT_EQ(count, quint32(data.size()));
    EXPECT_EQ(received.first(count), data);
    EXPECT_TRUE(ftp.InternetCloseHandle(file));

    EXPECT_EQ(download(connection, u"/empty.bin"_s), QByteArray());
    EXPECT_TRUE(upload(connection, u"/empty copy.bin"_s, QByteArray()));
    EXPECT_TRUE(server.files().exists(u"empty copy.bin"_s));
    EXPECT_EQ(server.files().read(u"empty copy.bin"_s), QByteArray());
}

TEST_F(TransferTest, AFileTheServerRefusesIsNotOpened)
{
    ASSERT_TRUE(server.start());
    server.files().createFile(u"public.txt"_s, "lisible");
    server.files().createDir(u"folder"_s);
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    EXPECT_EQ(ftp.FtpOpenFile(connection, u"/missing.txt"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_EQ(ftp.FtpOpenFile(connection, u"/missing.txt"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_ASCII, 0), 0u);
    EXPECT_EQ(ftp.FtpOpenFile(connection, u"/folder"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0), 0u);
    EXPECT_EQ(ftp.FtpOpenFile(connection, u"/nowhere/new.txt"_s, ftp::GENERIC_WRITE, ftp::FTP_TRANSFER_TYPE_BINARY, 0), 0u);
    EXPECT_EQ(download(connection, u"/public.txt"_s), QByteArray("lisible"));
    EXPECT_EQ(loginCount(), 1); // refusals kept the control connection

    const FtpHandle anonymous = connect(u"anonymous"_s, u"guest@example.com"_s);
    ASSERT_NE(anonymous, 0u);
    EXPECT_EQ(download(anonymous, u"/public.txt"_s), QByteArray("lisible"));
    EXPECT_EQ(ftp.FtpOpenFile(anonymous, u"/new.txt"_s, ftp::GENERIC_WRITE, ftp::FTP_TRANSFER_TYPE_BINARY, 0), 0u);
    EXPECT_FALSE(server.files().exists(u"new.txt"_s));
}

TEST_F(TransferTest, OneFileAtATimeAndOnlyThroughItsHandle)
{
    ASSERT_TRUE(server.start());
    server.files().createFile(u"a.txt"_s, "a");
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    const FtpHandle file = ftp.FtpOpenFile(connection, u"/a.txt"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    ASSERT_NE(file, 0u);
    EXPECT_EQ(ftp.FtpOpenFile(connection, u"/a.txt"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_FTP_TRANSFER_IN_PROGRESS);
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
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(ftp.FtpCreateDirectory(connection, u"/b"_s));
}

// In ASCII both ends translate line ends: the server sends a bare LF as
// CR LF and stores CR LF as LF, libcurl does the reverse on this side. A file
// with LF line ends goes up and comes back the same, though longer on the
// wire; a CR of the file's own does not survive the way down. Binary touches
// nothing.
TEST_F(TransferTest, BinaryIsByteExactAsciiTranslatesLineEnds)
{
    ASSERT_TRUE(server.start());
    const QByteArray text = "line 1\nline 2\r\nend\n";
    server.files().createFile(u"text.txt"_s, text);
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);

    EXPECT_EQ(download(connection, u"/text.txt"_s, ftp::FTP_TRANSFER_TYPE_BINARY), text);
    EXPECT_EQ(download(connection, u"/text.txt"_s, ftp::FTP_TRANSFER_TYPE_ASCII), QByteArray("line 1\nline 2\nend\n"));

    ASSERT_TRUE(upload(connection, u"/binary.txt"_s, text, ftp::FTP_TRANSFER_TYPE_BINARY));
    EXPECT_EQ(server.files().read(u"binary.txt"_s), text);
    ASSERT_TRUE(upload(connection, u"/ascii.txt"_s, "a\nb\n", ftp::FTP_TRANSFER_TYPE_ASCII));
    EXPECT_EQ(server.files().read(u"ascii.txt"_s), QByteArray("a\nb\n"));
    // On the wire the ASCII copies were longer by a CR per bare LF.
    EXPECT_TRUE(serverLogs("text.txt completed=1 bytes=19 "));
    EXPECT_TRUE(serverLogs("text.txt completed=1 bytes=21 "));
    EXPECT_TRUE(serverLogs("ascii.txt completed=1 bytes=6 "));
}

TEST_F(TransferTest, AServerStoppedInTheMiddleOfADownloadMakesTheReadFail)
{
    ASSERT_TRUE(server.start());
    QFile big(server.files().createFile(u"big.iso"_s));
    ASSERT_TRUE(big.resize(256 * 1024 * 1024));
    for (const quint32 type : {ftp::FTP_TRANSFER_TYPE_BINARY, ftp::FTP_TRANSFER_TYPE_ASCII}) {
        if (type == ftp::FTP_TRANSFER_TYPE_ASCII) {
            ASSERT_TRUE(server.start()); // the binary round stopped it
        }
        const FtpHandle connection = connect();
        ASSERT_NE(connection, 0u);
        const FtpHandle file = ftp.FtpOpenFile(connection, u"/big.iso"_s, ftp::GENERIC_READ, type, 0);
        ASSERT_NE(file, 0u);
        char block[1024];
        quint32 count = 0;
        ASSERT_TRUE(ftp.InternetReadFile(file, block, sizeof block, count));
        server.kill();
        qint64 blocks = 0;
        while (ftp.InternetReadFile(file, block, sizeof block, count)) {
            ASSERT_EQ(count, 1024u) << "a broken transfer must not end like a short file";
            ++blocks;
        }
        EXPECT_EQ(count, 0u);
        EXPECT_NE(ftp.lastError().code, 0);
        EXPECT_LT(blocks, 256 * 1024);
        EXPECT_TRUE(ftp.InternetCloseHandle(file));
        EXPECT_TRUE(ftp.InternetCloseHandle(connection));
    }
}

TEST_F(TransferTest, AServerStoppedDuringAnUploadFailsItsEnd)
{
    ASSERT_TRUE(server.start());
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    const FtpHandle file = ftp.FtpOpenFile(connection, u"/up.bin"_s, ftp::GENERIC_WRITE, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    ASSERT_NE(file, 0u);
    const QByteArray block = randomBytes(1024);
    quint32 written = 0;
    ASSERT_TRUE(ftp.InternetWriteFile(file, block.constData(), 1024, written));
    EXPECT_EQ(written, 1024u);
    server.kill();
    bool writing = true;
    for (int i = 0; i < 64 * 1024 && writing; ++i)
        writing = ftp.InternetWriteFile(file, block.constData(), 1024, written);
    EXPECT_FALSE(writing && ftp.InternetCloseHandle(file));
    EXPECT_NE(ftp.lastError().code, 0);
}

TEST_F(TransferTest, ClosingADownloadEarlyWorksAndTheNextCallLogsInAgain)
{
    ASSERT_TRUE(server.start());
    QFile big(server.files().createFile(u"big.iso"_s));
    ASSERT_TRUE(big.resize(256 * 1024 * 1024));
    server.files().createFile(u"small.txt"_s, "petit");
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    const FtpHandle file = ftp.FtpOpenFile(connection, u"/big.iso"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    ASSERT_NE(file, 0u);
    char block[1024];
    quint32 count = 0;
    ASSERT_TRUE(ftp.InternetReadFile(file, block, sizeof block, count));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(ftp.InternetCloseHandle(file));
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(download(connection, u"/small.txt"_s), QByteArray("petit"));
    EXPECT_EQ(loginCount(), 2);
}

TEST_F(TransferTest, ActiveModeWorksToo)
{
    ASSERT_TRUE(server.start());
    server.files().createFile(u"a.txt"_s, "actif");
    const FtpHandle connection = connect(QString::fromUtf8(LocalFtpServer::user),
                                         QString::fromUtf8(LocalFtpServer::password),
                                         ftp::INTERNET_FLAG_EXISTING_CONNECT);
    ASSERT_NE(connection, 0u);
    FindData record;
    const FtpHandle find = ftp.FtpFindFirstFile(connection, u"/*.*"_s, record, 0, 0);
    EXPECT_NE(find, 0u);
    EXPECT_EQ(record.name, u"a.txt"_s);
    ftp.InternetCloseHandle(find);
    EXPECT_EQ(download(connection, u"/a.txt"_s), QByteArray("actif"));
    EXPECT_TRUE(upload(connection, u"/b.txt"_s, "retour"));
    EXPECT_EQ(server.files().read(u"b.txt"_s), QByteArray("retour"));
    const QByteArray log = server.commandLog();
    EXPECT_TRUE(log.contains("<- EPRT") || log.contains("<- PORT"));
    EXPECT_FALSE(log.contains("<- EPSV") || log.contains("<- PASV"));
}

} // namespace
} // namespace vendrel::test
