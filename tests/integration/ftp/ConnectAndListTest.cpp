#include "CurlFtpFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <map>
#include <thread>

using namespace Qt::StringLiterals;

namespace vendrel::test {
namespace {

QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

using ConnectTest = CurlFtpFixture;

TEST_F(ConnectTest, LogsInOnceAndRefusesWhatCannotConnectOrIsNoHandle)
{
    const FtpHandle connection = startAndConnect();
    ASSERT_NE(connection, 0u) << ftp.lastError().description.toStdString();
    EXPECT_EQ(loginCount(), 1);
    QString folder;
    EXPECT_TRUE(ftp.FtpGetCurrentDirectory(connection, folder));
    EXPECT_EQ(folder, u"/"_s);
    EXPECT_TRUE(ftp.InternetCloseHandle(connection));
    EXPECT_FALSE(ftp.FtpGetCurrentDirectory(connection, folder));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_HANDLE);

    EXPECT_EQ(connect(u"vendrel"_s, u"wrong"_s), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_LOGIN_FAILURE);
    LocalFtpServer stopped;
    ASSERT_TRUE(stopped.start());
    stopped.kill();
    EXPECT_EQ(connectWith(ftp, stopped.port()), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_EQ(ftp.InternetConnect(internet, u"evil/path?x"_s, 21, u"a"_s, u"b"_s, ftp::INTERNET_SERVICE_FTP, 0, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_PARAMETER);
}

TEST_F(ConnectTest, AServerThatNeverAnswersTimesOutWhileTheWindowsKeepRepainting)
{
    int eventTurns = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++eventTurns; });
    ticker.start(20);
    EXPECT_EQ(startAndConnect({.silent = u"CONNECT"_s}), 0u); // not even a greeting
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_TIMEOUT);
    EXPECT_GT(eventTurns, 20); // about 2 s of 20 ms ticks went through the wait
}

TEST_F(ConnectTest, AConnectionTheServerDroppedWhileIdleIsLoggedInAgainForEveryKindOfCall)
{
    const FtpHandle connection = startAndConnect({.idleTimeoutSeconds = 0.5});
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"a.txt"_s, "a");
    const auto idle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1500)); };
    idle();
    EXPECT_EQ(names(connection, u"/*.*"_s), QStringList{u"a.txt"_s});
    idle();
    EXPECT_EQ(download(connection, u"/a.txt"_s), QByteArray("a"));
    idle();
    EXPECT_TRUE(ftp.FtpCreateDirectory(connection, u"/b"_s)) << ftp.lastError().description.toStdString();
    EXPECT_EQ(loginCount(), 4);
}

// Sending it again would double the wait: the call fails after one timeout,
// and the next call logs in afresh.
TEST_F(ConnectTest, AControlConnectionThatWentSilentTimesOutOnceAndTheNextCallLogsInAgain)
{
    const FtpHandle connection = startAndConnect({.silent = u"MLSD"_s});
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"a.txt"_s, "a");
    EXPECT_TRUE(list(connection, u"/*.*"_s).empty());
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_TIMEOUT);
    EXPECT_EQ(loginCount(), 1);
    EXPECT_EQ(names(connection, u"/*.*"_s), QStringList{u"a.txt"_s});
    EXPECT_EQ(loginCount(), 2);
}

TEST_F(ConnectTest, DuringAWaitACallFromAnEventIsRefusedAndClosingTheConnectionEndsTheWait)
{
    const FtpHandle connection = startAndConnect({.silent = u"MLSD"_s});
    ASSERT_NE(connection, 0u);
    bool nestedCall = true;
    int nestedError = 0;
    bool closed = false;
    QTimer::singleShot(100, [&] {
        nestedCall = ftp.FtpCreateDirectory(connection, u"/x"_s);
        nestedError = ftp.lastError().code;
    });
    QTimer::singleShot(300, [&] { closed = ftp.InternetCloseHandle(connection); });
    QElapsedTimer clock;
    clock.start();
    FindData record;
    EXPECT_EQ(ftp.FtpFindFirstFile(connection, u"/*.*"_s, record, 0, 0), 0u);
    EXPECT_LT(clock.elapsed(), 1500); // before the 2 s reply timeout
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_FALSE(nestedCall);
    EXPECT_EQ(nestedError, ftp::ERROR_FTP_TRANSFER_IN_PROGRESS);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(server.files().exists(u"x"_s));
}

