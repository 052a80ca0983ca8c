#include "support/PinnedTimeZone.h"
#include "support/RemotePaneHarness.h"

#include <gtest/gtest.h>

#include <gtest/gtest.h>

namespace vendrel {
namespace {

struct RemoteBrowserTest : test::RemotePaneHarness, ::testing::Test {
    RemoteBrowserTest() { connectToFakeServer(); }
};

TEST_F(RemoteBrowserTest, FilesBecomeRowsAndFoldersBecomeNodes)
{
    openPub();

    ASSERT_EQ(files.rowCount(), 2);
    EXPECT_EQ(files.cellText(0, FileListModel::Name), QStringLiteral("x.zip"));
    EXPECT_EQ(files.fileRow(0).icon, 7);
    EXPECT_EQ(files.cellText(0, FileListModel::SizeKo), QStringLiteral("1,5Ko"));
    EXPECT_EQ(files.cellText(0, FileListModel::DateTime), QStringLiteral("5.12.2006 9:07"));
    EXPECT_EQ(files.cellText(1, FileListModel::Name), QStringLiteral("y.txt"));
    EXPECT_EQ(files.fileRow(1).icon, 3);
    EXPECT_EQ(files.cellText(1, FileListModel::SizeKo), QStringLiteral("1,Ko"));

    EXPECT_EQ(childKeys(QStringLiteral("/pub/")), (QStringList{QStringLiteral("/pub/a/"), QStringLiteral("/pub/b/")}));
    EXPECT_EQ(tree.nodeByKey(QStringLiteral("/pub/a/"))->text(0), QStringLiteral("a"));
    EXPECT_EQ(tree.root()->text(0), QStringLiteral(".."));
    EXPECT_TRUE(tree.root()->isExpanded());
    EXPECT_EQ(treeWidget.currentItem(), tree.nodeByKey(QStringLiteral("/pub/")));

    EXPECT_EQ(status.panelText(StatusPanels::MessagePanel),
              QStringLiteral("Serveur: 2 Fichiers dans le dossier: /pub/*.*"));
    EXPECT_EQ(log.text(), QStringLiteral("14:07:33 > Transfert des données...\r\n"
                                         "14:07:33 > Ouverture du dossier: \"/pub/*.*\"\r\n"
                                         "14:07:33 > Transfert des données terminé avec succès.\r\n"));
    EXPECT_EQ(ftp.callTexts().first(), QStringLiteral("FtpFindFirstFile(17, /pub/*.*, 0x84000000, 0)"));
    EXPECT_EQ(ftp.callNames().last(), QStringLiteral("InternetCloseHandle"));
    EXPECT_EQ(ftp.openHandles.size(), 2); // the find handle was closed
    EXPECT_EQ(view.currentRow(), -1);
    EXPECT_EQ(label3.text(), QStringLiteral("/pub/*.*"));
}

TEST_F(RemoteBrowserTest, InstantsShowInTheUsersZoneOldDaysAloneAndAllSortByTime)
{
    const test::PinnedTimeZone paris(test::PinnedTimeZone::paris);
    ftp.addFile(QStringLiteral("/pub/instant.txt"), {}, QDateTime(QDate(2006, 12, 5), QTime(21, 7), Qt::UTC),
                ServerTime::Utc);
    ftp.addFile(QStringLiteral("/pub/old.txt"), {}, QDateTime(QDate(2007, 1, 10), QTime(0, 0), Qt::UTC),
                ServerTime::DateOnly);
    openPub(); // x.zip and y.txt: 5.12.2006 9:07 on the server's clock
    const auto dateText = [this](const char *name) {
        return files.cellText(rowOf(QString::fromLatin1(name)), FileListModel::DateTime);
    };
    EXPECT_EQ(dateText("instant.txt"), QStringLiteral("5.12.2006 22:07"));
    EXPECT_EQ(dateText("old.txt"), QStringLiteral("10.1.2007"));
    EXPECT_EQ(dateText("x.zip"), QStringLiteral("5.12.2006 9:07"));

    files.sortBy(FileListModel::DateTime, Qt::DescendingOrder);
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("old.txt"), QStringLiteral("instant.txt"),
                                       QStringLiteral("x.zip"), QStringLiteral("y.txt")}));
}

