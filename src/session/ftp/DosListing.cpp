#include "session/ftp/ListingDates.h"
#include "session/ftp/ListingFamilies.h"

namespace vendrel::ftplisting {

namespace {

// "09:07PM", "9:07AM" or "21:07".
QTime parseDosTime(QByteArrayView word)
{
    int addHours = -1; // no AM/PM
    if (word.size() > 2 && (word.endsWith("AM") || word.endsWith("am"))) {
        addHours = 0;
    } else if (word.size() > 2 && (word.endsWith("PM") || word.endsWith("pm"))) {
        addHours = 12;
    }
    const QTime time = parseClock(addHours < 0 ? word : word.chopped(2));
    if (!time.isValid() || addHours < 0)
        return time;
    if (time.hour() < 1 || time.hour() > 12)
        return {};
    return QTime(time.hour() % 12 + addHours, time.minute(), time.second());
}

QDate parseDosDate(QByteArrayView word)
{
    return parseNumericDate(word, '-', DateOrder::MonthFirst);
}

// "12-05-06": the date comes first.
bool claimsDos(QByteArrayView line)
{
    const Words words = leadingWords(line, 1);
    if (words.isEmpty())
        return false;
    const QByteArrayView first = wordAt(line, words[0]);
    return first.size() >= 8 && first[2] == '-' && first[5] == '-';
}

std::optional<ListingEntry> parseDosLine(QByteArrayView line, const QDateTime &)
{
    const Words words = leadingWords(line, 4);
    if (words.size() < 4)
        return std::nullopt;
    const QDate date = parseDosDate(wordAt(line, words[0]));
    const QTime time = parseDosTime(wordAt(line, words[1]));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QByteArrayView sizeOrDir = wordAt(line, words[2]);
    const bool folder = equalsIgnoringCase(sizeOrDir, "<dir>");
    const std::optional<qint64> size = folder ? qint64(0) : parseSize(sizeOrDir);
    if (!size)
        return std::nullopt;
    return makeEntry(line.sliced(words[3].begin), folder, *size, {serverTime(date, time), ServerTime::AsWritten});
}

} // namespace

const ListingFamily dosFamily{claimsDos, parseDosLine};

} // namespace vendrel::ftplisting
