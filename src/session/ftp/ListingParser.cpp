#include "session/ftp/ListingParser.h"

#include "platform/Windows1252.h"

#include <QStringDecoder>
#include <QVarLengthArray>
#include <array>
#include <charconv>
#include <limits>

namespace vendrel {

namespace {

struct Word {
    qsizetype begin;
    qsizetype end;
};
using Words = QVarLengthArray<Word, 16>;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first blank-separated words of a line, with their places, so that a
// name can then be cut from the line exactly as it stands.
Words leadingWords(QByteArrayView line, qsizetype limit)
{
    Words words;
    qsizetype at = 0;
    while (words.size() < limit) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        if (at == line.size())
            break;
        const qsizetype begin = at;
        while (at < line.size() && !isBlank(line[at]))
            ++at;
        words.append({begin, at});
    }
    return words;
}

QByteArrayView wordAt(QByteArrayView line, const Word &word)
{
    return line.sliced(word.begin, word.end - word.begin);
}

bool equalsIgnoringCase(QByteArrayView text, QByteArrayView lowerCase)
{
    return text.size() == lowerCase.size() && qstrnicmp(text.data(), lowerCase.data(), text.size()) == 0;
}

bool startsWithIgnoringCase(QByteArrayView text, QByteArrayView lowerCasePrefix)
{
    return text.size() >= lowerCasePrefix.size()
        && qstrnicmp(text.data(), lowerCasePrefix.data(), lowerCasePrefix.size()) == 0;
}

std::optional<qint64> parseSize(QByteArrayView digits)
{
    quint64 value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.isEmpty() || error != std::errc() || end != digits.data() + digits.size()
        || value > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return qint64(value);
}

// A number of 1 to maxDigits decimal digits, or -1.
int parseSmallNumber(QByteArrayView digits, qsizetype maxDigits = 2)
{
    if (digits.isEmpty() || digits.size() > maxDigits)
        return -1;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

int monthNumber(QByteArrayView word)
{
    static constexpr std::array<const char *, 12> names = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (word.size() != 3)
        return 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (qstrnicmp(word.data(), names[i], 3) == 0)
            return int(i) + 1;
    }
    return 0;
}

// "9:07", "09:07" or "21:07:33"; an invalid time when the word is not one.
QTime parseClock(QByteArrayView word)
{
    const qsizetype colon = word.indexOf(':');
    if (colon < 0)
        return {};
    const QByteArrayView rest = word.sliced(colon + 1);
    const qsizetype secondColon = rest.indexOf(':');
    const int hour = parseSmallNumber(word.first(colon));
    const int minute = parseSmallNumber(secondColon < 0 ? rest : rest.first(secondColon));
    const int second = secondColon < 0 ? 0 : parseSmallNumber(rest.sliced(secondColon + 1));
    return QTime(hour, minute, second);
}

QDateTime serverTime(const QDate &date, const QTime &time)
{
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

struct WriteTime {
    QDateTime fields;
    ServerTime kind;
};

// Names that would leave the folder, or cannot be shown or sent back, never come out.
bool isAcceptableName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar ch : name) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F || ch == u'/' || ch == u'\\')
            return false;
    }
    return true;
}

std::optional<ListingEntry> makeEntry(QByteArrayView nameBytes, bool folder, qint64 size,
                                      const WriteTime &time)
{
    ServerName name = decodeServerName(nameBytes);
    if (!isAcceptableName(name.text))
        return std::nullopt;
    ListingEntry entry;
    entry.record.attributes = folder ? ftp::FILE_ATTRIBUTE_DIRECTORY : 0;
    entry.record.size = size;
    entry.record.lastWriteTime = time.fields;
    entry.record.lastWriteKind = time.kind;
    entry.record.name = std::move(name.text);
    entry.rawName = std::move(name.rawBytes);
    return entry;
}

// --- MLSD: "fact=value;fact=value; name"

// "YYYYMMDDHHMMSS" with optional fraction ".sss", in UTC.
QDateTime parseMlsdTime(QByteArrayView value)
{
    if (value.size() < 14)
        return {};
    const auto field = [&](qsizetype at, qsizetype width) {
        return parseSmallNumber(value.sliced(at, width), width);
    };
    int millisecond = 0;
    if (value.size() > 15 && value[14] == '.') {
        const QByteArrayView fraction = value.sliced(15).first(std::min<qsizetype>(3, value.size() - 15));
        millisecond = parseSmallNumber(fraction, 3);
        for (qsizetype i = fraction.size(); i < 3; ++i)
            millisecond *= 10;
    } else if (value.size() != 14) {
        return {};
    }
    return serverTime(QDate(field(0, 4), field(4, 2), field(6, 2)),
                      QTime(field(8, 2), field(10, 2), field(12, 2), millisecond));
}

