#include "session/ftp/ListingParser.h"
#include "session/ftp/LineSplitter.h"
#include "session/ftp/ListingCollector.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

const QDateTime now(QDate(2026, 3, 10), QTime(14, 0), Qt::UTC);

std::optional<ListingEntry> parse(QByteArrayView line, ListingFormat format = ListingFormat::List)
{
    return parseListingLine(line, format, now);
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

// The corpus shows such names through Windows-1252, the server tests use their bytes.
TEST(ListingParser, ANameThatIsNotUtf8NeverShowsASlash)
{
    const ServerName overlong = decodeServerName("a\xc0\xaf"
                                                 "b"); // '/' spelt in two bytes is not UTF-8
    EXPECT_EQ(overlong.rawBytes, QByteArray("a\xc0\xaf"
                                            "b"));
    EXPECT_FALSE(overlong.text.contains(u'/'));
}

// Hostile lines that fit on a line are in the corpus.
TEST(ListingParser, HostileLinesGiveNothingAndNeverCrash)
{
    const QByteArray longName(100 * 1024, 'n');
    EXPECT_FALSE(parse("type=file; " + longName, ListingFormat::Mlsd));
    EXPECT_FALSE(parse("-rw-r--r-- 1 o g 1 Dec  5  2006 " + longName));
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    for (const ListingFormat format : {ListingFormat::List, ListingFormat::Mlsd}) {
        EXPECT_FALSE(parse("", format));
        EXPECT_FALSE(parse("      ", format));
        for (qsizetype length = 0; length < binary.size(); length += 97)
            (void)parse(binary.first(length), format);
    }
}

QList<QByteArray> splitInPieces(const QByteArray &stream, qsizetype pieceSize)
{
    LineSplitter splitter(16);
    QList<QByteArray> lines;
    const auto keep = [&](QByteArrayView line) { lines.append(line.toByteArray()); };
    for (qsizetype at = 0; at < stream.size(); at += pieceSize)
        splitter.feed(QByteArrayView(stream).sliced(at, std::min(pieceSize, stream.size() - at)), keep);
    splitter.finish(keep);
    return lines;
}

// A line past the cap (16 here) is dropped; a bare CR stays in its line.
TEST(LineSplitter, GivesTheSameLinesHoweverTheStreamIsCut)
{
    const struct {
        QByteArray stream;
        QList<QByteArray> lines;
    } cases[] = {
        {"one\r\ntwo\n\r\nthree\r\n" + QByteArray(40, 'x') + "\r\nfour\nlast", {"one", "two", "", "three", "four", "last"}},
        {QByteArray(16, 'a') + "\r\n", {QByteArray(16, 'a')}},
        {QByteArray(17, 'a') + "\nb", {"b"}},
        {"a\rb\n", {"a\rb"}},
    };
    for (const auto &[stream, lines] : cases) {
        for (const qsizetype pieceSize : {1, 2, 3, 5, 17, 1000})
            EXPECT_EQ(splitInPieces(stream, pieceSize), lines) << stream.toStdString() << " in pieces of " << pieceSize;
    }
}

TEST(ListingCollector, GivesUpPastItsLimitsAndTakesNothingMore)
{
    ListingCollector byEntries(ListingFormat::Mlsd, u"*"_s, now, {2, 1000});
    EXPECT_TRUE(byEntries.feed("type=file; a\ntype=file; b\n"));
    EXPECT_TRUE(byEntries.overflow().isEmpty());
    EXPECT_FALSE(byEntries.feed("type=file; c\n"));
    EXPECT_EQ(byEntries.overflow(), u"the listing was stopped past 2 entries"_s);
    EXPECT_FALSE(byEntries.feed("type=file; d\n"));
    EXPECT_TRUE(byEntries.finish().empty());

    // Lines that give no entry count too: garbage cannot go on for ever.
    ListingCollector byBytes(ListingFormat::List, u"*"_s, now, {2, 10});
    EXPECT_TRUE(byBytes.feed("garbage\n"));
    EXPECT_FALSE(byBytes.feed("more\n"));
    EXPECT_EQ(byBytes.overflow(), u"the listing was stopped past 10 bytes"_s);
}

} // namespace
} // namespace vendrel
