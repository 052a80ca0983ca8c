#include "local/LocalFileOperations.h"
#include "app/LogFileCommands.h"
#include "local/LocalTexts.h"
#include "support/FakeShell.h"
#include "support/PaneHarness.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

struct LocalFileOperationsTest : test::LocalPaneHarness, ::testing::Test {
    LocalFileOperationsTest()
    {
        temp.createDir(u"program/Logon"_s);
        log.AppendLogLine(u" > Connecté à « ftp.exemple.fr »"_s);
        log.AppendUntimedLine(u"1.) /pub/été.txt"_s);
    }

    void open(const QStringList &names)
    {
        for (const QString &name : names)
            temp.createFile(name, name.toUtf8());
        browser.openFolder(temp.path());
    }
    void select(const QStringList &names)
    {
        for (const QString &name : names)
            ListView1.selectRow(rowOf(name), name != names.first());
    }
    void rename(const QString &from, const QString &to)
    {
        select({from});
        Q_EMIT ListView1.labelEdited(rowOf(from), to);
    }
    QStringList filesOnDisk() const { return QDir(temp.path()).entryList(QDir::Files | QDir::Hidden); }

    const QString programFolder = temp.filePath(u"program"_s);
    test::FakeShell shell;
    LocalFileOperations operations{context(), browser, shell, programFolder};
    LogFileCommands commands{log, dialogs, programFolder,
                             [this](const QString &folder) { browser.openFolder(folder); }};
};

TEST_F(LocalFileOperationsTest, ARenameAsksOnlyWhenTheExtensionChangesCaseIncluded)
{
    open({u"a.txt"_s, u"b.TXT"_s, u"c.txt"_s});
    select({u"a.txt"_s});
    operations.zLokRS_Click();
    EXPECT_NE(ListView1.activeView()->viewport()->findChild<QLineEdit *>(), nullptr) << "the name editor is open";
    Q_EMIT ListView1.labelEdited(0, u"z.txt"_s);
    EXPECT_EQ(temp.read(u"z.txt"_s), "a.txt");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    dialogs.answerNext(MessageAnswer::No);
    rename(u"c.txt"_s, u"c.doc"_s);
    EXPECT_TRUE(temp.exists(u"c.txt"_s));
    dialogs.answerNext(MessageAnswer::Yes);
    rename(u"b.TXT"_s, u"b.txt"_s);
    EXPECT_EQ(dialogs.messageTexts().last(),
              u"Etes vous sur de changer l'exrtension du fichier: \"TXT\" to: \"txt\""_s);
    EXPECT_EQ(filesOnDisk(), (QStringList{u"b.txt"_s, u"c.txt"_s, u"z.txt"_s}));
    EXPECT_EQ(rowNames(), filesOnDisk());
}

TEST_F(LocalFileOperationsTest, ARenameThatCannotHappenSaysSoAndLosesNothing)
{
    open({u"a.txt"_s, u"b.txt"_s});
    temp.createDir(u"sub"_s);
    rename(u"a.txt"_s, u"b.txt"_s);
    rename(u"a.txt"_s, u"sub/a.txt"_s);
    rename(u"a.txt"_s, u"a.txt"_s); // no change, no message
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(temp.read(u"a.txt"_s), "a.txt");
    EXPECT_EQ(temp.read(u"b.txt"_s), "b.txt");

    QFile::remove(temp.filePath(u"a.txt"_s));
    rename(u"a.txt"_s, u"c.txt"_s);
    EXPECT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(rowNames(), QStringList{u"b.txt"_s});
}

TEST_F(LocalFileOperationsTest, RootsAndTheProgramFoldersAreNeverDeleted)
{
    for (const QString &folder : {u"/"_s, programFolder, temp.filePath(u"program/Logon"_s)}) {
        browser.openFolder(folder);
        operations.zLokDF_Click();
        EXPECT_EQ(dialogs.messages.last().buttons, MessageButtons::Ok) << "nothing asked";
        EXPECT_TRUE(QFileInfo(folder).isDir());
    }
}

TEST_F(LocalFileOperationsTest, DeletingTheCurrentFolderAsksAndShowsItsParentButAFullOneStays)
{
    const QString old = temp.createDir(u"OLD"_s);
    browser.openFolder(old);
    dialogs.answerNext(MessageAnswer::No);
    Q_EMIT Dir1.keyReleased(Qt::Key_Delete);
    EXPECT_TRUE(temp.exists(u"OLD"_s));
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zLokDF_Click();
    EXPECT_FALSE(temp.exists(u"OLD"_s));
    EXPECT_EQ(session.LocalFolder, temp.folder());

    const QString full = temp.createDir(u"full"_s);
    temp.createFile(u"full/.hidden"_s);
    browser.openFolder(full);
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zLokDF_Click();
    EXPECT_EQ(dialogs.messageTexts().last(), LocalTexts::folderNotRemoved(u"full"_s, false));
    EXPECT_TRUE(temp.exists(u"full/.hidden"_s));
    EXPECT_EQ(Dir1.path(), full);
}

