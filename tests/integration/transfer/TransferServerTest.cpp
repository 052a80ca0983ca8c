#include "session/ftp/CurlFtpService.h"
#include "support/LocalServerTest.h"
#include "support/SessionHarness.h"
#include "support/TempFolder.h"
#include "transfer/FrmProg.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// The transfer window and its engines through libcurl against pyftpdlib on
// loopback; each test checks the files on both sides afterwards.
struct TransferServerTest : test::LocalServerTest {
    void start(const test::LocalFtpServer::Options &options = {})
    {
        ASSERT_TRUE(server.start(options)) << server.failureReason().toStdString();
        served().createDir(u"pub"_s);
        ASSERT_TRUE(harness.connectTo(server.port(), u"vendrel"_s, u"secret"_s));
        harness.session.LocalFolder = local.folder();
        harness.session.RemoteFolder = u"/pub/"_s;
    }
    // A server that sends and takes 2 KiB a second: a run is still going
    // a moment after it starts, when inAMoment's call comes.
    void startSlow()
    {
        test::LocalFtpServer::Options options;
        options.bytesPerSecond = 2048;
        start(options);
    }
    void inAMoment(std::function<void()> during) { QTimer::singleShot(300, &frmProg, std::move(during)); }
    // A moment after the server begins to take the given upload: opening it
    // may take longer than a moment on a busy machine.
    void onceStoring(int upload, std::function<void()> during)
    {
        auto *poll = new QTimer(&frmProg);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, upload, during] {
            if (server.commandLog().count("<- STOR") < upload)
                return;
            poll->stop();
            poll->deleteLater();
            inAMoment(during);
        });
        poll->start(20);
    }
    test::TempFolder &served() { return server.files(); }
    void run(TransferDirection direction, const QStringList &names)
    {
        // With the times a listing gives, as MLSD does on the server side.
        TransferBatch batch{direction, harness.session.LocalFolder, harness.session.RemoteFolder};
        for (const QString &name : names) {
            const QFileInfo source(direction == TransferDirection::Upload ? local.filePath(name)
                                                                          : served().filePath(u"pub/"_s + name));
            batch.files.append({name, source.size(), source.lastModified(), ShownTime::InLocalTime});
        }
        frmProg.setBatch(batch);
        frmProg.Command3_Click();
    }
    void cancel() { frmProg.findChild<QPushButton *>(u"Command1"_s)->click(); }
    QStringList localFiles() const { return QDir(local.path()).entryList(QDir::Files | QDir::Hidden); }
    // On the session's own handles, as the remote pane lists after a transfer.
    QStringList remoteNames()
    {
        QStringList names;
        FindData record;
        const FtpHandle find = curl.FtpFindFirstFile(harness.session.ConnectionHandle, u"/pub/*.*"_s, record, 0, 0);
        for (bool more = find != 0; more; more = curl.InternetFindNextFile(find, record))
            names.append(record.name);
        curl.InternetCloseHandle(find);
        return names;
    }

    CurlFtpService curl{shortTimeouts()};
    test::SessionHarness harness{&curl};
    test::TempFolder local;
    FrmProg frmProg{harness.context()};
};

TEST_F(TransferServerTest, FilesOfEverySizeGoBothWaysByteExact)
{
    start();
    QStringList names;
    QList<QByteArray> contents;
    for (const qsizetype size : {0, 1, 1023, 1024, 1025, 3 * 1024 * 1024 + 321}) {
        names.append(u"fichier %1 é.bin"_s.arg(size));
        contents.append(test::randomBytes(size));
        served().createFile(u"pub/"_s + names.last(), contents.last());
    }
    local.createFile(names.last(), QByteArray(5 * 1024 * 1024, 'L')); // longer: nothing of it stays
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, false});
    run(TransferDirection::Download, names);
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(local.read(names[i]), contents[i]) << names[i].toStdString();

    QDir(served().filePath(u"pub"_s)).removeRecursively();
    served().createDir(u"pub"_s);
    run(TransferDirection::Upload, names);
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(served().read(u"pub/"_s + names[i]), contents[i]) << names[i].toStdString();
    EXPECT_EQ(harness.dialogs.messageTexts(), (QStringList{u"Transfert des données terminé avec succès."_s,
                                                           u"Transfert des données terminé avec succès !"_s}));
}

