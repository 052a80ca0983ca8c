#include "session/ftp/ListingParser.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

const QDateTime now(QDate(2026, 3, 10), QTime(14, 0), Qt::UTC);

QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::UTC);
}

std::optional<ListingEntry> mlsd(QByteArrayView line)
{
    return parseListingLine(line, ListingFormat::Mlsd, now);
}

std::optional<ListingEntry> list(QByteArrayView line)
{
    return parseListingLine(line, ListingFormat::List, now);
}

struct Parsed {
    const char *line;
    ListingFormat format;
    QString name;
    bool folder;
    qint64 size;
    QDateTime time;
    ServerTime kind;
};

// MLSD facts, Unix "ls -l" with or without a group and DOS lines; "ls"
// shows the time instead of the year for recent entries: the latest year
// not in the future (it is 10 March 2026 here).
TEST(ListingParser, EachFormatGivesNameTypeSizeAndTime)
{
    using enum ServerTime;
    constexpr auto M = ListingFormat::Mlsd;
    constexpr auto L = ListingFormat::List;
    const Parsed cases[] = {
        {"type=file;size=1536;modify=20061205210700;perm=r; x.zip", M, u"x.zip"_s, false, 1536, utc(2006, 12, 5, 21, 7), Utc},
        {"Type=DIR;Modify=20261231235959.25;UNIX.mode=0755; my folder ", M, u"my folder "_s, true, 0,
         utc(2026, 12, 31, 23, 59, 59, 250), Utc},
        {"type=file;size=9223372036854775807; a;b=c.txt", M, u"a;b=c.txt"_s, false, std::numeric_limits<qint64>::max(), {}, Utc},
        {"-rw-r--r--   1 owner    group     1536 Dec  5  2006 x.zip", L, u"x.zip"_s, false, 1536, utc(2006, 12, 5), DateOnly},
        {"drwxr-xr-x 2 owner 4096 Jan 15 09:07 pub", L, u"pub"_s, true, 4096, utc(2026, 1, 15, 9, 7), AsWritten},
        {"-rw-r--r--+ 1 John Smith  staff 5000000000 Mar  1 10:00 a b  c.txt", L, u"a b  c.txt"_s, false, 5'000'000'000,
         utc(2026, 3, 1, 10, 0), AsWritten},
        {"-rw-r--r-- 1 o g 1 Mar 11 08:00 tomorrow", L, u"tomorrow"_s, false, 1, utc(2026, 3, 11, 8, 0), AsWritten},
        {"-rw-r--r-- 1 o g 1 Mar 20 08:00 later", L, u"later"_s, false, 1, utc(2025, 3, 20, 8, 0), AsWritten},
        {"-rw-r--r-- 1 o g 1 Feb 29 12:00 leap", L, u"leap"_s, false, 1, utc(2024, 2, 29, 12, 0), AsWritten},
        {"12-05-06  09:07PM       <DIR>          Mes documents", L, u"Mes documents"_s, true, 0, utc(2006, 12, 5, 21, 7), AsWritten},
        {"01-31-1999  12:15AM  12345678901 x.zip", L, u"x.zip"_s, false, 12'345'678'901, utc(1999, 1, 31, 0, 15), AsWritten},
        {"07-04-70  12:30PM  1 noon", L, u"noon"_s, false, 1, utc(1970, 7, 4, 12, 30), AsWritten},
        {"07-04-2069  21:30  1 late", L, u"late"_s, false, 1, utc(2069, 7, 4, 21, 30), AsWritten},
    };
    for (const Parsed &expected : cases) {
        const auto entry = parseListingLine(expected.line, expected.format, now);
        ASSERT_TRUE(entry) << expected.line;
        EXPECT_EQ(entry->record.name, expected.name) << expected.line;
        EXPECT_EQ(entry->record.isFolder(), expected.folder) << expected.line;
        if (!expected.folder) {
            EXPECT_EQ(entry->record.size, expected.size) << expected.line;
        }
        if (expected.time.isValid()) {
            EXPECT_EQ(entry->record.lastWriteTime, expected.time) << expected.line;
            EXPECT_EQ(entry->record.lastWriteKind, expected.kind) << expected.line;
        }
    }
    for (const char *line : {"13-45-06  09:07PM  1 bad date", "12-05-06  13:07PM  1 bad hour",
                             "-rw-r--r-- 1 o g 99999999999999999999 Dec  5  2006 overflow"})
        EXPECT_FALSE(list(line)) << line;
}

// Links count as files; devices, totals and the folder's own entries never show.
TEST(ListingParser, LinksAreFilesAndEntriesThatAreNoFileOrFolderAreLeftOut)
{
    EXPECT_EQ(list("lrwxrwxrwx 1 o g 11 Dec  5  2006 latest -> releases/1.1")->record.name, u"latest"_s);
    EXPECT_FALSE(mlsd("type=OS.unix=slink:/etc/passwd; passwd")->record.isFolder());
    for (const char *line : {"crw-rw-rw- 1 root root 1, 3 Dec  5  2006 null", "prw-r--r-- 1 o g 0 Dec  5  2006 fifo",
                             "total 1234", "drwxr-xr-x 2 o g 4096 Dec  5 09:07 .."})
        EXPECT_FALSE(list(line)) << line;
    for (const char *line : {"type=cdir; .", "type=pdir; ..", "type=cdir; /pub", "type=OS.unix=chr-1/3; null"})
        EXPECT_FALSE(mlsd(line)) << line;
    const auto odd = mlsd("type=file;size=huge;modify=2006; odd"); // a bad field loses that field only
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->record.size, 0);
    EXPECT_FALSE(odd->record.lastWriteTime.isValid());
}

