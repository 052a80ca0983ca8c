#include "session/ftp/ListingParser.h"
#include "support/QtPrinters.h"

#include <QFile>
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

TEST(ListingParser, MlsdFactsGiveTypeSizeAndTime)
{
    const auto file = mlsd("type=file;size=1536;modify=20061205210700;perm=r; x.zip");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->record.name, u"x.zip"_s);
    EXPECT_FALSE(file->record.isFolder());
    EXPECT_EQ(file->record.size, 1536);
    EXPECT_EQ(file->record.lastWriteTime, utc(2006, 12, 5, 21, 7));
    EXPECT_EQ(file->record.lastWriteKind, ServerTime::Utc);
    EXPECT_TRUE(file->rawName.isEmpty());

    const auto folder = mlsd("Type=DIR;Modify=20261231235959.25;UNIX.mode=0755; my folder ");
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->record.isFolder());
    EXPECT_EQ(folder->record.name, u"my folder "_s); // everything after the first blank
    EXPECT_EQ(folder->record.lastWriteTime, utc(2026, 12, 31, 23, 59, 59, 250));

    const auto semicolons = mlsd("type=file;size=3; a;b=c.txt");
    ASSERT_TRUE(semicolons);
    EXPECT_EQ(semicolons->record.name, u"a;b=c.txt"_s);

    EXPECT_EQ(mlsd("type=file;size=9223372036854775807; max")->record.size, std::numeric_limits<qint64>::max());
}

TEST(ListingParser, MlsdLinksAreFilesAndOtherTypesAreLeftOut)
{
    EXPECT_FALSE(mlsd("type=OS.unix=symlink;size=7; link")->record.isFolder());
    EXPECT_FALSE(mlsd("type=OS.unix=slink:/etc/passwd; passwd")->record.isFolder());
    EXPECT_FALSE(mlsd("type=cdir; ."));
    EXPECT_FALSE(mlsd("type=pdir; .."));
    EXPECT_FALSE(mlsd("type=cdir; /pub"));
    EXPECT_FALSE(mlsd("type=OS.unix=chr-1/3; null"));
    EXPECT_FALSE(mlsd("no facts at all"));
    // A bad size or time loses that field, not the entry.
    const auto odd = mlsd("type=file;size=huge;modify=2006; odd");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->record.size, 0);
    EXPECT_FALSE(odd->record.lastWriteTime.isValid());
}

// A case of the corpus: listing lines and what they must give.
struct CorpusCase {
    int firstRow = 0;
    QList<QByteArray> lines;
    QStringList expected;
    bool answered = false;
};

// The corpus writes tabs, backslashes and raw bytes as \t, \\ and \xHH.
QByteArray unescape(QByteArrayView text)
{
    QByteArray bytes;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] != '\\' || at + 1 == text.size()) {
            bytes += text[at];
            continue;
        }
        const char escaped = text[++at];
        if (escaped == 'x') {
            bytes += char(text.sliced(at + 1, 2).toByteArray().toInt(nullptr, 16));
            at += 2;
        } else {
            bytes += escaped == 't' ? '\t' : escaped;
        }
    }
    return bytes;
}

std::vector<CorpusCase> readCorpus(const QByteArray &text)
{
    std::vector<CorpusCase> cases;
    int row = 0;
    for (const QByteArray &line : text.split('\n')) {
        ++row;
        if (line.startsWith("> ")) {
            if (cases.empty() || cases.back().answered)
                cases.push_back({.firstRow = row, .lines = {}, .expected = {}, .answered = false});
            cases.back().lines.append(unescape(line.sliced(2)));
        } else if (line.startsWith("= ") && !cases.empty()) {
            cases.back().answered = true;
            if (line != "= nothing")
                cases.back().expected.append(QString::fromUtf8(line.sliced(2)));
        }
    }
    return cases;
}

// An entry as the corpus writes it: "file 1536 2006-12-05T21:07 x.zip".
QString describe(const FindData &record)
{
    const QDateTime &time = record.lastWriteTime;
    QString when = u"-"_s;
    if (time.isValid() && record.lastWriteKind == ServerTime::Utc)
        when = time.toString(u"yyyy-MM-dd'T'HH:mm:ss'Z'"_s);
    else if (time.isValid() && record.lastWriteKind == ServerTime::AsWritten)
        when = time.toString(time.time().second() ? u"yyyy-MM-dd'T'HH:mm:ss"_s : u"yyyy-MM-dd'T'HH:mm"_s);
    else if (time.isValid())
        when = time.toString(time.time() == QTime(0, 0) ? u"yyyy-MM-dd"_s : u"yyyy-MM-dd'T'HH:mm' (a day only)'"_s);
    return QStringList{record.isFolder() ? u"folder"_s : u"file"_s, QString::number(record.size), when, record.name}
        .join(u' ');
}

TEST(ListingParser, CorpusOfServerLines)
{
    QFile file(QStringLiteral(VENDREL_LISTING_CORPUS));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<CorpusCase> cases = readCorpus(file.readAll());
    EXPECT_GT(cases.size(), 100u);
    for (const CorpusCase &corpusCase : cases) {
        ListingParser parser(ListingFormat::List, now);
        QStringList entries;
        for (const QByteArray &line : corpusCase.lines) {
            if (const std::optional<ListingEntry> entry = parser.parse(line))
                entries.append(describe(entry->record));
        }
        EXPECT_TRUE(corpusCase.answered) << "corpus row " << corpusCase.firstRow;
        EXPECT_EQ(entries, corpusCase.expected) << "corpus row " << corpusCase.firstRow;
    }
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
