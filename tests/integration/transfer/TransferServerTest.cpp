#include "session/ftp/CurlFtpService.h"
#include "support/Prerequisite.h"
#include "support/LocalFtpServer.h"
#include "support/SessionHarness.h"
#include "unit/transfer/TickingFtpService.h"
#include "transfer/FrmProg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <gtest/gtest.h>
#include <iostream>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

CurlFtpOptions shortTimeouts()
{
    CurlFtpOptions options;
    options.connectTimeout = std::chrono::milliseconds(2'000);
    options.serverResponseTimeout = std::chrono::seconds(2);
    options.stalledTransferTimeout = std::chrono::seconds(2);
    return options;
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
}

// The transfer window and its engines through libcurl against pyftpdlib on
// loopback; each test checks the files on both sides afterwards.
struct TransferServerTest : ::testing::Test {
    void SetUp() override
    {
        VENDREL_REQUIRE_PREREQUISITE(test::LocalFtpServer::missingPrerequisite())
        ASSERT_TRUE(server.start(serverOptions())) << server.failureReason().toStdString();
        served().createDir(u"pub"_s);
        ticking.attach(curl, harness.clock, 0);
        ASSERT_TRUE(harness.connectTo(server.port(), QString::fromUtf8(test::LocalFtpServer::user),
                                      QString::fromUtf8(test::LocalFtpServer::password)));
        harness.session.LocalFolder = local.folder();
        harness.session.RemoteFolder = u"/pub/"_s;
        harness.session.TransferType = ftp::FTP_TRANSFER_TYPE_BINARY;
    }
    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "The server's log:\n" << server.commandLog().toStdString();
    }

    virtual test::LocalFtpServer::Options serverOptions() const { return {}; }
    test::TempFolder &served() { return server.files(); }
    void run(TransferDirection direction, const QStringList &names)
    {
        TransferBatch batch;
        batch.direction = direction;
        for (const QString &name : names) {
            const QString path = direction == TransferDirection::Upload ? local.filePath(name)
                                                                        : served().filePath(u"pub/"_s + name);
            batch.append(name, QFileInfo(path).size());
        }
        frmProg.setBatch(batch);
        frmProg.Command3_Click();
    }

    test::LocalFtpServer server;
    CurlFtpService curl{shortTimeouts()};
    test::TickingFtpService ticking;
    test::SessionHarness harness{&ticking};
    test::TempFolder local;
    FrmProg frmProg{harness.context()};
};

TEST_F(TransferServerTest, FilesOfEverySizeGoBothWaysByteExact)
{
    QStringList names;
    QList<QByteArray> contents;
    for (const qsizetype size : {0, 1, 1023, 1024, 1025, 1500, 2048, 3 * 1024 * 1024 + 321}) {
        names.append(u"fichier %1 é.bin"_s.arg(size));
        contents.append(randomBytes(size));
        served().createFile(u"pub/"_s + names.last(), contents.last());
    }
    run(TransferDirection::Download, names);
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(local.read(names[i]), contents[i]) << names[i].toStdString();
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Transfert des données terminé avec succès."_s});

    harness.session.RemoteFolder = u"/retour/"_s;
    served().createDir(u"retour"_s);
    FrmProg again{harness.context()};
    TransferBatch batch;
    batch.direction = TransferDirection::Upload;
    for (int i = 0; i < names.size(); ++i)
        batch.append(names[i], contents[i].size());
    again.setBatch(batch);
    again.Command3_Click();
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(served().read(u"retour/"_s + names[i]), contents[i]) << names[i].toStdString();
    EXPECT_EQ(harness.dialogs.messageTexts().last(), u"Transfert des données terminé avec succès !"_s);
}

TEST_F(TransferServerTest, AsciiTranslatesLineEndsAndBinaryDoesNot)
{
    const QByteArray text = "ligne 1\r\nligne 2\r\n";
    served().createFile(u"pub/texte.txt"_s, text);
    run(TransferDirection::Download, {u"texte.txt"_s});
    EXPECT_EQ(local.read(u"texte.txt"_s), text);

    harness.session.TransferType = ftp::FTP_TRANSFER_TYPE_ASCII;
    FrmProg ascii{harness.context()};
    TransferBatch batch;
    batch.append(u"texte.txt"_s, text.size());
    ascii.setBatch(batch);
    ascii.Command3_Click();
    EXPECT_EQ(local.read(u"texte.txt"_s), QByteArray("ligne 1\nligne 2\n"));
}

TEST_F(TransferServerTest, AMissingRemoteFileStopsTheRunAfterTheEarlierFiles)
{
    served().createFile(u"pub/a.txt"_s, "alpha");
    served().createFile(u"pub/c.txt"_s, "gamma");
    TransferBatch batch;
    batch.append(u"a.txt"_s, 5);
    batch.append(u"absent.txt"_s, 3);
    batch.append(u"c.txt"_s, 5);
    frmProg.setBatch(batch);
    frmProg.Command3_Click();
    EXPECT_EQ(local.read(u"a.txt"_s), "alpha");
    EXPECT_FALSE(local.exists(u"absent.txt"_s));
    EXPECT_FALSE(local.exists(u"c.txt"_s));
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Ne peut ouvrir le fichier avec ce dossier !"_s});
}

