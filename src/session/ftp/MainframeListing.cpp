#include "session/ftp/ListingDates.h"
#include "session/ftp/ListingFamilies.h"

namespace vendrel::ftplisting {

namespace {

// --- z/OS data sets: "Volume Unit Referred Ext Used Recfm Lrecl BlkSz Dsorg Dsname"

constexpr QByteArrayView PseudoDirectory = "Pseudo Directory";

QDate parseReferredDate(QByteArrayView word)
{
    return parseYearFirstDate(word, '/');
}

bool claimsMvs(QByteArrayView line)
{
    const Words words = leadingWords(line, 3);
    return (words.size() == 3 && parseReferredDate(wordAt(line, words[2])).isValid())
           || line.startsWith(PseudoDirectory);
}

// Partitioned data sets hold members, as folders hold files.
std::optional<bool> isPartitioned(QByteArrayView organisation)
{
    if (organisation == "PO" || organisation == "PO-E")
        return true;
    if (organisation == "PS" || organisation == "DA" || organisation == "IS" || organisation == "VS")
        return false;
    return std::nullopt;
}

// The size is counted in tracks, not bytes, and is left out; the date is the
// day the data set was last used.
std::optional<ListingEntry> parseMvsLine(QByteArrayView line, const QDateTime &)
{
    const Words words = leadingWords(line, 11);
    const auto word = [&](qsizetype i) { return wordAt(line, words[i]); };
    if (line.startsWith(PseudoDirectory))
        return words.size() == 3 ? makeEntry(word(2), true, 0, WriteTime{}) : std::nullopt;
    // Wide extent and track counts run together into one column.
    if (words.size() != 9 && words.size() != 10)
        return std::nullopt;
    const std::optional<bool> partitioned = isPartitioned(word(words.size() - 2));
    if (!partitioned)
        return std::nullopt;
    const QDateTime referred = serverTime(parseReferredDate(word(2)), QTime(0, 0));
    return makeEntry(word(words.size() - 1), *partitioned, 0, {referred, ServerTime::DateOnly});
}

// --- IBM i: "QSYS            77824 02/23/00 15:09:55 *DIR       QSYS/"

// The fourth column is the object type: "*DIR", "*STMF", "*FILE".
bool claimsAs400(QByteArrayView line)
{
    const Words words = leadingWords(line, 5);
    return words.size() == 5 && wordAt(line, words[4]).startsWith('*');
}

// The system's date format: month first in America, day first elsewhere.
QDate parseAs400Date(QByteArrayView word)
{
    const QDate monthFirst = parseNumericDate(word, '/', DateOrder::MonthFirst);
    if (monthFirst.isValid())
        return monthFirst;
    const QDate dayFirst = parseNumericDate(word, '/', DateOrder::DayFirst);
    return dayFirst.isValid() ? dayFirst : parseNumericDate(word, '.', DateOrder::DayFirst);
}

// A name that ends with "/" is a folder.
std::optional<ListingEntry> parseAs400Line(QByteArrayView line, const QDateTime &)
{
    const Words words = leadingWords(line, 6);
    if (words.size() < 6)
        return std::nullopt;
    const std::optional<qint64> size = parseSize(wordAt(line, words[1]));
    const QDateTime time = serverTime(parseAs400Date(wordAt(line, words[2])), parseClock(wordAt(line, words[3])));
    if (!size || !time.isValid())
        return std::nullopt;
    QByteArrayView name = line.sliced(words[5].begin);
    const bool folder = name.endsWith('/');
    if (folder)
        name.chop(1);
    return makeEntry(name, folder, *size, {time, ServerTime::AsWritten});
}

} // namespace

const ListingFamily mvsFamily{claimsMvs, parseMvsLine};
const ListingFamily as400Family{claimsAs400, parseAs400Line};

} // namespace vendrel::ftplisting
