#include "support/SessionHarness.h"
#include "support/TempFolder.h"
#include "transfer/FrmProg.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// The transfer window and its engines over the fake server, with a clock
// that moves 40 ms per block, so the window repaints and lets events in.
struct TransferEngineTest : ::testing::Test {
    void SetUp() override
    {
        harness.ftp.tickPerBlock(harness.clock, 40);
        harness.connectToFakeServer();
        harness.session.LocalFolder = local.folder();
        harness.session.RemoteFolder = u"/pub/"_s;
        harness.session.TransferType = ftp::FTP_TRANSFER_TYPE_BINARY;
    }

    FrmProg &window(TransferDirection direction, const QList<std::pair<QString, qint64>> &files)
    {
        TransferBatch batch{direction, harness.session.LocalFolder, harness.session.RemoteFolder};
        for (const auto &[name, size] : files)
            batch.append(name, size);
        frmProg.setBatch(batch);
        return frmProg;
    }
    template <typename T>
    T *control(const char *name)
    {
        return frmProg.findChild<T *>(QString::fromLatin1(name));
    }
    QString text(const char *name) { return control<QLabel>(name)->text(); }
    QStringList logLines() const
    {
        QStringList lines;
        for (const QString &line : harness.log.text().split(u"\r\n"_s, Qt::SkipEmptyParts))
            lines.append(line.mid(line.indexOf(u" > "_s)));
        return lines;
    }
    QList<quint32> sizesOf(const QString &call) const
    {
        QList<quint32> sizes;
        for (const test::FtpCall &made : harness.ftp.calls)
            if (made.name == call)
                sizes.append(made.arguments.at(1).toUInt());
        return sizes;
    }
    QStringList localEntries() const { return QDir(local.path()).entryList(QDir::Files | QDir::Hidden); }

    test::SessionHarness harness;
    test::TempFolder local;
    FrmProg frmProg{harness.context()};
};

// Byte-exact copies and replacing a longer file are checked against the real
// server; here, how the engine reads and what it leaves open.
TEST_F(TransferEngineTest, ReadsAreCountedPerFileSizeAndNothingStaysOpen)
{
    harness.ftp.addFile(u"/pub/a.bin"_s, QByteArray(2048, 'a'));
    harness.ftp.addFile(u"/pub/b.bin"_s, QByteArray(1500, 'b'));
    harness.ftp.addFile(u"/pub/vide.txt"_s);
    window(TransferDirection::Download, {{u"a.bin"_s, 2048}, {u"b.bin"_s, 1500}, {u"vide.txt"_s, 0}}).Command3_Click();

    EXPECT_EQ(sizesOf(u"InternetReadFile"_s), QList<quint32>(6, 1024)) << "3 reads, 2 reads, 1 read";
    EXPECT_EQ(localEntries(), (QStringList{u"a.bin"_s, u"b.bin"_s, u"vide.txt"_s})) << "no temporary file stays";
    EXPECT_EQ(frmProg.result(), QDialog::Accepted);
    EXPECT_EQ(harness.ftp.openHandles.size(), 2) << "only the session's handles remain open";
}

// Mid-run no figure comes from less than a second; at the end, the amounts,
// time and speed of the run.
TEST_F(TransferEngineTest, TheDisplayEndsWithTheRunsFigures)
{
    harness.ftp.addFile(u"/pub/grand fichier d'archive.zip"_s, QByteArray(40 * 1024, 'a'));
    window(TransferDirection::Download, {{u"grand fichier d'archive.zip"_s, 40 * 1024}});
    QStringList speedsShown;
    harness.ftp.beforeBlock(20, [&] { speedsShown << text("lbSpeed") << text("lbTimeLeft"); });
    frmProg.Command3_Click();

    EXPECT_EQ(speedsShown, (QStringList{QString(), QString()})) << "no figure from less than a second";
    EXPECT_EQ(text("lbCelkem"), u"40 960, Oct."_s);
    EXPECT_EQ(text("lbCount"), u"1"_s);
    // 40 KiB in 41 reads of 40 ms, the last one empty: 40960 bytes in 1.64 s.
    EXPECT_EQ(text("lbTime"), u"2 s"_s);
    EXPECT_EQ(text("lbSpeed"), u"24,98 Ko sec"_s);
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), control<QProgressBar>("ProgressBar1")->maximum());
    EXPECT_EQ(control<QProgressBar>("ProgressBar2")->value(), control<QProgressBar>("ProgressBar2")->maximum());
}

