#include "CurlFtpFixture.h"
#include "LoopbackSockets.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <thread>

using namespace Qt::StringLiterals;

namespace vendrel::test {
namespace {

QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

const FindData *entryNamed(const std::vector<FindData> &entries, const QString &name)
{
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const FindData &entry) { return entry.name == name; });
    return found == entries.end() ? nullptr : &*found;
}

QStringList namesOf(const std::vector<FindData> &entries)
{
    QStringList names;
    for (const FindData &entry : entries)
        names.append(entry.name);
    names.sort();
    return names;
}

using ConnectTest = CurlFtpFixture;

TEST_F(ConnectTest, LogsInAtOnceAndKnowsTheLoginFolder)
{
    ASSERT_TRUE(server.start());
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u) << ftp.lastError().description.toStdString();
    EXPECT_EQ(ftp.lastError().code, 0);
    EXPECT_EQ(loginCount(), 1);
    QString folder;
    EXPECT_TRUE(ftp.FtpGetCurrentDirectory(connection, folder));
    EXPECT_EQ(folder, u"/"_s);
    EXPECT_TRUE(ftp.InternetCloseHandle(connection));
    EXPECT_FALSE(ftp.FtpGetCurrentDirectory(connection, folder));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_HANDLE);
}

TEST_F(ConnectTest, AWrongPasswordGivesNoConnection)
{
    ASSERT_TRUE(server.start());
    EXPECT_EQ(connect(u"vendrel"_s, u"wrong"_s), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_LOGIN_FAILURE);
}

TEST_F(ConnectTest, AClosedPortGivesNoConnection)
{
    SilentListener closed;
    closed.close();
    EXPECT_EQ(connectTo(closed.port()), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_CANNOT_CONNECT);
}

TEST_F(ConnectTest, AServerThatNeverAnswersTimesOutWhileTheWindowsKeepRepainting)
{
    SilentListener silent;
    int eventTurns = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++eventTurns; });
    ticker.start(20);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(connectTo(silent.port()), 0u);
    EXPECT_LT(clock.elapsed(), 10'000);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_TIMEOUT);
    EXPECT_GT(eventTurns, 20); // about 2 s of 20 ms ticks went through the wait
}

TEST_F(ConnectTest, AHostThatIsNotOneIsRefusedBeforeAnyNetwork)
{
    EXPECT_EQ(ftp.InternetConnect(internet, u"evil/path?x"_s, 21, u"a"_s, u"b"_s, ftp::INTERNET_SERVICE_FTP,
                                  ftp::INTERNET_FLAG_PASSIVE, 0),
              0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ftp.InternetConnect(0, u"127.0.0.1"_s, 21, u"a"_s, u"b"_s, ftp::INTERNET_SERVICE_FTP, 0, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_HANDLE);
}

TEST_F(ConnectTest, HandlesAreCheckedAndZeroClosesNothing)
{
    EXPECT_FALSE(ftp.InternetCloseHandle(0));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_HANDLE);
    FindData record;
    EXPECT_EQ(ftp.FtpFindFirstFile(internet, u"/*.*"_s, record, 0, 0), 0u); // a session is not a connection
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_HANDLE);
    EXPECT_TRUE(ftp.InternetCloseHandle(internet));
    EXPECT_FALSE(ftp.InternetCloseHandle(internet));
}