TEST_F(TransferServerTest, OverwritingALongerLocalFileLeavesOnlyTheNewBytes)
{
    served().createFile(u"pub/court.txt"_s, "court");
    local.createFile(u"court.txt"_s, QByteArray(100'000, 'L'));
    run(TransferDirection::Download, {u"court.txt"_s});
    EXPECT_EQ(local.read(u"court.txt"_s), "court");
}

TEST_F(TransferServerTest, AServerKilledMidDownloadLeavesTheOldFileAndAUsableWindow)
{
    QFile big(served().createFile(u"pub/gros.iso"_s));
    ASSERT_TRUE(big.resize(64 * 1024 * 1024));
    local.createFile(u"gros.iso"_s, "the previous copy");
    ticking.beforeBlock(2, [this] { server.kill(); });
    run(TransferDirection::Download, {u"gros.iso"_s});

    EXPECT_EQ(local.read(u"gros.iso"_s), "the previous copy");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"gros.iso"_s});
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Erreur lors du tranfert des données !"_s});
    EXPECT_FALSE(frmProg.isRunning());
    EXPECT_TRUE(frmProg.findChild<QPushButton *>(u"Command3"_s)->isEnabled());
}

TEST_F(TransferServerTest, AServerKilledMidUploadIsAnErrorNotASuccess)
{
    QFile big(local.createFile(u"gros.iso"_s));
    ASSERT_TRUE(big.resize(64 * 1024 * 1024));
    ticking.beforeBlock(2, [this] { server.kill(); });
    run(TransferDirection::Upload, {u"gros.iso"_s});

    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Erreur lors du tranfert des données !"_s});
    EXPECT_EQ(frmProg.result(), 0);
    EXPECT_FALSE(frmProg.isRunning());
}

// A server that cuts a download short, still says 226 and refuses SIZE.
struct CuttingServerTransferTest : TransferServerTest {
    test::LocalFtpServer::Options serverOptions() const override
    {
        test::LocalFtpServer::Options options;
        options.cutAfter = 5000;
        return options;
    }
};

TEST_F(CuttingServerTransferTest, ADownloadCutShortIsAnErrorAndKeepsTheOldFile)
{
    served().createFile(u"pub/f.bin"_s, randomBytes(10'240));
    local.createFile(u"f.bin"_s, "the previous copy");
    run(TransferDirection::Download, {u"f.bin"_s});

    EXPECT_EQ(local.read(u"f.bin"_s), "the previous copy");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"f.bin"_s});
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Erreur lors du tranfert des données !"_s});
    EXPECT_TRUE(harness.log.text().contains(u" > Erreur lors du tranfert des données ! Erreur!"_s));
}

// A server that sends and takes 2 KiB a second: a 1 KiB read or write waits
// for it, and a megabyte would take minutes.
struct SlowServerTransferTest : TransferServerTest {
    test::LocalFtpServer::Options serverOptions() const override
    {
        test::LocalFtpServer::Options options;
        options.bytesPerSecond = 2048;
        return options;
    }
    // Presses "Annuler" shortly after the second block, while the engine
    // waits for the server.
    void cancelAfterSecondBlock()
    {
        ticking.beforeBlock(2, [this] {
            QTimer::singleShot(200, &frmProg, [this] { frmProg.findChild<QPushButton *>(u"Command1"_s)->click(); });
        });
    }
    // On the session's own handles, as the remote pane lists after a transfer.
    QStringList remoteNames()
    {
        QStringList names;
        FindData record;
        const FtpHandle find = curl.FtpFindFirstFile(harness.session.ConnectionHandle, u"/pub/*.*"_s, record,
                                                     ftp::INTERNET_FLAG_RELOAD | ftp::INTERNET_FLAG_NO_CACHE_WRITE, 0);
        for (bool more = find != 0; more; more = curl.InternetFindNextFile(find, record))
            names.append(record.name);
        curl.InternetCloseHandle(find);
        return names;
    }
};

TEST_F(SlowServerTransferTest, ACancelledDownloadStopsWhileTheServerSendsAndTheSessionListsRightAfter)
{
    served().createFile(u"pub/lent.bin"_s, QByteArray(1024 * 1024, 'x'));
    local.createFile(u"lent.bin"_s, "the previous copy");
    cancelAfterSecondBlock();
    run(TransferDirection::Download, {u"lent.bin"_s});

    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Operation abandonnée."_s});
    EXPECT_EQ(local.read(u"lent.bin"_s), "the previous copy");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"lent.bin"_s});
    EXPECT_FALSE(server.commandLog().contains("completed=1")) << "the server was still sending";
    EXPECT_EQ(remoteNames(), QStringList{u"lent.bin"_s});
}

TEST_F(SlowServerTransferTest, ACancelledUploadLeavesNoPartialFileAndTheSessionListsRightAfter)
{
    QFile big(local.createFile(u"gros.bin"_s));
    ASSERT_TRUE(big.resize(16 * 1024 * 1024));
    served().createFile(u"pub/autre.txt"_s, "autre");
    cancelAfterSecondBlock();
    run(TransferDirection::Upload, {u"gros.bin"_s});

    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Operation abandonnée."_s});
    EXPECT_TRUE(harness.log.text().contains(u" > Fichier incomplet supprimé : /pub/gros.bin"_s));
    EXPECT_FALSE(server.commandLog().contains("completed=1")) << "the server was still taking data";
    EXPECT_EQ(remoteNames(), QStringList{u"autre.txt"_s});
}

} // namespace
} // namespace vendrel
