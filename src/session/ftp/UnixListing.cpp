#include "session/ftp/ListingDates.h"
#include "session/ftp/ListingFamilies.h"

namespace vendrel::ftplisting {

namespace {

enum class UnixKind { NotUnix, Skipped, File, Link, Folder };

UnixKind unixKind(QByteArrayView mode)
{
    if (mode.size() < 10 || mode.size() > 11)
        return UnixKind::NotUnix;
    for (const char c : mode.sliced(1, 9)) {
        if (!QByteArrayView("rwxsStTlL-").contains(c))
            return UnixKind::NotUnix;
    }
    switch (mode[0]) {
    case '-': return UnixKind::File;
    case 'l': return UnixKind::Link;
    case 'd': return UnixKind::Folder;
    case 'b':
    case 'c':
    case 'p':
    case 's':
    case 'D': return UnixKind::Skipped;
    default: return UnixKind::NotUnix;
    }
}

UnixKind firstWordKind(QByteArrayView line)
{
    const Words words = leadingWords(line, 1);
    return words.isEmpty() ? UnixKind::NotUnix : unixKind(wordAt(line, words[0]));
}

// "5", "05", or "16." as German servers write it.
int dayOfMonth(QByteArrayView word)
{
    if (word.endsWith('.'))
        word.chop(1);
    const int day = parseSmallNumber(word);
    return day >= 1 && day <= 31 ? day : -1;
}

// The month and day words, then "09:07" or "2006"; nothing when they are not a date.
std::optional<WriteTime> parseNamedMonthDate(QByteArrayView monthWord, QByteArrayView dayWord,
                                             QByteArrayView timeOrYear, const QDateTime &now)
{
    const int day = dayOfMonth(dayWord);
    const int month = day < 0 ? 0 : monthNumber(monthWord);
    if (month == 0)
        return std::nullopt;
    if (timeOrYear.contains(':')) {
        const QTime time = parseClock(timeOrYear);
        if (!time.isValid())
            return std::nullopt;
        return WriteTime{serverTime(recentDate(month, day, now.date()), time), ServerTime::AsWritten};
    }
    const int year = parseSmallNumber(timeOrYear, 4);
    if (timeOrYear.size() != 4 || year < 0)
        return std::nullopt;
    return WriteTime{serverTime(QDate(year, month, day), QTime(0, 0)), ServerTime::DateOnly};
}

struct DateWords {
    WriteTime time;
    qsizetype count;
};

// The date that begins at words[at]: "Dec  5 09:07", "Dec  5  2006", the day
// first as some languages write it ("5 déc. 2006", "16. Mär 10:00"), or
// "2015-03-10 12:34" (ls --time-style=long-iso).
std::optional<DateWords> parseDateAt(QByteArrayView line, const Words &words, qsizetype at, const QDateTime &now)
{
    const auto word = [&](qsizetype i) { return wordAt(line, words[i]); };
    if (at + 2 < words.size()) {
        if (const auto time = parseNamedMonthDate(word(at), word(at + 1), word(at + 2), now))
            return DateWords{*time, 3};
        if (const auto time = parseNamedMonthDate(word(at + 1), word(at), word(at + 2), now))
            return DateWords{*time, 3};
    }
    if (at + 1 < words.size()) {
        const QDateTime time = serverTime(parseYearFirstDate(word(at), '-'), parseClock(word(at + 1)));
        if (time.isValid())
            return DateWords{{time, ServerTime::AsWritten}, 2};
    }
    return std::nullopt;
}

bool claimsUnix(QByteArrayView line)
{
    return firstWordKind(line) != UnixKind::NotUnix;
}

std::optional<ListingEntry> parseUnixLine(QByteArrayView line, const QDateTime &now)
{
    const UnixKind kind = firstWordKind(line);
    if (kind == UnixKind::NotUnix || kind == UnixKind::Skipped)
        return std::nullopt;
    const Words words = leadingWords(line, 12);
    const std::optional<SizeAndDate> found = findSizeAndDate(line, words, 1, now);
    if (!found)
        return std::nullopt;
    QByteArrayView name = line.sliced(words[found->lastDateWord].end + 1);
    // A link is taken for a file, named without its target: a download follows it.
    if (kind == UnixKind::Link) {
        const qsizetype arrow = name.indexOf(" -> ");
        if (arrow >= 0)
            name = name.first(arrow);
    }
    return makeEntry(name, kind == UnixKind::Folder, found->size, found->time);
}

} // namespace

std::optional<SizeAndDate> findSizeAndDate(QByteArrayView line, const Words &words, qsizetype firstSizeWord,
                                           const QDateTime &now)
{
    for (qsizetype at = firstSizeWord + 1; at < words.size(); ++at) {
        const std::optional<qint64> size = parseSize(wordAt(line, words[at - 1]));
        if (!size)
            continue;
        const std::optional<DateWords> date = parseDateAt(line, words, at, now);
        if (date && at + date->count < words.size()) // a name must follow
            return SizeAndDate{*size, date->time, at + date->count - 1};
    }
    return std::nullopt;
}

const ListingFamily unixFamily{claimsUnix, parseUnixLine};

} // namespace vendrel::ftplisting
