#include "local/LocalFolderReader.h"
#include "platform/WildcardPattern.h"
#include "support/PinnedTimeZone.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

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