TEST_F(TransferEngineTest, ARemoteFileThatCannotBeOpenedStopsTheRunAndStartingAgainBeginsAtTheFirst)
{
    harness.ftp.addFile(u"/pub/a.bin"_s, "first");
    harness.ftp.addFile(u"/pub/c.bin"_s, "third");
    window(TransferDirection::Download, {{u"a.bin"_s, 5}, {u"absent.bin"_s, 7}, {u"c.bin"_s, 5}});
    frmProg.Command3_Click();

    EXPECT_EQ(local.read(u"a.bin"_s), "first");
    EXPECT_FALSE(local.exists(u"absent.bin"_s));
    EXPECT_FALSE(local.exists(u"c.bin"_s));
    ASSERT_EQ(harness.dialogs.messages.size(), 1);
    EXPECT_EQ(harness.dialogs.messages[0].text, u"Ne peut ouvrir le fichier avec ce dossier !"_s);
    EXPECT_EQ(frmProg.result(), 0) << "the window stays";
    EXPECT_TRUE(control<QPushButton>("Command3")->isEnabled());
    EXPECT_EQ(localEntries(), QStringList{u"a.bin"_s});

    harness.ftp.addFile(u"/pub/absent.bin"_s, "present");
    harness.ftp.calls.clear();
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, true});
    frmProg.Command3_Click();
    EXPECT_EQ(harness.ftp.calls.first().arguments.at(1), u"/pub/a.bin"_s);
    EXPECT_EQ(local.read(u"c.bin"_s), "third");
    EXPECT_EQ(frmProg.result(), QDialog::Accepted);
}

// A server that ends a file early and says all went well: in binary, the
// size received must match the listing and the announcement, unless the
// server now gives that size (the file changed since it was listed).
TEST_F(TransferEngineTest, ABinaryDownloadOfTheWrongSizeKeepsTheOldFileUnlessTheServerConfirmsIt)
{
    harness.ftp.addFile(u"/pub/cut.bin"_s, QByteArray(5000, 'c'));     // listed at 10240
    harness.ftp.addFile(u"/pub/grown.bin"_s, QByteArray(5000, 'g'));   // announced at 4000
    harness.ftp.addFile(u"/pub/changed.bin"_s, QByteArray(5000, 'n')); // listed at 10240, server says 5000
    harness.ftp.announceSize(u"/pub/grown.bin"_s, 4000);
    for (const char *name : {"cut.bin", "grown.bin", "changed.bin"})
        local.createFile(QString::fromLatin1(name), "the good old file");
    harness.ftp.failCall(u"FtpGetRemoteFileSize"_s, 2); // SIZE and MLST refused for the first two
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, true});
    window(TransferDirection::Download, {{u"cut.bin"_s, 10240}, {u"grown.bin"_s, 5000}, {u"changed.bin"_s, 10240}})
        .Command3_Click();

    EXPECT_EQ(local.read(u"cut.bin"_s), "the good old file");
    EXPECT_EQ(local.read(u"grown.bin"_s), "the good old file");
    EXPECT_EQ(local.read(u"changed.bin"_s), QByteArray(5000, 'n'));
    EXPECT_EQ(localEntries().size(), 3);
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList(2, u"Erreur lors du tranfert des données !"_s))
        << "no success message";

    // In ASCII the sizes differ by the line ends: nothing is checked.
    harness.dialogs.messages.clear();
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, false});
    harness.ftp.calls.clear();
    harness.session.TransferType = ftp::FTP_TRANSFER_TYPE_ASCII;
    window(TransferDirection::Download, {{u"cut.bin"_s, 10240}}).Command3_Click();
    EXPECT_EQ(local.read(u"cut.bin"_s), QByteArray(5000, 'c'));
    EXPECT_FALSE(harness.dialogs.existingFileQuestions.last().resumable) << "ASCII offsets are not the server's";
    EXPECT_FALSE(harness.ftp.callNames().contains(u"FtpGetRemoteFileSize"_s));
}

