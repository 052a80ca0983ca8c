#include "CurlFtpFixture.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace vendrel::test {
namespace {

using ServerFaultsTest = CurlFtpFixture;

// An entry a second keeps every network timeout quiet: only the call's own
// deadline ends it, and the connection serves the next call.
TEST_F(ServerFaultsTest, AListingThatNeverEndsFailsAtItsDeadline)
{
    ASSERT_TRUE(server.start({.endlessListing = u"slow"_s}));
    server.files().createDir(u"endless"_s);

    CurlFtpOptions limits = shortTimeouts();
    limits.callDeadline = std::chrono::milliseconds(1500);
    CurlFtpService bounded(limits);
    const FtpHandle connection = connectWith(bounded, server.port());
    ASSERT_NE(connection, 0u);
    FindData record;
    EXPECT_EQ(bounded.FtpFindFirstFile(connection, u"/endless/*.*"_s, record, 0, 0), 0u);
    EXPECT_EQ(bounded.lastError().code, ftp::ERROR_INTERNET_TIMEOUT);
    EXPECT_EQ(server.commandLog().count("<- MLSD"), 1) << "a timed-out listing is not asked again";
    EXPECT_TRUE(bounded.FtpCreateDirectory(connection, u"/after"_s));
}

// The server carries the command out, then drops the connection unanswered:
// it is not sent again, and the server's listing says it happened.
TEST_F(ServerFaultsTest, ACommandWhoseReplyWasLostIsNotResentAndItsOutcomeIsTheServersState)
{
    const FtpHandle connection = startAndConnect({.lostReply = u"DELE,MKD,RNTO"_s});
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"old.txt"_s, "x");
    server.files().createFile(u"a.txt"_s, "a");

    EXPECT_TRUE(ftp.FtpDeleteFile(connection, u"/old.txt"_s)) << ftp.lastError().description.toStdString();
    EXPECT_TRUE(ftp.FtpCreateDirectory(connection, u"/new"_s)) << ftp.lastError().description.toStdString();
    EXPECT_TRUE(ftp.FtpRenameFile(connection, u"/a.txt"_s, u"/b.txt"_s)) << ftp.lastError().description.toStdString();
    EXPECT_FALSE(ftp.FtpCreateDirectory(connection, u"/nowhere/x"_s)) << "what did not happen is a failure";
    const QByteArray log = server.commandLog();
    EXPECT_EQ(log.count("<- DELE /old.txt"), 1);
    EXPECT_EQ(log.count("<- MKD /new"), 1);
    EXPECT_EQ(log.count("<- RNTO /b.txt"), 1);
    EXPECT_TRUE(server.files().exists(u"new"_s));
    EXPECT_TRUE(server.files().exists(u"b.txt"_s));
    EXPECT_GT(loginCount(), 3) << "each of the three replies was lost";
}

TEST_F(ServerFaultsTest, FailuresSayWhatHappenedInFrench)
{
    const FtpHandle connection = startAndConnect({.noConnectBack = true, .closing421 = u"RMD"_s});
    ASSERT_NE(connection, 0u);
    server.files().createDir(u"d"_s);
    server.files().createFile(u"a.txt"_s, "a");
    EXPECT_FALSE(ftp.FtpRemoveDirectory(connection, u"/d"_s));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_CONNECTION_ABORTED) << "a 421 is no timeout";
    EXPECT_EQ(ftp.lastError().description, u"Le serveur a fermé la connexion."_s);

    const FtpHandle active = connect(QString::fromUtf8(LocalFtpServer::user),
                                     QString::fromUtf8(LocalFtpServer::password), ftp::INTERNET_FLAG_EXISTING_CONNECT);
    ASSERT_NE(active, 0u);
    EXPECT_EQ(download(active, u"/a.txt"_s), std::nullopt);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_TRUE(ftp.lastError().description.contains(u"mode actif"_s)) << ftp.lastError().description.toStdString();
}

TEST_F(ServerFaultsTest, ADownloadTellsTheSizeTheServerAnnouncedAndTheSizeItGivesNow)
{
    const FtpHandle connection = startAndConnect({.extraBytes = 100});
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"f.bin"_s, randomBytes(10'240));

    const FtpHandle file =
        ftp.FtpOpenFile(connection, u"/f.bin"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    ASSERT_NE(file, 0u);
    QByteArray received(20'000, '\0');
    quint32 count = 0;
    EXPECT_TRUE(ftp.InternetReadFile(file, received.data(), quint32(received.size()), count));
    // One read, larger than the queue between the threads, takes the whole file.
    EXPECT_EQ(count, 10'340u) << "bytes past the announced size are not dropped unseen";
    qint64 size = 0;
    EXPECT_TRUE(ftp.FtpGetFileSize(file, size));
    EXPECT_EQ(size, 10'240);
    EXPECT_TRUE(ftp.InternetCloseHandle(file));
    size = 0;
    EXPECT_TRUE(ftp.FtpGetRemoteFileSize(connection, u"/f.bin"_s, size));
    EXPECT_EQ(size, 10'240);
    EXPECT_EQ(loginCount(), 1);
}

} // namespace
} // namespace vendrel::test
