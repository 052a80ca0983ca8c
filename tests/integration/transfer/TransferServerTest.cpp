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
    void cancelOnceStoring(int upload)
    {
        auto *poll = new QTimer(&frmProg);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, upload] {
            if (server.commandLog().count("<- STOR") < upload)
                return;
            poll->stop();
            poll->deleteLater();
            inAMoment([this] { cancel(); });
        });
        poll->start(20);
    }
    test::TempFolder &served() { return server.files(); }
    void run(TransferDirection direction, const QStringList &names)
    {
        TransferBatch batch{direction, harness.session.LocalFolder, harness.session.RemoteFolder};
        for (const QString &name : names)
            batch.append(name, QFileInfo(direction == TransferDirection::Upload ? local.filePath(name)
                                                                                : served().filePath(u"pub/"_s + name))
                                   .size());
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
        cancelOnceStoring(++upload);
        run(TransferDirection::Upload, {u"gros.bin"_s});
        EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Operation abandonnée."_s});
        EXPECT_EQ(remoteNames(), QStringList{u"autre.txt"_s});
    }
    EXPECT_FALSE(server.commandLog().contains("completed=1")) << "the server was still taking data";
}

} // namespace
} // namespace vendrel