TEST_F(TransferServerTest, AServerKilledMidDownloadLeavesTheOldFileAndAUsableWindow)
{
    startSlow();
    inAMoment([this] { server.kill(); });
    served().createFile(u"pub/lent.bin"_s, QByteArray(1024 * 1024, 'x'));
    local.createFile(u"lent.bin"_s, "the previous copy");
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, false});
    run(TransferDirection::Download, {u"lent.bin"_s});
    EXPECT_EQ(local.read(u"lent.bin"_s), "the previous copy");
    EXPECT_EQ(localFiles(), QStringList{u"lent.bin"_s});
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Erreur lors du tranfert des données !"_s});
    EXPECT_FALSE(frmProg.isRunning());
    EXPECT_TRUE(frmProg.findChild<QPushButton *>(u"Command3"_s)->isEnabled());
}

TEST_F(TransferServerTest, ACancelledDownloadStopsWhileTheServerSendsAndTheSessionListsRightAfter)
{
    startSlow();
    inAMoment([this] { cancel(); });
    served().createFile(u"pub/lent.bin"_s, QByteArray(1024 * 1024, 'x'));
    local.createFile(u"lent.bin"_s, "the previous copy");
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, false});
    run(TransferDirection::Download, {u"lent.bin"_s});
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Operation abandonnée."_s});
    EXPECT_EQ(local.read(u"lent.bin"_s), "the previous copy");
    EXPECT_EQ(localFiles(), QStringList{u"lent.bin"_s});
    EXPECT_FALSE(server.commandLog().contains("completed=1")) << "the server was still sending";
    EXPECT_EQ(remoteNames(), QStringList{u"lent.bin"_s});
}

// The 16 MiB file is cancelled while writes still go; the 512 KiB one fits in
// the queue between the threads, so the cancel comes while the server takes
// its last blocks.
TEST_F(TransferServerTest, ACancelledUploadLeavesNoPartialFileAndTheSessionListsRightAfter)
{
    startSlow();
    served().createFile(u"pub/autre.txt"_s, "autre");
    int upload = 0;
    for (const qsizetype size : {16 * 1024 * 1024, 512 * 1024}) {
        SCOPED_TRACE(size);
        QFile file(local.createFile(u"gros.bin"_s));
        ASSERT_TRUE(file.resize(size));
        harness.dialogs.messages.clear();
        onceStoring(++upload, [this] { cancel(); });
        run(TransferDirection::Upload, {u"gros.bin"_s});
        EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Operation abandonnée."_s});
        EXPECT_EQ(remoteNames(), QStringList{u"autre.txt"_s});
    }
    EXPECT_FALSE(server.commandLog().contains("completed=1")) << "the server was still taking data";
}

void setTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
}

