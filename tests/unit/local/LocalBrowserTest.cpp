#include "LocalPaneFixture.h"

#include "local/LocalVolumes.h"

#include <QDir>
#include <QHeaderView>
#include <QTreeView>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

struct LocalBrowserTest : test::LocalPaneFixture, ::testing::Test {
    const QString folder = temp.path();
};

TEST_F(LocalBrowserTest, ListsTheVisibleFilesOfAFolderInNameOrderWithTheLocalRowFormat)
{
    temp.createFile(QStringLiteral("b.txt"), QByteArray(1536, 'b'));
    temp.createFile(QStringLiteral("A.zip"), "zip");
    temp.createFile(QStringLiteral(".cache"), "hidden");
    temp.createDir(QStringLiteral("sub"));
    temp.createDir(QStringLiteral(".config"));
    setModified(temp.filePath(QStringLiteral("A.zip")), QDateTime(QDate(2025, 3, 4), QTime(0, 0, 0, 500)));
    setModified(temp.filePath(QStringLiteral("b.txt")), QDateTime(QDate(2026, 12, 5), QTime(14, 7, 33, 250)));

    browser.openFolder(folder);

    ASSERT_EQ(rowNames(), (QStringList{QStringLiteral("A.zip"), QStringLiteral("b.txt")}));
    EXPECT_EQ(files.fileRow(0).icon, 7);
    EXPECT_EQ(files.fileRow(1).icon, 3);
    EXPECT_EQ(files.cellText(1, FileListModel::SizeKo), QStringLiteral("1,54 Ko"));
    EXPECT_EQ(files.cellText(1, FileListModel::SizeBytes), QStringLiteral(" 1536"));
    // Whole seconds: a file written just after midnight shows its date alone.
    EXPECT_EQ(files.cellText(0, FileListModel::DateTime), QStringLiteral("04/03/2025"));
    EXPECT_EQ(files.fileRow(1).modified, QDateTime(QDate(2026, 12, 5), QTime(14, 7, 33)));

    EXPECT_EQ(session.LocalFolder, folder + u'/');
    EXPECT_EQ(statusText(), QStringLiteral("Local: 2 Fichiers dans le dossier: ") + folder + u'/');
    EXPECT_EQ(ListView1.currentRow(), -1);
    EXPECT_EQ(Dir1.path(), folder);
    EXPECT_EQ(folderEntries().last(), QStringLiteral("sub"));
    EXPECT_EQ(folderEntries().first(), QStringLiteral("/"));
    EXPECT_FALSE(folderEntries().contains(QStringLiteral(".config")));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(LocalBrowserTest, SizesAreSixtyFourBitAndTheRootFolderKeepsOneSlash)
{
    QFile big(temp.createFile(QStringLiteral("big.iso")));
    ASSERT_TRUE(big.open(QIODevice::ReadWrite));
    ASSERT_TRUE(big.resize(5'000'000'000LL)); // sparse: costs no disk
    big.close();

    browser.openFolder(folder);
    EXPECT_EQ(files.cellText(0, FileListModel::SizeBytes), QStringLiteral(" 5000000000"));

    browser.openFolder(QStringLiteral("/"));
    EXPECT_EQ(session.LocalFolder, QStringLiteral("/"));
    EXPECT_EQ(Label1.text(), QStringLiteral("/"));
    EXPECT_EQ(folderEntries().first(), QStringLiteral("/"));
}

TEST_F(LocalBrowserTest, Label1ShowsTheEndOfALongFolderWithoutItsLeadingBlank)
{
    const qsizetype room = 30 - (folder.size() + 1) - 1; // the name that makes "folder/name/" 30 long
    ASSERT_GT(room, 1) << "temporary folder path too long for this test";
    const QString exact = temp.createDir(QString(room, u'e'));
    browser.openFolder(exact);
    EXPECT_EQ(Label1.text(), exact + u'/');

    const QString tail = QString(28, u't');
    const QString longer = temp.createDir(QStringLiteral("x/ ") + tail);
    browser.openFolder(longer);
    EXPECT_EQ(Label1.text(), QStringLiteral("...") + tail + u'/');
    EXPECT_EQ(Label1.toolTip(), longer + u'/');
}

TEST_F(LocalBrowserTest, AFolderThatVanishedOrIsNoFolderGivesWayToItsNearestReadableParent)
{
    const QString deep = temp.createDir(QStringLiteral("a/b"));
    temp.createFile(QStringLiteral("kept.txt"));
    browser.openFolder(deep);
    ASSERT_TRUE(QDir(temp.filePath(QStringLiteral("a"))).removeRecursively());

    browser.ListLocalFolder();
    EXPECT_EQ(Dir1.path(), folder);
    EXPECT_EQ(session.LocalFolder, folder + u'/');
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("kept.txt")});
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Le dossier \"") + deep + QStringLiteral("\" n'existe plus !\r\nLe dossier \"")
                                            + folder + QStringLiteral("\" est affiché à la place."));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Vendrel"));

    browser.openFolder(temp.filePath(QStringLiteral("kept.txt")));
    EXPECT_EQ(Dir1.path(), folder);
    EXPECT_EQ(lastMessage().text, QStringLiteral("Le dossier \"") + temp.filePath(QStringLiteral("kept.txt"))
                                                + QStringLiteral("\" ne peut pas être lu !\r\nLe dossier \"") + folder
                                                + QStringLiteral("\" est affiché à la place."));
}

