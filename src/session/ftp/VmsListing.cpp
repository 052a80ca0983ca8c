#include "session/ftp/ListingDates.h"
#include "session/ftp/ListingFamilies.h"

#include <limits>

namespace vendrel::ftplisting {

namespace {

constexpr qint64 BlockBytes = 512;

// "NAME.EXT;1": a name and its version number.
bool isVersionedName(QByteArrayView word)
{
    const qsizetype semicolon = word.lastIndexOf(';');
    return semicolon > 0 && isDigits(word.sliced(semicolon + 1));
}

// A record begins at the start of its line, with its versioned name.
bool claimsVms(QByteArrayView line)
{
    if (line.isEmpty() || isBlank(line[0]))
        return false;
    const Words words = leadingWords(line, 1);
    return isVersionedName(wordAt(line, words[0]));
}

// "29-JAN-1996" or "2-JUL-2003".
QDate parseVmsDate(QByteArrayView word)
{
    const int day = parseSmallNumber(takeField(word, '-'));
    const int month = monthNumber(takeField(word, '-'));
    const int year = word.size() == 4 ? parseSmallNumber(word, 4) : -1;
    return QDate(year, month, day);
}

// "03:33:12", "03:33:12.58" or "21:41".
QTime parseVmsTime(QByteArrayView word)
{
    const qsizetype fraction = word.indexOf('.');
    return parseClock(fraction < 0 ? word : word.first(fraction));
}

std::optional<ListingEntry> parseVmsLine(QByteArrayView line, const QDateTime &)
{
    const Words words = leadingWords(line, 1);
    return parseVmsRecord(wordAt(line, words[0]), line.sliced(words[0].end));
}

} // namespace

bool isLoneVmsName(QByteArrayView line)
{
    return claimsVms(line) && leadingWords(line, 2).size() == 1;
}

// The details: blocks used (of "used/allocated"), the date, and the time
// unless the server leaves it out; some servers put the owner first.
std::optional<ListingEntry> parseVmsRecord(QByteArrayView nameWord, QByteArrayView details)
{
    if (!isVersionedName(nameWord))
        return std::nullopt;
    const Words words = leadingWords(details, 4);
    const auto word = [&](qsizetype i) { return wordAt(details, words[i]); };
    qsizetype at = !words.isEmpty() && word(0).startsWith('[') ? 1 : 0;
    if (at + 1 >= words.size())
        return std::nullopt;
    QByteArrayView blocksWord = word(at);
    const std::optional<qint64> blocks = parseSize(takeField(blocksWord, '/'));
    const QDate date = parseVmsDate(word(at + 1));
    if (!blocks || *blocks > std::numeric_limits<qint64>::max() / BlockBytes || !date.isValid())
        return std::nullopt;
    const QTime time = at + 2 < words.size() ? parseVmsTime(word(at + 2)) : QTime();
    const WriteTime written = time.isValid() ? WriteTime{serverTime(date, time), ServerTime::AsWritten}
                                             : WriteTime{serverTime(date, QTime(0, 0)), ServerTime::DateOnly};
    QByteArrayView name = nameWord.first(nameWord.lastIndexOf(';'));
    const bool folder = name.size() > 4 && equalsIgnoringCase(name.last(4), ".dir");
    if (folder)
        name.chop(4);
    return makeEntry(name, folder, *blocks * BlockBytes, written);
}

const ListingFamily vmsFamily{claimsVms, parseVmsLine};

} // namespace vendrel::ftplisting