TEST_F(RemoteBrowserTest, ListingAgainNeverAddsANodeTwiceAndReplacesTheRows)
{
    openPub();
    ftp.addFolder(QStringLiteral("/pub/c"));
    browser.ListRemoteFolder();
    EXPECT_EQ(childKeys(QStringLiteral("/pub/")),
              (QStringList{QStringLiteral("/pub/a/"), QStringLiteral("/pub/b/"), QStringLiteral("/pub/c/")}));
    EXPECT_EQ(files.rowCount(), 2);
}

TEST_F(RemoteBrowserTest, AnEmptyFolderClosesAZeroHandleAndShowsNoFile)
{
    ftp.addFolder(QStringLiteral("/empty"));
    browser.openInitialFolder(QStringLiteral("/empty/"));
    EXPECT_EQ(files.rowCount(), 0);
    EXPECT_EQ(ftp.callTexts().last(), QStringLiteral("InternetCloseHandle(0)"));
    EXPECT_TRUE(log.text().endsWith(QStringLiteral(" > Transfert des données terminé avec succès.\r\n")));
    EXPECT_EQ(status.panelText(StatusPanels::MessagePanel), QStringLiteral("Serveur: 0 Fichiers dans le dossier: /empty/*.*"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(RemoteBrowserTest, AFailedListingIsReportedNotCalledASuccess)
{
    openPub();
    ftp.failCall(QStringLiteral("FtpFindFirstFile"));
    browser.ListRemoteFolder();
    EXPECT_EQ(files.rowCount(), 0);
    EXPECT_TRUE(log.text().endsWith(QStringLiteral("14:07:33 > Erreur rencontrée lors de la lecture du dossier !\r\n")));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Erreur rencontrée lors de la lecture du dossier !")});
    EXPECT_EQ(dialogs.messages.at(0).icon, MessageIcon::Exclamation);
}

TEST_F(RemoteBrowserTest, NotConnectedSaysSoAndKeepsTheRows)
{
    openPub();
    const QString logBefore = log.text();
    session.ConnectionHandle = 0;
    ftp.calls.clear();
    browser.ListRemoteFolder();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Vous n'êtes pas connecté sur un serveur")});
    EXPECT_EQ(dialogs.messages.at(0).icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.messages.at(0).title, QStringLiteral("Vendrel"));
    EXPECT_EQ(files.rowCount(), 2);
    EXPECT_EQ(log.text(), logBefore);
    EXPECT_TRUE(ftp.calls.isEmpty());
}

TEST_F(RemoteBrowserTest, TheLoginFolderGetsItsParentsAsNodes)
{
    ftp.addFolder(QStringLiteral("/home/vendrel/docs"));
    ftp.addFile(QStringLiteral("/home/vendrel/notes.txt"));
    browser.openInitialFolder(QStringLiteral("/home/vendrel/"));
    EXPECT_EQ(childKeys(QStringLiteral("/")), QStringList{QStringLiteral("/home/")});
    EXPECT_EQ(childKeys(QStringLiteral("/home/")), QStringList{QStringLiteral("/home/vendrel/")});
    EXPECT_EQ(childKeys(QStringLiteral("/home/vendrel/")), QStringList{QStringLiteral("/home/vendrel/docs/")});
    EXPECT_EQ(RemoteTree::keyOf(treeWidget.currentItem()), QStringLiteral("/home/vendrel/"));
    ASSERT_EQ(files.rowCount(), 1);
    browser.clearPane();
    EXPECT_EQ(treeWidget.topLevelItemCount(), 0);
    EXPECT_EQ(tree.nodeByKey(QStringLiteral("/home/")), nullptr);
    EXPECT_EQ(files.rowCount(), 0);
    EXPECT_TRUE(label3.text().isEmpty());
}

TEST_F(RemoteBrowserTest, AHugeFolderListsEveryFile)
{
    for (int i = 0; i < 5000; ++i)
        ftp.addFile(QStringLiteral("/big/f%1.dat").arg(i, 5, 10, QLatin1Char('0')), {});
    browser.openInitialFolder(QStringLiteral("/big/"));
    EXPECT_EQ(files.rowCount(), 5000);
    EXPECT_EQ(files.cellText(4999, FileListModel::Name), QStringLiteral("f04999.dat"));
}

TEST_F(RemoteBrowserTest, ClickingANodeOpensItsFolderAndRebuildsItsChildren)
{
    openPub();
    ftp.addFolder(QStringLiteral("/pub/a/inner"));
    ftp.addFile(QStringLiteral("/pub/a/inside.txt"));
    clickNode(QStringLiteral("/pub/a/"));
    EXPECT_EQ(session.RemoteFolder, QStringLiteral("/pub/a/"));
    EXPECT_EQ(session.RemoteSearchSpec, QStringLiteral("/pub/a/*.*"));
    EXPECT_EQ(label3.text(), QStringLiteral("/pub/a/*.*"));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("inside.txt")});
    EXPECT_EQ(childKeys(QStringLiteral("/pub/a/")), QStringList{QStringLiteral("/pub/a/inner/")});

    // Clicking /pub/ again drops its subtree and lists it anew: no node twice.
    ftp.addFolder(QStringLiteral("/pub/c"));
    clickNode(QStringLiteral("/pub/"));
    EXPECT_EQ(childKeys(QStringLiteral("/pub/")),
              (QStringList{QStringLiteral("/pub/a/"), QStringLiteral("/pub/b/"), QStringLiteral("/pub/c/")}));
    EXPECT_EQ(tree.nodeByKey(QStringLiteral("/pub/a/inner/")), nullptr);
    EXPECT_TRUE(tree.nodeByKey(QStringLiteral("/pub/"))->isExpanded());
}

TEST_F(RemoteBrowserTest, TheRootNodeAlwaysOpensTheServerRoot)
{
    openPub();
    clickNode(QStringLiteral("/"));
    EXPECT_EQ(session.RemoteFolder, QStringLiteral("/"));
    EXPECT_EQ(session.RemoteSearchSpec, QStringLiteral("/*.*"));
    EXPECT_EQ(childKeys(QStringLiteral("/")), QStringList{QStringLiteral("/pub/")});
}

TEST_F(RemoteBrowserTest, RefreshListsTheSelectedNodeOrSaysThereIsNoConnection)
{
    openPub();
    ftp.addFile(QStringLiteral("/pub/z.txt"));
    browser.zRemRef_Click();
    EXPECT_EQ(rowNames().size(), 3);

    session.ConnectionHandle = 0;
    browser.zRemRef_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Pas de connexion sur le serveur !")});
    EXPECT_EQ(dialogs.messages.at(0).icon, MessageIcon::Information);
}

TEST_F(RemoteBrowserTest, ADefinedFilterListsMatchingFilesAndAllFilesBringsEverythingBack)
{
    openPub();
    dialogs.typeNext(QStringLiteral("*.txt"));
    browser.zDefine2_Click();
    EXPECT_EQ(dialogs.inputsAsked.at(0).prompt, QStringLiteral("Définir le type d'extension des fichiers (*.?):"));
    EXPECT_EQ(dialogs.inputsAsked.at(0).title, QStringLiteral("Filtre"));
    EXPECT_TRUE(zDefine2.isChecked());
    EXPECT_FALSE(zAll2.isChecked());
    EXPECT_EQ(session.RemoteSearchSpec, QStringLiteral("/pub/*.txt"));
    EXPECT_EQ(label3.text(), QStringLiteral("/pub/*.txt"));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("y.txt")});

    // Another folder keeps the filter.
    ftp.addFile(QStringLiteral("/pub/a/n.txt"));
    ftp.addFile(QStringLiteral("/pub/a/n.zip"));
    clickNode(QStringLiteral("/pub/a/"));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("n.txt")});

    browser.zAll2_Click();
    EXPECT_TRUE(zAll2.isChecked());
    EXPECT_FALSE(zDefine2.isChecked());
    EXPECT_EQ(session.RemoteSearchSpec, QStringLiteral("/pub/a/*.*"));
    EXPECT_EQ(rowNames().size(), 2);
}

TEST_F(RemoteBrowserTest, ACancelledOrUnsafeFilterChangesNothing)
{
    openPub();
    const QStringList callsBefore = ftp.callTexts();
    dialogs.typeNext(std::nullopt);
    browser.zDefine2_Click();
    dialogs.typeNext(QStringLiteral("../*.txt"));
    browser.zDefine2_Click();
    EXPECT_TRUE(zAll2.isChecked());
    EXPECT_FALSE(zDefine2.isChecked());
    EXPECT_EQ(browser.remoteFilter(), QStringLiteral("*.*"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Filtre erroné !")});
    EXPECT_EQ(ftp.callTexts(), callsBefore);
}

TEST_F(RemoteBrowserTest, ClickingANodeWhileDisconnectedSaysSoButStillShowsThePattern)
{
    openPub();
    session.InternetHandle = 0;
    clickNode(QStringLiteral("/pub/a/"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Vous n'êtes pas connecté sur un serveur")});
    EXPECT_EQ(label3.text(), QStringLiteral("/pub/a/*.*"));
}

} // namespace
} // namespace vendrel