TEST_F(LocalBrowserTest, FilterItemsCheckThemselvesAndListWhatMatchesIgnoringCase)
{
    for (const char *name : {"a.html", "b.HTM", "c.zip", "d.txt", "e.TXT"})
        temp.createFile(QString::fromLatin1(name));
    browser.openFolder(folder);
    EXPECT_TRUE(zAll.isChecked());
    EXPECT_EQ(files.rowCount(), 5);

    browser.Z_HTML_Click();
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("a.html"), QStringLiteral("b.HTM")}));

    browser.Z_Zip_Click();
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("c.zip")});
    EXPECT_TRUE(Z_Zip.isChecked());
    EXPECT_FALSE(Z_HTML.isChecked());

    dialogs.typeNext(std::nullopt);
    browser.zDefine_Click();
    EXPECT_EQ(dialogs.inputsAsked.last().prompt, QStringLiteral("Définir le type d'extension des fichiers(*.?):"));
    EXPECT_EQ(dialogs.inputsAsked.last().title, QStringLiteral("Filtre"));
    EXPECT_TRUE(Z_Zip.isChecked());
    EXPECT_FALSE(zDefine.isChecked());
    EXPECT_EQ(browser.filterPattern(), QStringLiteral("*.zip"));

    dialogs.typeNext(QStringLiteral("*.txt"));
    browser.zDefine_Click();
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("d.txt"), QStringLiteral("e.TXT")}));
    for (QAction *item : {&zAll, &Z_HTML, &Z_Images, &Z_Zip, &Z_Exe})
        EXPECT_FALSE(item->isChecked()) << item->text().toStdString();
    EXPECT_TRUE(zDefine.isChecked());

    browser.Z_Exe_Click();
    EXPECT_EQ(statusText(), QStringLiteral("Local: 0 Fichiers dans le dossier: ") + folder + u'/');
    browser.zAll_Click();
    EXPECT_EQ(files.rowCount(), 5);
}

TEST_F(LocalBrowserTest, EachColumnClickFlipsTheOrderAndTheSortSurvivesARefresh)
{
    temp.createFile(QStringLiteral("a.txt"), QByteArray(1024, 'a'));
    temp.createFile(QStringLiteral("b.txt"), QByteArray(900, 'b'));
    temp.createFile(QStringLiteral("c.txt"), QByteArray(5000, 'c'));
    browser.openFolder(folder);

    browser.ListView1_ColumnClick(FileListModel::Name);
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("c.txt"), QStringLiteral("b.txt"), QStringLiteral("a.txt")}));
    EXPECT_EQ(ListView1.detailsView()->header()->sortIndicatorOrder(), Qt::DescendingOrder);

    // Sizes compare as numbers: 900 bytes come before 1024.
    browser.ListView1_ColumnClick(FileListModel::SizeBytes);
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("a.txt"), QStringLiteral("c.txt")}));

    temp.createFile(QStringLiteral("d.txt"), QByteArray(950, 'd'));
    browser.zLokRef_Click();
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("d.txt"), QStringLiteral("a.txt"),
                                       QStringLiteral("c.txt")}));
}