TEST_F(ConnectTest, ClosingAConnectionWhoseServerWentSilentDoesNotWaitForIt)
{
    const FtpHandle connection = startAndConnect({.silent = u"NOOP,QUIT"_s});
    ASSERT_NE(connection, 0u);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(ftp.InternetCloseHandle(connection));
    EXPECT_LT(clock.elapsed(), 1500); // well before the 2 s reply timeout
}

class ListingFormats : public CurlFtpFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ListingFormats, GiveFilesAndFoldersWithSizesAndTimes)
{
    const bool mlsd = GetParam();
    const FtpHandle connection = startAndConnect({.mlsd = mlsd});
    ASSERT_NE(connection, 0u);
    TempFolder &files = server.files();
    setModified(files.createFile(u"pub/x.zip"_s, randomBytes(1536)), utc(2006, 12, 5, 21, 7));
    const QDateTime recent = QDateTime::currentDateTimeUtc().addDays(-3);
    setModified(files.createFile(u"pub/y.txt"_s), recent);
    files.createDir(u"pub/b c"_s);
    QFile huge(files.createFile(u"pub/huge.iso"_s));
    ASSERT_TRUE(huge.resize(5'000'000'000)); // sparse: no disk used
    std::map<QString, FindData> entries;
    for (const FindData &entry : list(connection, u"/pub/*.*"_s))
        entries[entry.name] = entry;
    ASSERT_EQ(entries.size(), 4u);
    const FindData &zip = entries[u"x.zip"_s];
    EXPECT_FALSE(zip.isFolder());
    EXPECT_EQ(zip.size, 1536);
    // LIST shows only the date of an entry older than six months.
    EXPECT_EQ(zip.lastWriteTime, mlsd ? utc(2006, 12, 5, 21, 7) : utc(2006, 12, 5));
    EXPECT_EQ(zip.lastWriteKind, mlsd ? ServerTime::Utc : ServerTime::DateOnly);
    const FindData &text = entries[u"y.txt"_s];
    EXPECT_EQ(text.lastWriteTime.toString(u"yyyyMMddhhmm"_s), recent.toString(u"yyyyMMddhhmm"_s));
    EXPECT_EQ(text.lastWriteKind, mlsd ? ServerTime::Utc : ServerTime::AsWritten);
    EXPECT_EQ(entries[u"huge.iso"_s].size, 5'000'000'000);
    EXPECT_TRUE(entries[u"b c"_s].isFolder());

    // The choice between MLSD and LIST is made once per connection.
    list(connection, u"/pub/*.*"_s);
    EXPECT_EQ(server.commandLog().count("<- MLSD"), mlsd ? 2 : 1);
    EXPECT_EQ(server.commandLog().count("<- LIST"), mlsd ? 0 : 2);
}

INSTANTIATE_TEST_SUITE_P(MlsdAndList, ListingFormats, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &format) { return format.param ? "Mlsd" : "List"; });

TEST_F(CurlFtpFixture, ThePatternIsAppliedHereAndAFolderThatFailsLeavesTheConnectionUsable)
{
    const FtpHandle connection = startAndConnect();
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"pub/notes.TXT"_s);
    server.files().createFile(u"pub/image.gif"_s);
    server.files().createFile(u"pub/readme"_s);
    server.files().createDir(u"pub/docs"_s);
    server.files().createDir(u"empty"_s);
    // Folders come whatever the pattern, so a filtered folder can still be left.
    EXPECT_EQ(names(connection, u"/pub/*.txt;*.gif"_s), (QStringList{u"docs"_s, u"image.gif"_s, u"notes.TXT"_s}));
    EXPECT_FALSE(server.commandLog().contains("*.txt"));
    FindData record;
    EXPECT_EQ(ftp.FtpFindFirstFile(connection, u"/empty/*.*"_s, record, 0, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_NO_MORE_FILES);
    EXPECT_EQ(ftp.FtpFindFirstFile(connection, u"/missing/*.*"_s, record, 0, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_EQ(names(connection, u"/pub/*.*"_s).size(), 4);
    EXPECT_EQ(loginCount(), 1);
}

} // namespace
} // namespace vendrel::test