TEST(ListingParser, NamesThatAreNotUtf8ShowThroughWindows1252AndKeepTheirBytes)
{
    const auto accented = list("-rw-r--r-- 1 o g 1 Dec  5  2006 caf\xe9 \x80.txt");
    ASSERT_TRUE(accented);
    EXPECT_EQ(accented->record.name, u"café €.txt"_s);
    EXPECT_EQ(accented->rawName, QByteArray("caf\xe9 \x80.txt"));

    const auto utf8 = mlsd("type=file; caf\xc3\xa9.txt");
    ASSERT_TRUE(utf8);
    EXPECT_EQ(utf8->record.name, u"café.txt"_s);
    EXPECT_TRUE(utf8->rawName.isEmpty());

    const ServerName overlong = decodeServerName("a\xc0\xaf" "b"); // '/' spelt in two bytes is not UTF-8
    EXPECT_EQ(overlong.rawBytes, QByteArray("a\xc0\xaf" "b"));
    EXPECT_FALSE(overlong.text.contains(u'/'));
}

TEST(ListingParser, HostileLinesGiveNothingAndNeverCrash)
{
    for (const QByteArrayView line : {QByteArrayView("type=file; a/b"), QByteArrayView("type=file; a\\b"),
                                      QByteArrayView("type=file; "), QByteArrayView("type=dir; .."),
                                      QByteArrayView("type=file; tab\there"),
                                      QByteArrayView("-rw-r--r-- 1 o g 1 Dec  5  2006 ../../etc/passwd"),
                                      QByteArrayView("12-05-06  09:07PM  <DIR>  C:\\Windows"),
                                      QByteArrayView("garbage"), QByteArrayView(""), QByteArrayView("      "),
                                      QByteArrayView("-rw-r--r--"), QByteArrayView("-rw-r--r-- 1 o g 1 Dec  5  2006"),
                                      QByteArrayView("12-05-06")}) {
        EXPECT_FALSE(list(line)) << line.data();
        EXPECT_FALSE(mlsd(line)) << line.data();
    }
    EXPECT_FALSE(mlsd(QByteArrayView("type=file; a\0b", 14)));
    EXPECT_FALSE(mlsd("type=file; line\rbreak"));

    const QByteArray longName(100 * 1024, 'n');
    EXPECT_FALSE(mlsd("type=file; " + longName));
    EXPECT_FALSE(list("-rw-r--r-- 1 o g 1 Dec  5  2006 " + longName));

    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    for (qsizetype length = 0; length < binary.size(); length += 97) {
        (void)list(binary.first(length));
        (void)mlsd(binary.first(length));
    }
}

} // namespace
} // namespace vendrel