TEST_F(LocalBrowserTest, AClickSumsTheSelectedRowsOnlyWhenARowIsCurrent)
{
    temp.createFile(QStringLiteral("a.txt"), QByteArray(1024, 'a'));
    temp.createFile(QStringLiteral("b.txt"), QByteArray(512, 'b'));
    temp.createFile(QStringLiteral("c.txt"), QByteArray(2000, 'c'));
    browser.openFolder(folder);
    const QString listed = statusText();

    browser.ListView1_Click();
    EXPECT_EQ(statusText(), listed);

    ListView1.selectRow(rowOf(QStringLiteral("a.txt")));
    ListView1.selectRow(rowOf(QStringLiteral("b.txt")), true);
    browser.ListView1_Click();
    EXPECT_EQ(statusText(), QStringLiteral("Local: 2 Fichiers sélectionnés, 1,536 Ko"));

    ListView1.selectRow(rowOf(QStringLiteral("c.txt")));
    browser.ListView1_Click();
    EXPECT_EQ(statusText(), QStringLiteral("Local: 1 Fichiers sélectionnés, 2 Ko"));
}

TEST_F(LocalBrowserTest, Drive1ListsTheVolumesRootFirstAndRefusesOneThatCannotBeRead)
{
    browser.openFolder(folder);
    ASSERT_GE(Drive1.count(), 1);
    EXPECT_EQ(Drive1.itemData(0).toString(), QStringLiteral("/"));
    EXPECT_EQ(Drive1.currentData().toString(), volumeRootOf(folder));

    browser.Drive1_GotFocus();
    EXPECT_EQ(statusText(), QStringLiteral("Mode Local: Choisir le disque local"));

    const QString gone = temp.filePath(QStringLiteral("unplugged"));
    Drive1.addItem(gone, gone);
    Drive1.setCurrentIndex(Drive1.count() - 1);
    browser.Drive1_Change();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Le volume \"") + gone
                                            + QStringLiteral("\" ne peut pas être lu !\r\nVérifier qu'il est monté et accessible."));
    EXPECT_EQ(Drive1.currentData().toString(), volumeRootOf(folder));
    EXPECT_EQ(Dir1.path(), folder);

    Drive1.setCurrentIndex(0);
    browser.Drive1_Change();
    EXPECT_EQ(Dir1.path(), QStringLiteral("/"));
    EXPECT_EQ(session.LocalFolder, QStringLiteral("/"));
}

TEST_F(LocalBrowserTest, OpeningAnEntryOfDir1ListsThatFolderAndAClickOnlyTellsHowToOpen)
{
    temp.createFile(QStringLiteral("sub/inner.txt"));
    browser.openFolder(folder);
    QTreeWidgetItem *sub = Dir1.currentFolderItem()->child(0);
    ASSERT_EQ(LocalFolderList::folderOf(sub), folder + QStringLiteral("/sub"));

    Q_EMIT Dir1.itemClicked(sub, 0);
    EXPECT_EQ(statusText(), QStringLiteral("Local: Double click sur le dossier pour recevoir tous les fichiers"));
    EXPECT_EQ(Dir1.path(), folder);

    Q_EMIT Dir1.itemActivated(sub, 0);
    EXPECT_EQ(Dir1.path(), folder + QStringLiteral("/sub"));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("inner.txt")});
    EXPECT_TRUE(Dir1.currentFolderItem()->childCount() == 0);

    // The ancestors lead back up.
    Q_EMIT Dir1.itemActivated(Dir1.currentFolderItem()->parent(), 0);
    EXPECT_EQ(session.LocalFolder, folder + u'/');
}

} // namespace
} // namespace vendrel