TEST_F(ConnectTest, AConnectionTheServerDroppedWhileIdleIsLoggedInAgain)
{
    LocalFtpServer::Options options;
    options.idleTimeoutSeconds = 0.5;
    ASSERT_TRUE(server.start(options));
    server.files().createFile(u"a.txt"_s, "a");
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(namesOf(list(connection, u"/*.*"_s)), QStringList{u"a.txt"_s});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(download(connection, u"/a.txt"_s), QByteArray("a"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(ftp.FtpCreateDirectory(connection, u"/b"_s)) << ftp.lastError().description.toStdString();
    EXPECT_EQ(loginCount(), 4) << server.commandLog().toStdString();
}

// Sending it again would double the wait: the call fails after one timeout,
// and the next call logs in afresh.
TEST_F(ConnectTest, AControlConnectionThatWentSilentTimesOutOnceAndTheNextCallLogsInAgain)
{
    ASSERT_TRUE(server.start());
    server.files().createFile(u"a.txt"_s, "a");
    FreezingProxy proxy(server.port());
    const FtpHandle connection = connectTo(proxy.port());
    ASSERT_NE(connection, 0u);
    proxy.freezeOpenConnections();
    EXPECT_EQ(list(connection, u"/*.*"_s).size(), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_TIMEOUT);
    EXPECT_EQ(loginCount(), 1);
    EXPECT_EQ(namesOf(list(connection, u"/*.*"_s)), QStringList{u"a.txt"_s});
    EXPECT_EQ(loginCount(), 2);
}

TEST_F(ConnectTest, ACallFromAnEventDuringAWaitIsRefusedAndClosingTheConnectionEndsTheWait)
{
    ASSERT_TRUE(server.start());
    FreezingProxy proxy(server.port());
    const FtpHandle connection = connectTo(proxy.port());
    ASSERT_NE(connection, 0u);
    proxy.freezeOpenConnections();
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
}

TEST_F(ConnectTest, ClosingAConnectionWhoseServerWentSilentDoesNotWaitForIt)
{
    ASSERT_TRUE(server.start());
    FreezingProxy proxy(server.port());
    const FtpHandle connection = connectTo(proxy.port());
    ASSERT_NE(connection, 0u);
    proxy.freezeOpenConnections();
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(ftp.InternetCloseHandle(connection));
    EXPECT_LT(clock.elapsed(), 1500); // well before the 2 s reply timeout
}

using ListingTest = CurlFtpFixture;


class ListingFormats : public CurlFtpFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ListingFormats, GiveFilesAndFoldersWithSizesAndTimes)
{
    LocalFtpServer::Options options;
    options.mlsd = GetParam();
    ASSERT_TRUE(server.start(options));
    TempFolder &files = server.files();
    setModified(files.createFile(u"pub/x.zip"_s, randomBytes(1536)), utc(2006, 12, 5, 21, 7));
    files.createFile(u"pub/y.txt"_s);
    files.createDir(u"pub/a"_s);
    files.createDir(u"pub/b c"_s);
    QFile huge(files.createFile(u"pub/huge.iso"_s));
    ASSERT_TRUE(huge.resize(5'000'000'000)); // sparse: no disk used
    const QDateTime recent = QDateTime::currentDateTimeUtc().addDays(-3);
    setModified(files.filePath(u"pub/y.txt"_s), recent);

    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    const std::vector<FindData> entries = list(connection, u"/pub/*.*"_s);
    EXPECT_EQ(namesOf(entries), (QStringList{u"a"_s, u"b c"_s, u"huge.iso"_s, u"x.zip"_s, u"y.txt"_s}));
    const FindData *zip = entryNamed(entries, u"x.zip"_s);
    ASSERT_TRUE(zip);
    EXPECT_FALSE(zip->isFolder());
    EXPECT_EQ(zip->size, 1536);
    // LIST shows only the date of an entry older than six months.
    EXPECT_EQ(zip->lastWriteTime, GetParam() ? utc(2006, 12, 5, 21, 7) : utc(2006, 12, 5));
    EXPECT_EQ(zip->lastWriteKind, GetParam() ? ServerTime::Utc : ServerTime::DateOnly);
    const FindData *text = entryNamed(entries, u"y.txt"_s);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->lastWriteTime.date(), recent.date());
    EXPECT_EQ(text->lastWriteTime.time().hour(), recent.time().hour());
    EXPECT_EQ(text->lastWriteTime.time().minute(), recent.time().minute());
    EXPECT_EQ(text->lastWriteKind, GetParam() ? ServerTime::Utc : ServerTime::AsWritten);
    EXPECT_EQ(entryNamed(entries, u"huge.iso"_s)->size, 5'000'000'000);
    EXPECT_TRUE(entryNamed(entries, u"a"_s)->isFolder());
    EXPECT_TRUE(entryNamed(entries, u"b c"_s)->isFolder());

    // The choice between MLSD and LIST is made once per connection.
    list(connection, u"/pub/*.*"_s);
    const QByteArray log = server.commandLog();
    EXPECT_EQ(log.count("<- MLSD"), 2 - int(!GetParam()));
    EXPECT_EQ(log.count("<- LIST"), GetParam() ? 0 : 2);
}

std::string formatName(const ::testing::TestParamInfo<bool> &format)
{
    return format.param ? "Mlsd" : "List";
}

INSTANTIATE_TEST_SUITE_P(MlsdAndList, ListingFormats, ::testing::Bool(), formatName);

TEST_F(ListingTest, ThePatternIsAppliedHereAndNeverSent)
{
    ASSERT_TRUE(server.start());
    server.files().createFile(u"notes.TXT"_s);
    server.files().createFile(u"image.gif"_s);
    server.files().createFile(u"readme"_s);
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    EXPECT_EQ(namesOf(list(connection, u"/*.txt;*.gif"_s)), (QStringList{u"image.gif"_s, u"notes.TXT"_s}));
    EXPECT_EQ(namesOf(list(connection, u"/*.*"_s)), (QStringList{u"image.gif"_s, u"notes.TXT"_s, u"readme"_s}));
    FindData record;
    EXPECT_EQ(ftp.FtpFindFirstFile(connection, u"/*.zip"_s, record, 0, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_NO_MORE_FILES);
    EXPECT_FALSE(server.commandLog().contains("*.txt"));
}

TEST_F(ListingTest, AMissingFolderFailsAndTheConnectionGoesOn)
{
    ASSERT_TRUE(server.start());
    server.files().createFile(u"a.txt"_s);
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    FindData record;
    EXPECT_EQ(ftp.FtpFindFirstFile(connection, u"/missing/*.*"_s, record, 0, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_EQ(namesOf(list(connection, u"/*.*"_s)), QStringList{u"a.txt"_s});
    EXPECT_EQ(loginCount(), 1);
}

TEST_F(ListingTest, AnEmptyFolderGivesNoMoreFiles)
{
    ASSERT_TRUE(server.start());
    server.files().createDir(u"empty"_s);
    const FtpHandle connection = connect();
    ASSERT_NE(connection, 0u);
    FindData record;
    EXPECT_EQ(ftp.FtpFindFirstFile(connection, u"/empty/*.*"_s, record, 0, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_NO_MORE_FILES);
}

} // namespace
} // namespace vendrel::test