TEST_F(LocalFileOperationsTest, DeletingFilesAsksOnceDeletesTheSelectedRowsAndNamesWhatStayed)
{
    open({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s});
    operations.zLokDS_Click(); // nothing selected
    select({u"a.txt"_s, u"b.txt"_s, u"d.txt"_s});
    // b.txt became a folder since the listing, d.txt has gone already.
    QFile::remove(temp.filePath(u"b.txt"_s));
    temp.createDir(u"b.txt"_s);
    QFile::remove(temp.filePath(u"d.txt"_s));
    dialogs.answerNext(MessageAnswer::Yes);
    Q_EMIT ListView1.keyPressed(Qt::Key_Delete);
    EXPECT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(dialogs.messageTexts().last(), LocalTexts::filesNotDeleted({u"b.txt"_s}));
    EXPECT_EQ(filesOnDisk(), QStringList{u"c.txt"_s});
    EXPECT_EQ(rowNames(), QStringList{u"c.txt"_s});
}

TEST_F(LocalFileOperationsTest, ANewFolderShowsInDir1OrSaysWhyNot)
{
    open({u"a.txt"_s});
    select({u"a.txt"_s});
    dialogs.typeNext(u"Photos"_s);
    operations.zLokNF_Click();
    EXPECT_TRUE(QFileInfo(temp.filePath(u"Photos"_s)).isDir());
    EXPECT_EQ(Dir1.currentFolderItem()->child(0)->text(0), u"Photos"_s);
    EXPECT_EQ(ListView1.currentRow(), rowOf(u"a.txt"_s)) << "the file list stays";

    const QStringList before = QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const std::optional<QString> &typed : {std::optional(u"Photos"_s), std::optional(u"missing/inner"_s),
                                                std::optional<QString>(), std::optional(u"  "_s)}) {
        dialogs.typeNext(typed);
        operations.zLokNF_Click();
    }
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

TEST_F(LocalFileOperationsTest, OpenPropertiesAndFindGoToTheShellForTheCurrentFile)
{
    open({u"a.txt"_s, u"b.txt"_s});
    operations.zOpenFile_Click();
    operations.zProperties_Click();
    EXPECT_EQ(dialogs.messages.size(), 2);

    select({u"b.txt"_s, u"a.txt"_s});
    Q_EMIT ListView1.keyPressed(Qt::Key_Return);
    Q_EMIT ListView1.rowDoubleClicked(rowOf(u"a.txt"_s));
    operations.zProperties_Click();
    operations.zFind_Click();
    EXPECT_EQ(shell.openedDocuments, QStringList(2, temp.filePath(u"a.txt"_s)));
    EXPECT_EQ(shell.propertiesShown, QStringList{temp.filePath(u"a.txt"_s)});
    EXPECT_EQ(shell.searchesStarted, QStringList{temp.folder()});

    shell.openSucceeds = false;
    operations.zOpenFile_Click();
    EXPECT_EQ(dialogs.messageTexts().last(), LocalTexts::noProgramOpens(u"a.txt"_s));
    QFile::remove(temp.filePath(u"a.txt"_s));
    operations.zOpenFile_Click();
    EXPECT_EQ(rowNames(), QStringList{u"b.txt"_s});
    EXPECT_EQ(shell.openedDocuments.size(), 3);
}

TEST_F(LocalFileOperationsTest, TheLogIsSavedBesideTheProgramInWindows1252WithCrLfAndTxtAlwaysAdded)
{
    dialogs.typeNext(u"session.txt"_s);
    commands.zSave_Click();
    EXPECT_EQ(temp.read(u"program/session.txt.txt"_s),
              QByteArray("14:07:33 > Connect\xe9 \xe0 \xab ftp.exemple.fr \xbb\r\n1.) /pub/\xe9t\xe9.txt\r\n"));
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{u"Fichier enregistré : \r\n"_s + programFolder + u"/session.txt.txt"_s});

    log.clear();
    log.AppendUntimedLine(u"court"_s);
    dialogs.typeNext(u"session.txt"_s);
    commands.zSave_Click();
    EXPECT_EQ(temp.read(u"program/session.txt.txt"_s), QByteArray("court\r\n")) << "nothing of the longer log";
}

TEST_F(LocalFileOperationsTest, NothingIsWrittenWithoutALogOrANameOrWhereItCannotBe)
{
    dialogs.typeNext(std::nullopt);
    commands.zSave_Click();
    dialogs.typeNext(QString());
    commands.zSave_Click();
    const QString before = log.text();
    dialogs.typeNext(u"absent/journal"_s);
    commands.zSave_Click();
    EXPECT_EQ(log.text(), before);
    log.clear();
    commands.zSave_Click(); // asks no name for an empty log
    EXPECT_EQ(dialogs.inputsAsked, 3);
    EXPECT_EQ(dialogs.messages.size(), 4);
    EXPECT_EQ(QDir(programFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"Logon"_s});
}

TEST_F(LocalFileOperationsTest, OpenLogFileSwitchesTheLocalPaneToTheProgramFolder)
{
    temp.createFile(u"program/journal.txt"_s);
    browser.openFolder(temp.path());
    commands.zOpen_Click();
    EXPECT_EQ(session.LocalFolder, programFolder + u'/');
    EXPECT_EQ(rowNames(), QStringList{u"journal.txt"_s});
}

} // namespace
} // namespace vendrel