TEST_F(TransferEngineTest, ALocalFileThatCannotBeCreatedStopsTheRunBeforeTheServerIsAsked)
{
    harness.ftp.addFile(u"/pub/a.bin"_s, "a");
    harness.session.LocalFolder = local.folder() + u"gone/"_s;
    window(TransferDirection::Download, {{u"a.bin"_s, 1}}).Command3_Click();

    const QString path = local.folder() + u"gone/a.bin"_s;
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Ne peut créer le fichier local "_s + path + u" !"_s});
    EXPECT_FALSE(harness.ftp.callNames().contains(u"FtpOpenFile"_s));
}

TEST_F(TransferEngineTest, UploadWritesFullBlocksThenTheRestAndOneEmptyWriteForAnEmptyFile)
{
    const QByteArray a(1024, 'a'), b(2048, 'b'), c(1500, 'c');
    local.createFile(u"a.bin"_s, a);
    local.createFile(u"b.bin"_s, b);
    local.createFile(u"c.bin"_s, c);
    local.createFile(u"vide.txt"_s);
    harness.ftp.addFolder(u"/pub"_s);
    harness.ftp.offerFileTimes(false); // a server without MFMT: nothing fails
    window(TransferDirection::Upload, {{u"a.bin"_s, 1024}, {u"b.bin"_s, 2048}, {u"c.bin"_s, 1000}, {u"vide.txt"_s, 0}})
        .Command3_Click();

    EXPECT_EQ(sizesOf(u"InternetWriteFile"_s), (QList<quint32>{1024, 1024, 1024, 1024, 476, 0}))
        << "c.bin goes at its length on disk, not its listed size";
    EXPECT_EQ(harness.ftp.fileContent(u"/pub/b.bin"_s), b);
    EXPECT_EQ(harness.ftp.fileContent(u"/pub/c.bin"_s), c);
    EXPECT_TRUE(harness.ftp.hasFile(u"/pub/vide.txt"_s));
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Transfert des données terminé avec succès !"_s});
    EXPECT_EQ(control<QProgressBar>("ProgressBar2")->value(), control<QProgressBar>("ProgressBar2")->maximum());
    EXPECT_EQ(frmProg.result(), QDialog::Accepted);
}

TEST_F(TransferEngineTest, UploadFailuresTellTheUserAndNeverEndInSuccess)
{
    local.createFile(u"a.bin"_s, QByteArray(3000, 'a'));
    local.createFile(u"c.bin"_s, "c");
    harness.ftp.addFolder(u"/pub"_s);
    harness.ftp.failCall(u"InternetWriteFile"_s, 2, 1); // taken up once, broken again
    window(TransferDirection::Upload, {{u"a.bin"_s, 3000}, {u"c.bin"_s, 1}, {u"absent.bin"_s, 1}}).Command3_Click();

    EXPECT_EQ(harness.ftp.fileContent(u"/pub/c.bin"_s), "c") << "the run goes on after a failed write";
    const QString missing = local.folder() + u"absent.bin"_s;
    EXPECT_EQ(harness.dialogs.messageTexts(), (QStringList{u"Erreur lors du tranfert des données !"_s,
                                                           u"Ne peut lire le fichier local "_s + missing + u" !"_s}));
    EXPECT_FALSE(harness.ftp.hasFile(u"/pub/absent.bin"_s)) << "nothing is created for a missing local file";
    EXPECT_FALSE(harness.ftp.hasFile(u"/pub/a.bin.vendrel-part"_s)) << "the failed upload's temporary is removed";
    EXPECT_EQ(frmProg.result(), 0);

    harness.ftp.failCall(u"FtpOpenFile"_s);
    harness.dialogs.messages.clear();
    frmProg.Command3_Click();
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Ne peut pas transférer le fichier sur le serveur !"_s});
}