// Each answer to "Le fichier existe déjà" both ways: a resumed file sends
// only its missing bytes, a renamed one goes beside, "Ignorer" and
// "Remplacer si plus récent" leave the newer file; times follow the file.
TEST_F(TransferServerTest, ExistingFilesAreResumedRenamedSkippedOrReplacedWhenOlderBothWays)
{
    start();
    const QByteArray data = test::randomBytes(300 * 1024);
    const QDateTime older(QDate(2020, 1, 1), QTime(12, 0), Qt::UTC), newer(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC);
    struct Side {
        test::TempFolder &folder;
        QString prefix;
        QString path(const QString &name) const { return folder.filePath(prefix + name); }
    };
    const Side serverSide{served(), u"pub/"_s}, localSide{local, {}};
    const auto place = [&](const Side &source, const Side &target) {
        source.folder.createFile(source.prefix + u"resume.bin"_s, data);
        target.folder.createFile(target.prefix + u"resume.bin"_s, data.first(100 * 1024));
        for (const QString &name : {u"rename.txt"_s, u"skip.txt"_s, u"newer.txt"_s, u"older.txt"_s}) {
            source.folder.createFile(source.prefix + name, "source");
            target.folder.createFile(target.prefix + name, "target");
        }
        setTime(source.path(u"newer.txt"_s), newer);
        setTime(target.path(u"newer.txt"_s), older);
        setTime(source.path(u"older.txt"_s), older);
        setTime(target.path(u"older.txt"_s), newer);
        for (const ExistingFileChoice choice : {ExistingFileChoice::Resume, ExistingFileChoice::Rename,
                                                ExistingFileChoice::Skip, ExistingFileChoice::ReplaceIfNewer})
            harness.dialogs.answerExistingFileNext({choice, choice == ExistingFileChoice::ReplaceIfNewer});
        harness.dialogs.typeNext(u"rename (2).txt"_s);
    };
    const auto check = [&](const Side &target) {
        const auto read = [&](const QString &name) { return target.folder.read(target.prefix + name); };
        EXPECT_EQ(read(u"resume.bin"_s), data);
        EXPECT_EQ(read(u"rename.txt"_s), "target");
        EXPECT_EQ(read(u"rename (2).txt"_s), "source");
        EXPECT_EQ(read(u"skip.txt"_s), "target");
        EXPECT_EQ(read(u"newer.txt"_s), "source");
        EXPECT_EQ(QFileInfo(target.path(u"newer.txt"_s)).lastModified().toUTC(), newer);
        EXPECT_EQ(read(u"older.txt"_s), "target");
    };
    const QStringList names{u"resume.bin"_s, u"rename.txt"_s, u"skip.txt"_s, u"newer.txt"_s, u"older.txt"_s};

    place(serverSide, localSide);
    run(TransferDirection::Download, names);
    check(localSide);
    EXPECT_TRUE(server.commandLog().contains("<- REST 102400"));
    EXPECT_TRUE(server.commandLog().contains("resume.bin completed=1 bytes=204800"));

    QDir(served().filePath(u"pub"_s)).removeRecursively();
    QDir(local.path()).removeRecursively();
    QDir().mkpath(local.path());
    served().createDir(u"pub"_s);
    place(localSide, serverSide);
    run(TransferDirection::Upload, names);
    check(serverSide);
    EXPECT_TRUE(server.commandLog().contains("<- APPE resume.bin"));
    EXPECT_EQ(harness.dialogs.existingFileQuestions.size(), 8) << "ReplaceIfNewer for all asks no more";
    EXPECT_EQ(harness.dialogs.inputDefaults, QStringList(2, u"rename (2).txt"_s));
}

// Cut well past what the queue between the threads holds, so the file is
// open and being read when the line drops.
TEST_F(TransferServerTest, ADownloadCutMidwayIsTakenUpOnANewConnectionWithOnlyTheRest)
{
    test::LocalFtpServer::Options options;
    options.cutFirstDownload = 2 * 1024 * 1024;
    start(options);
    const QByteArray data = test::randomBytes(3 * 1024 * 1024);
    served().createFile(u"pub/cut.bin"_s, data);
    run(TransferDirection::Download, {u"cut.bin"_s});
    EXPECT_EQ(local.read(u"cut.bin"_s), data);
    // From what had arrived, which the line's buffers make less than the cut.
    EXPECT_TRUE(server.commandLog().contains("<- REST "));
    EXPECT_FALSE(server.commandLog().contains("bytes=3145728")) << "not the whole file again";
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Transfert des données terminé avec succès."_s});
}

TEST_F(TransferServerTest, AnUploadCutByAKilledServerLeavesTheServersFileAsItWas)
{
    startSlow();
    served().createFile(u"pub/garde.bin"_s, "the server's copy");
    QFile file(local.createFile(u"garde.bin"_s));
    ASSERT_TRUE(file.resize(1024 * 1024));
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, false});
    onceStoring(1, [this] { server.kill(); });
    run(TransferDirection::Upload, {u"garde.bin"_s});
    EXPECT_EQ(served().read(u"pub/garde.bin"_s), "the server's copy");
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Erreur lors du tranfert des données !"_s});
}

} // namespace
} // namespace vendrel
