#include "remote/RemoteTexts.h"
#include "support/PaneHarness.h"
#include "support/PinnedTimeZone.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

struct RemoteBrowserTest : test::RemotePaneHarness, ::testing::Test {
    RemoteBrowserTest() { connectToFakeServer(); }
};

TEST_F(RemoteBrowserTest, FilesBecomeRowsFoldersBecomeNodesAndTheFindHandleIsClosed)
{
    openPub();
    EXPECT_EQ(rowNames(), (QStringList{u"x.zip"_s, u"y.txt"_s}));
    EXPECT_EQ(childKeys(u"/pub/"_s), (QStringList{u"/pub/a/"_s, u"/pub/b/"_s}));
    EXPECT_EQ(treeWidget.currentItem(), tree.nodeByKey(u"/pub/"_s));
    EXPECT_EQ(status.panelText(StatusPanels::MessagePanel), u"Serveur: 2 Fichiers dans le dossier: /pub/*.*"_s);
    EXPECT_EQ(ftp.callTexts().first(), u"FtpFindFirstFile(17, /pub/*.*, 0x84000000, 0)"_s);
    EXPECT_EQ(ftp.openHandles.size(), 2);
    EXPECT_EQ(label3.text(), u"/pub/*.*"_s);
}

TEST_F(RemoteBrowserTest, InstantsShowInTheUsersZoneOldDaysAloneAndAllSortByTime)
{
    const test::PinnedTimeZone paris(test::PinnedTimeZone::paris);
    ftp.addFile(u"/pub/instant.txt"_s, {}, QDateTime(QDate(2006, 12, 5), QTime(21, 7), Qt::UTC), ServerTime::Utc);
    ftp.addFile(u"/pub/old.txt"_s, {}, QDateTime(QDate(2007, 1, 10), QTime(0, 0), Qt::UTC), ServerTime::DateOnly);
    openPub(); // x.zip and y.txt: 5.12.2006 9:07 on the server's clock
    const auto dateText = [this](const QString &name) { return files.cellText(rowOf(name), FileListModel::DateTime); };
    EXPECT_EQ(dateText(u"instant.txt"_s), u"5.12.2006 22:07"_s);
    EXPECT_EQ(dateText(u"old.txt"_s), u"10.1.2007"_s);
    EXPECT_EQ(dateText(u"x.zip"_s), u"5.12.2006 9:07"_s);
    files.sortBy(FileListModel::DateTime, Qt::DescendingOrder);
    EXPECT_EQ(rowNames(), (QStringList{u"old.txt"_s, u"instant.txt"_s, u"x.zip"_s, u"y.txt"_s}));
}

TEST_F(RemoteBrowserTest, NodesOpenTheirFolderAndListingAgainNeverAddsANodeTwice)
{
    openPub();
    ftp.addFolder(u"/pub/a/inner"_s);
    ftp.addFile(u"/pub/a/inside.txt"_s);
    clickNode(u"/pub/a/"_s);
    EXPECT_EQ(session.RemoteSearchSpec, u"/pub/a/*.*"_s);
    EXPECT_EQ(rowNames(), QStringList{u"inside.txt"_s});
    EXPECT_EQ(childKeys(u"/pub/a/"_s), QStringList{u"/pub/a/inner/"_s});

    ftp.addFolder(u"/pub/c"_s);
    clickNode(u"/pub/"_s);
    browser.ListRemoteFolder();
    EXPECT_EQ(childKeys(u"/pub/"_s), (QStringList{u"/pub/a/"_s, u"/pub/b/"_s, u"/pub/c/"_s}));
    EXPECT_EQ(tree.nodeByKey(u"/pub/a/inner/"_s), nullptr);
    EXPECT_EQ(files.rowCount(), 2);

    clickNode(u"/"_s);
    EXPECT_EQ(session.RemoteFolder, u"/"_s);
    EXPECT_EQ(childKeys(u"/"_s), QStringList{u"/pub/"_s});
}

TEST_F(RemoteBrowserTest, TheLoginFolderGetsItsParentsAsNodesAndClearingEmptiesThePane)
{
    ftp.addFolder(u"/home/vendrel/docs"_s);
    ftp.addFile(u"/home/vendrel/notes.txt"_s);
    browser.openInitialFolder(u"/home/vendrel/"_s);
    EXPECT_EQ(childKeys(u"/"_s), QStringList{u"/home/"_s});
    EXPECT_EQ(childKeys(u"/home/"_s), QStringList{u"/home/vendrel/"_s});
    EXPECT_EQ(RemoteTree::keyOf(treeWidget.currentItem()), u"/home/vendrel/"_s);
    browser.clearPane();
    EXPECT_EQ(treeWidget.topLevelItemCount(), 0);
    EXPECT_EQ(files.rowCount(), 0);
    EXPECT_TRUE(label3.text().isEmpty());
}