TEST_F(TransferEngineTest, CancelDuringADownloadKeepsTheOldFileAndClosesTheWindow)
{
    harness.ftp.addFile(u"/pub/a.bin"_s, QByteArray(20 * 1024, 'n'));
    harness.ftp.addFile(u"/pub/b.bin"_s, "b");
    local.createFile(u"a.bin"_s, "old");
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, false});
    frmProg.show();
    window(TransferDirection::Download, {{u"a.bin"_s, 20 * 1024}, {u"b.bin"_s, 1}});
    harness.ftp.beforeBlock(3, [this] {
        QTimer::singleShot(0, &frmProg, [this] {
            frmProg.Command3_Click(); // a second start while running does nothing
            control<QPushButton>("Command1")->click();
        });
    });
    frmProg.Command3_Click();

    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Operation abandonnée."_s});
    EXPECT_EQ(local.read(u"a.bin"_s), "old");
    EXPECT_EQ(localEntries(), QStringList{u"a.bin"_s}) << "no temporary file, nothing of b.bin";
    EXPECT_EQ(harness.ftp.callNames().count(u"FtpOpenFile"_s), 1);
    EXPECT_EQ(harness.ftp.callNames().count(u"AbortTransfer"_s), 1);
    EXPECT_LT(harness.ftp.callNames().count(u"InternetReadFile"_s), 20);
    EXPECT_EQ(harness.ftp.openHandles.size(), 2) << "only the session's handles remain open";
    EXPECT_FALSE(frmProg.isVisible());
    EXPECT_EQ(frmProg.result(), QDialog::Rejected);
}

// The user's click handled while a write waits for the server: the write
// fails under the engine, which is a cancel, not a broken transfer.
TEST_F(TransferEngineTest, CancelWhileAnUploadWaitsRemovesThePartialRemoteFile)
{
    local.createFile(u"a.bin"_s, QByteArray(20 * 1024, 'a'));
    harness.ftp.addFolder(u"/pub"_s);
    window(TransferDirection::Upload, {{u"a.bin"_s, 20 * 1024}});
    harness.ftp.beforeBlock(3, [this] { control<QPushButton>("Command1")->click(); });
    frmProg.Command3_Click();

    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Operation abandonnée."_s});
    EXPECT_FALSE(harness.ftp.hasFile(u"/pub/a.bin"_s));
    EXPECT_EQ(logLines().mid(logLines().size() - 2),
              (QStringList{u" > Transfert annulé."_s, u" > Fichier incomplet supprimé : /pub/a.bin.vendrel-part"_s}));
    EXPECT_EQ(harness.ftp.callNames().count(u"InternetWriteFile"_s), 3);
    EXPECT_EQ(frmProg.result(), QDialog::Rejected);

    harness.ftp.failCall(u"FtpDeleteFile"_s);
    FrmProg again{harness.context()};
    TransferBatch batch{TransferDirection::Upload, harness.session.LocalFolder, harness.session.RemoteFolder};
    batch.append(u"a.bin"_s, 20 * 1024);
    again.setBatch(batch);
    harness.ftp.beforeBlock(6, [&again] { again.findChild<QPushButton *>(u"Command1"_s)->click(); });
    again.Command3_Click();
    EXPECT_EQ(logLines().last(), u" > Le fichier incomplet n'a pu être supprimé : /pub/a.bin.vendrel-part"_s);
}