std::optional<ListingEntry> parseMlsdLine(QByteArrayView line)
{
    const qsizetype space = line.indexOf(' ');
    if (space < 0)
        return std::nullopt;
    bool typed = false; // a line without a type fact is not an MLSD line
    bool folder = false;
    qint64 size = 0;
    QDateTime modified;
    QByteArrayView facts = line.first(space);
    while (!facts.isEmpty()) {
        const qsizetype semicolon = facts.indexOf(';');
        const QByteArrayView fact = semicolon < 0 ? facts : facts.first(semicolon);
        facts = semicolon < 0 ? QByteArrayView() : facts.sliced(semicolon + 1);
        const qsizetype equals = fact.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArrayView factName = fact.first(equals);
        const QByteArrayView value = fact.sliced(equals + 1);
        if (equalsIgnoringCase(factName, "type")) {
            // A link is taken for a file: a download follows it.
            const bool file = equalsIgnoringCase(value, "file") || startsWithIgnoringCase(value, "os.unix=slink")
                || startsWithIgnoringCase(value, "os.unix=symlink");
            folder = equalsIgnoringCase(value, "dir");
            if (!file && !folder)
                return std::nullopt; // cdir, pdir, devices
            typed = true;
        } else if (equalsIgnoringCase(factName, "size")) {
            size = parseSize(value).value_or(0);
        } else if (equalsIgnoringCase(factName, "modify")) {
            modified = parseMlsdTime(value);
        }
    }
    if (!typed)
        return std::nullopt;
    return makeEntry(line.sliced(space + 1), folder, size, {modified, ServerTime::Utc});
}

// --- Unix: "drwxr-xr-x   2 owner group  4096 Dec  5 09:07 name"

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
    case '-':
        return UnixKind::File;
    case 'l':
        return UnixKind::Link;
    case 'd':
        return UnixKind::Folder;
    case 'b':
    case 'c':
    case 'p':
    case 's':
    case 'D':
        return UnixKind::Skipped;
    default:
        return UnixKind::NotUnix;
    }
}

// Recent entries show a time instead of a year: theirs is the latest year
// that does not put them in the future (a day of slack for time zones).
QDate recentDate(int month, int day, const QDate &today)
{
    for (int year = today.year(); year > today.year() - 8; --year) {
        const QDate date(year, month, day);
        if (date.isValid() && date <= today.addDays(1))
            return date;
    }
    return {};
}

// The date words "Dec", " 5", "09:07" or "2006"; nothing when they are not a date.
std::optional<WriteTime> parseUnixDate(QByteArrayView monthWord, QByteArrayView dayWord,
                                       QByteArrayView timeOrYear, const QDateTime &now)
{
    const int month = monthNumber(monthWord);
    const int day = parseSmallNumber(dayWord);
    if (month == 0 || day < 1 || day > 31)
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

std::optional<ListingEntry> parseUnixLine(QByteArrayView line, const QDateTime &now)
{
    const Words words = leadingWords(line, 12);
    if (words.isEmpty())
        return std::nullopt;
    const UnixKind kind = unixKind(wordAt(line, words[0]));
    if (kind == UnixKind::NotUnix || kind == UnixKind::Skipped)
        return std::nullopt;
    // The group column is optional and owners may hold blanks: the date is
    // found by its shape, after the size.
    for (qsizetype month = 2; month + 3 < words.size(); ++month) {
        const std::optional<qint64> size = parseSize(wordAt(line, words[month - 1]));
        if (!size)
            continue;
        const std::optional<WriteTime> date =
            parseUnixDate(wordAt(line, words[month]), wordAt(line, words[month + 1]),
                          wordAt(line, words[month + 2]), now);
        if (!date)
            continue;
        QByteArrayView name = line.sliced(words[month + 2].end + 1);
        // A link is taken for a file, named without its target: a download follows it.
        if (kind == UnixKind::Link) {
            const qsizetype arrow = name.indexOf(" -> ");
            if (arrow >= 0)
                name = name.first(arrow);
        }
        return makeEntry(name, kind == UnixKind::Folder, *size, *date);
    }
    return std::nullopt;
}

// --- DOS/IIS: "12-05-06  09:07PM       <DIR>          name"

QDate parseDosDate(QByteArrayView word)
{
    if (word.size() != 8 && word.size() != 10)
        return {};
    if (word[2] != '-' || word[5] != '-')
        return {};
    const int month = parseSmallNumber(word.first(2));
    const int day = parseSmallNumber(word.sliced(3, 2));
    int year = parseSmallNumber(word.sliced(6), 4);
    if (month < 0 || day < 0 || year < 0)
        return {};
    if (word.size() == 8)
        year += year < 70 ? 2000 : 1900;
    return QDate(year, month, day);
}

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

std::optional<ListingEntry> parseDosLine(QByteArrayView line)
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

ServerName decodeServerName(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {std::move(text), {}};
    const QByteArray raw = bytes.toByteArray();
    return {fromWindows1252(raw), raw};
}

std::optional<ListingEntry> parseListingLine(QByteArrayView line, ListingFormat format,
                                             const QDateTime &now)
{
    if (line.isEmpty() || line.size() > MaxListingLineBytes)
        return std::nullopt;
    if (format == ListingFormat::Mlsd)
        return parseMlsdLine(line);
    if (auto entry = parseUnixLine(line, now))
        return entry;
    return parseDosLine(line);
}

} // namespace vendrel
