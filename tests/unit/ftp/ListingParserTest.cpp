#include "session/ftp/ListingParser.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

const QDateTime now(QDate(2026, 3, 10), QTime(14, 0), Qt::UTC);

std::optional<ListingEntry> mlsd(QByteArrayView line)
{
    return parseListingLine(line, ListingFormat::Mlsd, now);
}

std::optional<ListingEntry> list(QByteArrayView line)
{
    return parseListingLine(line, ListingFormat::List, now);
}

// A case of the corpus: listing lines and what they must give.
struct CorpusCase {
    int firstRow = 0;
    ListingFormat format = ListingFormat::List;
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
    ListingFormat format = ListingFormat::List;
    for (const QByteArray &line : text.split('\n')) {
        ++row;
        if (line.startsWith("## "))
            format = line.startsWith("## MLSD") ? ListingFormat::Mlsd : ListingFormat::List;
        if (line.startsWith("> ")) {
            if (cases.empty() || cases.back().answered)
                cases.push_back({.firstRow = row, .format = format, .lines = {}, .expected = {}, .answered = false});
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
        ListingParser parser(corpusCase.format, now);
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

    const ServerName overlong = decodeServerName("a\xc0\xaf"
                                                 "b"); // '/' spelt in two bytes is not UTF-8
    EXPECT_EQ(overlong.rawBytes, QByteArray("a\xc0\xaf"
                                            "b"));
    EXPECT_FALSE(overlong.text.contains(u'/'));
}

// Hostile lines that fit on a line are in the corpus.
TEST(ListingParser, HostileLinesGiveNothingAndNeverCrash)
{
    for (const QByteArrayView line : {QByteArrayView(""), QByteArrayView("      ")}) {
        EXPECT_FALSE(list(line));
        EXPECT_FALSE(mlsd(line));
    }
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