TEST_F(TransferEngineTest, ClosingTheWindowDuringAnUploadCancelsFirst)
{
    local.createFile(u"a.bin"_s, QByteArray(20 * 1024, 'a'));
    local.createFile(u"b.bin"_s, "b");
    harness.ftp.addFolder(u"/pub"_s);
    frmProg.show();
    window(TransferDirection::Upload, {{u"a.bin"_s, 20 * 1024}, {u"b.bin"_s, 1}});
    harness.ftp.beforeBlock(3, [this] { QTimer::singleShot(0, &frmProg, [this] { frmProg.close(); }); });
    frmProg.Command3_Click();

    EXPECT_FALSE(frmProg.isVisible());
    EXPECT_FALSE(frmProg.isRunning());
    EXPECT_FALSE(harness.ftp.hasFile(u"/pub/a.bin"_s));
    EXPECT_FALSE(harness.ftp.hasFile(u"/pub/b.bin"_s)) << "the run stopped at the cancelled file";
    EXPECT_LT(harness.ftp.callNames().count(u"InternetWriteFile"_s), 20);
    EXPECT_TRUE(harness.dialogs.messages.isEmpty());
}

// "Annuler" stops the run; on a server that will not rename over a file, the
// old one is deleted just before the complete new one takes its name.
TEST_F(TransferEngineTest, CancelStopsTheRunAndAReplacedServerFileGivesWayOnlyOnceTheNewOneIsComplete)
{
    for (const char *name : {"a.txt", "b.txt"}) {
        harness.ftp.addFile(u"/pub/"_s + QLatin1String(name), "new");
        local.createFile(QLatin1String(name), "old");
    }
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, false});
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Cancel, false});
    window(TransferDirection::Download, {{u"a.txt"_s, 3}, {u"b.txt"_s, 3}}).Command3_Click();
    EXPECT_EQ(local.read(u"a.txt"_s), "new");
    EXPECT_EQ(local.read(u"b.txt"_s), "old");
    EXPECT_EQ(frmProg.result(), QDialog::Rejected);

    harness.ftp.addFile(u"/pub/a.txt"_s, "server's");
    harness.dialogs.answerExistingFileNext({ExistingFileChoice::Replace, true});
    harness.ftp.calls.clear();
    window(TransferDirection::Upload, {{u"a.txt"_s, 3}}).Command3_Click();
    EXPECT_EQ(harness.ftp.fileContent(u"/pub/a.txt"_s), "new");
    const QStringList calls = harness.ftp.callNames();
    EXPECT_LT(calls.lastIndexOf(u"InternetCloseHandle"_s), calls.indexOf(u"FtpDeleteFile"_s));
    EXPECT_FALSE(harness.ftp.hasFile(u"/pub/a.txt.vendrel-part"_s));
}

// An upload is taken up once from what the server holds, with only the rest
// sent; a download that breaks again once taken up fails.
TEST_F(TransferEngineTest, ABrokenTransferIsTakenUpOnlyOnce)
{
    const QByteArray data = test::randomBytes(5000);
    local.createFile(u"cut.bin"_s, data);
    harness.ftp.addFolder(u"/pub"_s);
    harness.ftp.failCall(u"InternetWriteFile"_s, 1, 2);
    window(TransferDirection::Upload, {{u"cut.bin"_s, 5000}}).Command3_Click();
    EXPECT_EQ(harness.ftp.fileContent(u"/pub/cut.bin"_s), data);
    EXPECT_TRUE(
        harness.ftp.callTexts().contains(u"FtpOpenFileAt(17, /pub/cut.bin.vendrel-part, 0x40000000, 2, 2048)"_s));
    EXPECT_EQ(sizesOf(u"InternetWriteFile"_s).size(), 2 + 1 + 3);

    harness.ftp.addFile(u"/pub/twice.bin"_s, data);
    harness.ftp.failCall(u"InternetReadFile"_s, 2, 1);
    window(TransferDirection::Download, {{u"twice.bin"_s, 5000}}).Command3_Click();
    EXPECT_FALSE(local.exists(u"twice.bin"_s));
    EXPECT_EQ(harness.dialogs.messageTexts().last(), u"Erreur lors du tranfert des données !"_s);
}

} // namespace
} // namespace vendrel
