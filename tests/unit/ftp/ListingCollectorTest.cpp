#include "session/ftp/ListingCollector.h"
#include "session/ftp/LineSplitter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

QList<QByteArray> splitInPieces(const QByteArray &stream, qsizetype pieceSize, qsizetype maxLine = 16)
{
    LineSplitter splitter(maxLine);
    QList<QByteArray> lines;
    const auto keep = [&](QByteArrayView line) { lines.append(line.toByteArray()); };
    for (qsizetype at = 0; at < stream.size(); at += pieceSize)
        splitter.feed(QByteArrayView(stream).sliced(at, std::min(pieceSize, stream.size() - at)), keep);
    splitter.finish(keep);
    return lines;
}

TEST(LineSplitter, GivesTheSameLinesHoweverTheStreamIsCut)
{
    const QByteArray stream = "one\r\ntwo\n\r\nthree\r\n" + QByteArray(40, 'x') + "\r\nfour\nlast";
    const QList<QByteArray> expected{"one", "two", "", "three", "four", "last"}; // the long line is dropped
    for (const qsizetype pieceSize : {1, 2, 3, 5, 17, 1000})
        EXPECT_EQ(splitInPieces(stream, pieceSize), expected) << "pieces of " << pieceSize;
}

TEST(LineSplitter, KeepsALineAtTheCapAndItsCarriageReturnApart)
{
    EXPECT_EQ(splitInPieces(QByteArray(16, 'a') + "\r\n", 1), QList<QByteArray>{QByteArray(16, 'a')});
    EXPECT_EQ(splitInPieces(QByteArray(17, 'a') + "\nb", 4), QList<QByteArray>{"b"});
    EXPECT_EQ(splitInPieces("a\rb\n", 1), QList<QByteArray>{"a\rb"});
}

TEST(ListingCollector, ParsesAsTheListingArrivesAndKeepsMatchingFilesAndEveryFolder)
{
    ListingCollector collector(ListingFormat::List, u"*.txt;*.GIF"_s,
                               QDateTime(QDate(2026, 3, 10), QTime(12, 0), Qt::UTC));
    const QByteArray listing = "total 3\r\n"
                               "-rw-r--r-- 1 o g 10 Dec  5  2006 notes.TXT\r\n"
                               "-rw-r--r-- 1 o g 20 Dec  5  2006 image.gif\r\n"
                               "-rw-r--r-- 1 o g 30 Dec  5  2006 archive.zip\r\n"
                               "drwxr-xr-x 2 o g 40 Dec  5  2006 folder.txt\r\n"
                               "drwxr-xr-x 2 o g 40 Dec  5  2006 any folder\r\n"
                               "-rw-r--r-- 1 o g 50 Dec  5  2006 no line end.txt";
    for (qsizetype at = 0; at < listing.size(); at += 7)
        collector.feed(QByteArrayView(listing).sliced(at, std::min<qsizetype>(7, listing.size() - at)));
    const std::vector<ListingEntry> entries = collector.finish();
    QStringList names;
    for (const ListingEntry &entry : entries)
        names.append(entry.record.name);
    // Folders come whatever the pattern, so a filtered folder can still be left.
    EXPECT_EQ(names,
              (QStringList{u"notes.TXT"_s, u"image.gif"_s, u"folder.txt"_s, u"any folder"_s, u"no line end.txt"_s}));
    EXPECT_TRUE(entries[3].record.isFolder());
}

TEST(ListingCollector, GivesUpPastItsLimitsAndTakesNothingMore)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
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