TEST_F(RemoteBrowserTest, AnEmptyFolderIsNoErrorAFailedListingIsOneAndNoConnectionKeepsTheRows)
{
    ftp.addFolder(u"/empty"_s);
    browser.openInitialFolder(u"/empty/"_s);
    EXPECT_EQ(files.rowCount(), 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(ftp.callTexts().last(), u"InternetCloseHandle(0)"_s);

    openPub();
    ftp.failCall(u"FtpFindFirstFile"_s);
    browser.ListRemoteFolder();
    EXPECT_EQ(files.rowCount(), 0);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{u"Erreur rencontrée lors de la lecture du dossier !"_s});
    EXPECT_TRUE(log.text().endsWith(u" > Erreur rencontrée lors de la lecture du dossier !\r\n"_s));

    browser.ListRemoteFolder();
    ftp.calls.clear();
    session.ConnectionHandle = 0;
    browser.ListRemoteFolder();
    browser.zRemRef_Click();
    session.InternetHandle = 0;
    clickNode(u"/pub/a/"_s);
    EXPECT_EQ(dialogs.messages.size(), 4);
    EXPECT_EQ(files.rowCount(), 2);
    EXPECT_EQ(label3.text(), u"/pub/a/*.*"_s) << "the pattern still shows";
    EXPECT_TRUE(ftp.calls.isEmpty());
}

TEST_F(RemoteBrowserTest, AFilterHoldsAcrossFoldersUntilAllFilesAndAnUnsafeOneChangesNothing)
{
    openPub();
    dialogs.typeNext(u"*.txt"_s);
    browser.zDefine2_Click();
    EXPECT_TRUE(zDefine2.isChecked());
    EXPECT_FALSE(zAll2.isChecked());
    EXPECT_EQ(rowNames(), QStringList{u"y.txt"_s});
    ftp.addFile(u"/pub/a/n.txt"_s);
    ftp.addFile(u"/pub/a/n.zip"_s);
    clickNode(u"/pub/a/"_s);
    EXPECT_EQ(rowNames(), QStringList{u"n.txt"_s});
    browser.zAll2_Click();
    EXPECT_TRUE(zAll2.isChecked());
    EXPECT_EQ(rowNames().size(), 2);

    const QStringList callsBefore = ftp.callTexts();
    dialogs.typeNext(std::nullopt);
    browser.zDefine2_Click();
    dialogs.typeNext(u"../*.txt"_s);
    browser.zDefine2_Click();
    EXPECT_TRUE(zAll2.isChecked());
    EXPECT_EQ(browser.remoteFilter(), u"*.*"_s);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{u"Filtre erroné !"_s});
    EXPECT_EQ(ftp.callTexts(), callsBefore);
}

struct RemoteOperationsTest : RemoteBrowserTest {
    RemoteOperationsTest()
    {
        openPub();
        ftp.calls.clear();
    }

    void selectAll()
    {
        for (int row = 0; row < files.rowCount(); ++row)
            view.selectRow(row, row > 0);
    }
};

TEST_F(RemoteOperationsTest, ARenameAsksOnlyWhenTheExtensionChangesAndRelists)
{
    operations.ListView2_AfterLabelEdit(rowOf(u"y.txt"_s), u"b.txt"_s);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(ftp.callTexts().at(0), u"FtpRenameFile(17, /pub/y.txt, /pub/b.txt)"_s);
    EXPECT_EQ(rowNames(), (QStringList{u"b.txt"_s, u"x.zip"_s}));

    dialogs.answerNext(MessageAnswer::No);
    operations.ListView2_AfterLabelEdit(rowOf(u"b.txt"_s), u"b.zip"_s);
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{u"Etes vous sur de changer l'extension du fichier: \"txt\" to: \"zip\""_s});
    EXPECT_EQ(ftp.callNames().count(u"FtpRenameFile"_s), 1);
    dialogs.answerNext(MessageAnswer::Yes);
    operations.ListView2_AfterLabelEdit(rowOf(u"b.txt"_s), u"b.zip"_s);
    EXPECT_TRUE(ftp.hasFile(u"/pub/b.zip"_s));

    // Onto a listed name, it asks before the other file is replaced.
    dialogs.messages.clear();
    dialogs.answerNext(MessageAnswer::No);
    operations.ListView2_AfterLabelEdit(rowOf(u"b.zip"_s), u"x.zip"_s);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{RemoteTexts::replaceOnRenameQuestion(u"x.zip"_s)});
    EXPECT_TRUE(ftp.hasFile(u"/pub/b.zip"_s));
    dialogs.answerNext(MessageAnswer::Yes);
    operations.ListView2_AfterLabelEdit(rowOf(u"b.zip"_s), u"x.zip"_s);
    EXPECT_FALSE(ftp.hasFile(u"/pub/b.zip"_s));
}

