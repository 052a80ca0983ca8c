#include "session/ftp/RemotePath.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

TEST(RemotePath, ASearchSpecIsAFolderAndAPattern)
{
    const SearchSpec spec = splitSearchSpec(u"/pub/doc/*.txt"_s);
    EXPECT_EQ(spec.folder, u"/pub/doc/"_s);
    EXPECT_EQ(spec.pattern, u"*.txt"_s);
    EXPECT_EQ(splitSearchSpec(u"/*.*"_s).folder, u"/"_s);
    EXPECT_EQ(splitSearchSpec(u"/pub/"_s).pattern, u"*"_s);
    EXPECT_EQ(splitSearchSpec(u"*.zip"_s).folder, u"/"_s);
    EXPECT_EQ(absoluteRemotePath(u"a.txt"_s, u"/home/me"_s), u"/home/me/a.txt"_s);
    EXPECT_EQ(absoluteRemotePath(u"/a.txt"_s, u"/home/me"_s), u"/a.txt"_s);
}

TEST(RemotePath, ServerUrlsTakeHostNamesAndAddressesOnly)
{
    EXPECT_EQ(serverUrl(u"127.0.0.1"_s, 2121), QByteArray("ftp://127.0.0.1:2121/"));
    EXPECT_EQ(serverUrl(u" ftp.example.com "_s, 0), QByteArray("ftp://ftp.example.com:21/"));
    EXPECT_EQ(serverUrl(u"::1"_s, 21), QByteArray("ftp://[::1]:21/"));
    EXPECT_EQ(serverUrl(u"bücher.example"_s, 21), QByteArray("ftp://xn--bcher-kva.example:21/"));
    for (const QString &bad : {u""_s, u"host/path"_s, u"user@host"_s, u"host#x"_s, u"a b"_s, u"[::1]"_s, u"ho\r\nst"_s})
        EXPECT_FALSE(serverUrl(bad, 21)) << bad.toStdString();
}

// Accents, blanks and URL characters in names are the server tests' own.
TEST(RemotePath, UrlPathsAreAbsoluteAndEscapedSegmentBySegment)
{
    const WirePaths paths;
    EXPECT_EQ(paths.urlPath(u"/"_s), QByteArray("%2F"));
    EXPECT_EQ(paths.urlPath(u"/pub/"_s), QByteArray("%2Fpub/"));
    EXPECT_EQ(paths.urlPath(u"/pub//a.txt"_s), QByteArray("%2Fpub/a.txt"));
    EXPECT_EQ(paths.commandPath(u"/pub/new/"_s), QByteArray("/pub/new/"));
}

TEST(RemotePath, NamesListedInOtherBytesGoBackInThoseBytes)
{
    WirePaths paths;
    ListingEntry folder;
    folder.record.name = u"résumé"_s;
    folder.rawName = "r\xe9sum\xe9";
    ListingEntry file;
    file.record.name = u"café.txt"_s;
    file.rawName = "caf\xe9.txt";
    paths.remember(u"/"_s, {folder});
    paths.remember(u"/résumé/"_s, {file});

    EXPECT_EQ(paths.commandPath(u"/résumé/café.txt"_s), QByteArray("/r\xe9sum\xe9/caf\xe9.txt"));
    EXPECT_EQ(paths.urlPath(u"/résumé/café.txt"_s), QByteArray("%2Fr%E9sum%E9/caf%E9.txt"));
    // Only where it was listed: the same name elsewhere is UTF-8.
    EXPECT_EQ(paths.commandPath(u"/other/café.txt"_s), QByteArray("/other/caf\xc3\xa9.txt"));

    ListingEntry nowUtf8;
    nowUtf8.record.name = u"café.txt"_s;
    paths.remember(u"/résumé"_s, {nowUtf8});
    EXPECT_EQ(paths.commandPath(u"/résumé/café.txt"_s), QByteArray("/r\xe9sum\xe9/caf\xc3\xa9.txt"));
}

} // namespace
} // namespace vendrel
