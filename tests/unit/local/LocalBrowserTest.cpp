#include "local/LocalFolderReader.h"
#include "local/LocalVolumes.h"
#include "platform/WildcardPattern.h"
#include "support/PaneHarness.h"
#include "support/PinnedTimeZone.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTreeView>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

struct LocalBrowserTest : test::LocalPaneHarness, ::testing::Test {
    // The entries of Dir1 from top to bottom.
    QStringList folderEntries()
    {
        QStringList entries;
        for (QTreeWidgetItemIterator it(&Dir1); *it != nullptr; ++it)
            entries.append((*it)->text(0));
        return entries;
    }

    const QString folder = temp.path();
};

TEST_F(LocalBrowserTest, ListsTheVisibleFilesWithWholeSecondsAndSixtyFourBitSizes)
{
    temp.createFile(u"b.txt"_s, QByteArray(1536, 'b'));
    temp.createFile(u".cache"_s, "hidden");
    temp.createDir(u"sub"_s);
    temp.createDir(u".config"_s);
    QFile big(temp.createFile(u"A.iso"_s));
    ASSERT_TRUE(big.resize(5'000'000'000LL)); // sparse: costs no disk
    QFile written(temp.filePath(u"b.txt"_s));
    ASSERT_TRUE(written.open(QIODevice::ReadWrite));
    written.setFileTime(QDateTime(QDate(2026, 12, 5), QTime(0, 0, 0, 250)), QFileDevice::FileModificationTime);

    browser.openFolder(folder);
    ASSERT_EQ(rowNames(), (QStringList{u"A.iso"_s, u"b.txt"_s}));
    EXPECT_EQ(files.cellText(0, FileListModel::SizeBytes), u" 5000000000"_s);
    EXPECT_EQ(files.cellText(1, FileListModel::SizeKo), u"1,54 Ko"_s);
    // Whole seconds: a file written just after midnight shows its date alone.
    EXPECT_EQ(files.cellText(1, FileListModel::DateTime), u"05/12/2026"_s);
    EXPECT_EQ(session.LocalFolder, folder + u'/');
    EXPECT_EQ(Dir1.path(), folder);
    EXPECT_EQ(folderEntries().first(), u"/"_s);
    EXPECT_EQ(folderEntries().last(), u"sub"_s);
    EXPECT_FALSE(folderEntries().contains(u".config"_s));

    browser.openFolder(u"/"_s);
    EXPECT_EQ(session.LocalFolder, u"/"_s);
    EXPECT_EQ(Label1.text(), u"/"_s);
}

TEST_F(LocalBrowserTest, AFolderThatVanishedOrIsNoFolderGivesWayToItsNearestReadableParent)
{
    const QString deep = temp.createDir(u"a/b"_s);
    temp.createFile(u"kept.txt"_s);
    browser.openFolder(deep);
    ASSERT_TRUE(QDir(temp.filePath(u"a"_s)).removeRecursively());
    browser.ListLocalFolder();
    EXPECT_EQ(Dir1.path(), folder);
    EXPECT_EQ(session.LocalFolder, folder + u'/');
    EXPECT_EQ(rowNames(), QStringList{u"kept.txt"_s});
    EXPECT_EQ(dialogs.messages.size(), 1);

    browser.openFolder(temp.filePath(u"kept.txt"_s));
    EXPECT_EQ(Dir1.path(), folder);
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST_F(LocalBrowserTest, FilterItemsCheckThemselvesAndListWhatMatchesIgnoringCase)
{
    for (const char *name : {"a.html", "b.HTM", "c.zip", "d.txt", "e.TXT"})
        temp.createFile(QString::fromLatin1(name));
    browser.openFolder(folder);
    EXPECT_TRUE(zAll.isChecked());
    browser.Z_HTML_Click();
    EXPECT_EQ(rowNames(), (QStringList{u"a.html"_s, u"b.HTM"_s}));
    browser.Z_Zip_Click();
    EXPECT_EQ(rowNames(), QStringList{u"c.zip"_s});
    EXPECT_FALSE(Z_HTML.isChecked());

    dialogs.typeNext(std::nullopt);
    browser.zDefine_Click();
    EXPECT_TRUE(Z_Zip.isChecked()) << "a cancelled filter changes nothing";
    dialogs.typeNext(u"*.txt"_s);
    browser.zDefine_Click();
    EXPECT_EQ(rowNames(), (QStringList{u"d.txt"_s, u"e.TXT"_s}));
    for (QAction *item : {&zAll, &Z_HTML, &Z_Images, &Z_Zip, &Z_Exe})
        EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(zDefine.isChecked());
    browser.zAll_Click();
    EXPECT_EQ(files.rowCount(), 5);
}

TEST_F(LocalBrowserTest, ColumnClicksFlipTheOrderSortSizesAsNumbersAndSurviveARefresh)
{
    temp.createFile(u"a.txt"_s, QByteArray(1024, 'a'));
    temp.createFile(u"b.txt"_s, QByteArray(900, 'b'));
    temp.createFile(u"c.txt"_s, QByteArray(5000, 'c'));
    browser.openFolder(folder);
    browser.ListView1_ColumnClick(FileListModel::Name);
    EXPECT_EQ(rowNames(), (QStringList{u"c.txt"_s, u"b.txt"_s, u"a.txt"_s}));
    EXPECT_EQ(ListView1.detailsView()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    browser.ListView1_ColumnClick(FileListModel::SizeBytes);
    temp.createFile(u"d.txt"_s, QByteArray(950, 'd'));
    browser.zLokRef_Click();
    EXPECT_EQ(rowNames(), (QStringList{u"b.txt"_s, u"d.txt"_s, u"a.txt"_s, u"c.txt"_s}));
}

TEST_F(LocalBrowserTest, Drive1ListsTheVolumesRootFirstAndRefusesOneThatCannotBeRead)
{
    browser.openFolder(folder);
    EXPECT_EQ(Drive1.itemData(0).toString(), u"/"_s);
    EXPECT_EQ(Drive1.currentData().toString(), volumeRootOf(folder));
    const QString gone = temp.filePath(u"unplugged"_s);
    Drive1.addItem(gone, gone);
    Drive1.setCurrentIndex(Drive1.count() - 1);
    browser.Drive1_Change();
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(Drive1.currentData().toString(), volumeRootOf(folder));
    EXPECT_EQ(Dir1.path(), folder);
    Drive1.setCurrentIndex(0);
    browser.Drive1_Change();
    EXPECT_EQ(session.LocalFolder, u"/"_s);
}

TEST_F(LocalBrowserTest, OpeningAnEntryOfDir1ListsThatFolderAndAClickDoesNot)
{
    temp.createFile(u"sub/inner.txt"_s);
    browser.openFolder(folder);
    QTreeWidgetItem *sub = Dir1.currentFolderItem()->child(0);
    Q_EMIT Dir1.itemClicked(sub, 0);
    EXPECT_EQ(Dir1.path(), folder);
    Q_EMIT Dir1.itemActivated(sub, 0);
    EXPECT_EQ(Dir1.path(), folder + u"/sub"_s);
    EXPECT_EQ(rowNames(), QStringList{u"inner.txt"_s});
    Q_EMIT Dir1.itemActivated(Dir1.currentFolderItem()->parent(), 0);
    EXPECT_EQ(session.LocalFolder, folder + u'/');
}

QStringList fileNames(const LocalFolderContents &contents)
{
    QStringList names;
    for (const FileRow &row : contents.files)
        names.append(row.name);
    return names;
}

TEST(LocalFolderReader, FollowsLinksAndLeavesOutHiddenAndSpecialEntries)
{
    test::TempFolder temp;
    temp.createFile(u"target.txt"_s, "12345");
    temp.createDir(u"real"_s);
    QFile::link(temp.filePath(u"target.txt"_s), temp.filePath(u"link.txt"_s));
    QFile::link(temp.filePath(u"real"_s), temp.filePath(u"linked folder"_s));
    QFile::link(temp.filePath(u"gone"_s), temp.filePath(u"broken.txt"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(temp.filePath(u"pipe"_s)).constData(), 0600), 0);
    temp.createFile(u".profile"_s);

    const LocalFolderContents contents = readLocalFolder(temp.path(), WildcardPattern(u"*.*"_s));
    EXPECT_EQ(fileNames(contents), (QStringList{u"link.txt"_s, u"target.txt"_s}));
    EXPECT_EQ(contents.files.front().size, 5);
    EXPECT_EQ(contents.subfolders, (QStringList{u"linked folder"_s, u"real"_s}));
    EXPECT_EQ(readSubfolders(temp.path()), contents.subfolders);
    EXPECT_TRUE(readLocalFolder(temp.filePath(u"absent"_s), WildcardPattern(u"*.*"_s)).files.empty());
}

TEST(LocalFolderReader, TimesAreLocalOnBothSidesOfAClockChange)
{
    // A zone whose clocks go from 02:07 to 03:07 on the last Sunday of March,
    // in the middle of a quarter of an hour: 01:07 UTC on 29 March 2026.
    const test::PinnedTimeZone zone("XST-1XDT,M3.5.0/2:07,M10.5.0/3");
    test::TempFolder temp;
    const QDateTime change(QDate(2026, 3, 29), QTime(1, 7), Qt::UTC);
    for (const auto &[name, time] :
         {std::pair{"before.txt", change.addSecs(-1)}, std::pair{"after.txt", change.addSecs(30)}}) {
        QFile file(temp.createFile(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(time, QFileDevice::FileModificationTime);
    }
    const LocalFolderContents contents = readLocalFolder(temp.path(), WildcardPattern(u"*.txt"_s));
    ASSERT_EQ(fileNames(contents), (QStringList{u"after.txt"_s, u"before.txt"_s}));
    EXPECT_EQ(contents.files[0].modified.time(), QTime(3, 7, 30));
    EXPECT_EQ(contents.files[1].modified.time(), QTime(2, 6, 59));
    EXPECT_EQ(contents.files[1].modified, change.addSecs(-1));
}

} // namespace
} // namespace vendrel