TEST_F(RemoteOperationsTest, ARefusedOrEscapingRenameKeepsTheServersName)
{
    ftp.failCall(u"FtpRenameFile"_s);
    operations.ListView2_AfterLabelEdit(rowOf(u"y.txt"_s), u"z.txt"_s);
    for (const char *name : {"../y.txt", "/etc/y.txt", "a\\y.txt", "sub/../../y.txt"})
        operations.ListView2_AfterLabelEdit(rowOf(u"y.txt"_s), QString::fromLatin1(name));
    EXPECT_EQ(ftp.callNames().count(u"FtpRenameFile"_s), 1);
    EXPECT_EQ(dialogs.messageTexts(), QStringList(5, RemoteTexts::cannotRename));
    EXPECT_EQ(rowNames(), (QStringList{u"x.zip"_s, u"y.txt"_s}));

    operations.zRemRS_Click(); // no current row
    session.ConnectionHandle = 0;
    operations.zRemRS_Click();
    EXPECT_EQ(dialogs.messages.size(), 7);
}

TEST_F(RemoteOperationsTest, DeletingTheCurrentFolderSelectsAndListsItsParent)
{
    ftp.addFolder(u"/pub/old"_s);
    clickNode(u"/pub/"_s);
    clickNode(u"/pub/old/"_s);
    ftp.calls.clear();
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zRemDF_Click();
    EXPECT_EQ(ftp.callTexts().at(0), u"FtpRemoveDirectory(17, /pub/old)"_s);
    EXPECT_FALSE(ftp.hasFolder(u"/pub/old"_s));
    EXPECT_EQ(RemoteTree::keyOf(treeWidget.currentItem()), u"/pub/"_s);
    EXPECT_EQ(session.RemoteFolder, u"/pub/"_s);
    EXPECT_EQ(tree.nodeByKey(u"/pub/old/"_s), nullptr);
}

TEST_F(RemoteOperationsTest, TheRootIsNeverDeletedAFullFolderStaysAndNoSendsNothing)
{
    clickNode(u"/"_s);
    operations.zRemDF_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{RemoteTexts::rootFolder});
    clickNode(u"/pub/"_s);
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zRemDF_Click(); // /pub holds files
    EXPECT_EQ(dialogs.messageTexts().last(), RemoteTexts::folderNotRemoved);
    EXPECT_TRUE(ftp.hasFolder(u"/pub"_s));
    dialogs.answerNext(MessageAnswer::No);
    ftp.calls.clear();
    operations.zRemDF_Click();
    EXPECT_TRUE(ftp.calls.isEmpty());
}

TEST_F(RemoteOperationsTest, DeletingSelectedFilesAsksOnceAndStopsAtTheFirstRefusal)
{
    ftp.addFile(u"/pub/z.txt"_s);
    browser.zRemRef_Click();
    selectAll();
    ftp.failCall(u"FtpDeleteFile"_s, 1, 1); // the second one
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zRemDS_Click();
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{RemoteTexts::deleteFileQuestion, RemoteTexts::fileNotDeleted}));
    EXPECT_FALSE(ftp.hasFile(u"/pub/x.zip"_s));
    EXPECT_TRUE(ftp.hasFile(u"/pub/z.txt"_s)) << "never tried";
    EXPECT_EQ(rowNames(), (QStringList{u"y.txt"_s, u"z.txt"_s})) << "listed again";

    selectAll();
    dialogs.answerNext(MessageAnswer::Yes);
    operations.ListView2_KeyUp(Qt::Key_Delete);
    EXPECT_TRUE(rowNames().isEmpty());
    dialogs.messages.clear();
    operations.zRemDS_Click(); // nothing selected
    operations.ListView2_KeyUp(Qt::Key_Return);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{RemoteTexts::noFileToDelete});
}

TEST_F(RemoteOperationsTest, ANewFolderIsSentAndShownButNoNameAnExistingOrAnEscapingOneIsNot)
{
    dialogs.typeNext(u"nouveau dossier"_s);
    operations.zRemNF_Click();
    EXPECT_EQ(ftp.callTexts().at(0), u"FtpCreateDirectory(17, /pub/nouveau dossier)"_s);
    EXPECT_NE(tree.nodeByKey(u"/pub/nouveau dossier/"_s), nullptr);

    ftp.calls.clear();
    for (const std::optional<QString> &nothing : {std::optional<QString>(), std::optional(u"   "_s)}) {
        dialogs.typeNext(nothing);
        operations.zRemNF_Click();
    }
    EXPECT_TRUE(ftp.calls.isEmpty());
    dialogs.typeNext(u"a"_s);
    operations.zRemNF_Click();
    dialogs.typeNext(u"../dehors"_s);
    operations.zRemNF_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList(2, RemoteTexts::folderNotCreated));
    EXPECT_EQ(ftp.callNames().count(u"FtpCreateDirectory"_s), 1) << "\"../dehors\" never left";
}

// Sorting by a column click is the local pane's test: both panes share the view's.
TEST_F(RemoteOperationsTest, AClickSumsTheSelectedFilesInKoOf1024Bytes)
{
    view.selectRow(0);
    view.selectRow(1, true);
    operations.ListView2_Click();
    EXPECT_EQ(status.panelText(StatusPanels::MessagePanel), u"Serveur: 2 Fichiers sélectionnés, 2,56 Ko"_s);
}

} // namespace
} // namespace vendrel
