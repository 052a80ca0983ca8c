#include "transfer/FolderBatch.h"
#include "support/FakeFtpService.h"
#include "support/TempFolder.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

QStringList fileNames(const TransferBatch &batch)
{
    QStringList names(batch.files.size());
    std::transform(batch.files.cbegin(), batch.files.cend(), names.begin(),
                   [](const TransferFile &file) { return file.name; });
    return names;
}

// Links to folders, one of them a loop, are not followed; a link to a file
// is; what cannot be sent is named. Files come before sub-folders, in the
// order a person reads them.
TEST(FolderBatchTest, ALocalTreeIsWalkedWithoutFollowingLinksToFolders)
{
    test::TempFolder local;
    local.createFile(u"arbre/a10.txt"_s, "dix");
    local.createFile(u"arbre/a2.txt"_s, "deux");
    local.createFile(u"arbre/B.txt"_s);
    local.createFile(u"arbre/.htaccess"_s);
    local.createFile(u"arbre/sous/c.txt"_s, "c");
    local.createDir(u"arbre/vide"_s);
    const QString tree = local.filePath(u"arbre"_s);
    ASSERT_TRUE(QFile::link(tree, tree + u"/sous/boucle"_s));
    ASSERT_TRUE(QFile::link(tree + u"/a2.txt"_s, tree + u"/lien.txt"_s));
    ASSERT_TRUE(QFile::link(tree + u"/absent"_s, tree + u"/casse"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree + u"/tube"_s).constData(), 0600), 0);

    const FolderCollection collected = collectLocalFolder(tree, u"/pub/"_s);
    EXPECT_EQ(collected.failure, CollectionFailure::None);
    EXPECT_EQ(collected.batch.localFolder, local.folder());
    EXPECT_EQ(collected.batch.remoteFolder, u"/pub/"_s);
    EXPECT_EQ(collected.batch.folders, (QStringList{u"arbre/"_s, u"arbre/sous/"_s, u"arbre/vide/"_s}));
    EXPECT_EQ(fileNames(collected.batch), (QStringList{u"arbre/.htaccess"_s, u"arbre/a2.txt"_s, u"arbre/a10.txt"_s,
                                                       u"arbre/B.txt"_s, u"arbre/lien.txt"_s, u"arbre/sous/c.txt"_s}));
    EXPECT_EQ(collected.batch.total(), 3 + 4 + 4 + 1);
    QMap<QString, SkippedEntry::Reason> skipped;
    for (const SkippedEntry &entry : collected.skipped)
        skipped.insert(entry.path.mid(local.folder().size()), entry.reason);
    EXPECT_EQ(skipped,
              (QMap<QString, SkippedEntry::Reason>{{u"arbre/casse"_s, SkippedEntry::Reason::Unreadable},
                                                   {u"arbre/tube"_s, SkippedEntry::Reason::Special},
                                                   {u"arbre/sous/boucle"_s, SkippedEntry::Reason::LinkToFolder}}));
}

TEST(FolderBatchTest, AServerTreeKeepsItsTimesAndIsDroppedWholePastTheDepthLimit)
{
    test::FakeFtpService ftp;
    const FtpHandle connection = ftp.InternetConnect(ftp.InternetOpen({}, 1, {}, {}, 0), {}, 21, {}, {}, 1, 0, 0);
    const QDateTime noon(QDate(2020, 6, 1), QTime(12, 0), Qt::UTC);
    ftp.addFile(u"/pub/arbre/a.txt"_s, "aa", noon, ServerTime::Utc);
    ftp.addFile(u"/pub/arbre/sous/b.txt"_s, "b");
    ftp.addFolder(u"/pub/arbre/vide"_s);

    FolderCollection collected = collectRemoteFolder(ftp, connection, u"/pub/arbre/"_s, u"/ici/"_s);
    EXPECT_EQ(collected.batch.remoteFolder, u"/pub/"_s);
    EXPECT_EQ(collected.batch.folders, (QStringList{u"arbre/"_s, u"arbre/sous/"_s, u"arbre/vide/"_s}));
    EXPECT_EQ(fileNames(collected.batch), (QStringList{u"arbre/a.txt"_s, u"arbre/sous/b.txt"_s}));
    EXPECT_EQ(collected.batch.files[0].modified, noon);
    EXPECT_EQ(collected.batch.files[0].modifiedKind, ShownTime::InLocalTime);

    // A server that lists a folder inside itself would never end.

    QString deep = u"/pub/arbre/sous"_s;
    for (int level = 0; level < MaxFolderDepth; ++level)
        deep += u"/n"_s;
    ftp.addFolder(deep);
    collected = collectRemoteFolder(ftp, connection, u"/pub/arbre/"_s, u"/ici/"_s);
    EXPECT_EQ(collected.failure, CollectionFailure::TooDeep);
    EXPECT_TRUE(collected.batch.files.isEmpty() && collected.batch.folders.isEmpty());
    EXPECT_EQ(ftp.openHandles.size(), 2) << "only the session's own handles stay open";
}

} // namespace
} // namespace vendrel
