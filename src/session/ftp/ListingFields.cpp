#include "session/ftp/ListingFields.h"

#include "platform/Paths.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace vendrel::ftplisting {

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

QByteArrayView takeField(QByteArrayView &text, char separator)
{
    const qsizetype end = text.indexOf(separator);
    const QByteArrayView field = end < 0 ? text : text.first(end);
    text = end < 0 ? QByteArrayView() : text.sliced(end + 1);
    return field;
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

bool isDigits(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
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

int parseSmallNumber(QByteArrayView digits, qsizetype maxDigits)
{
    if (digits.size() > maxDigits || !isDigits(digits))
        return -1;
    int value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

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

std::optional<ListingEntry> makeEntry(QByteArrayView nameBytes, bool folder, qint64 size, const WriteTime &time)
{
    ServerName name = decodeServerName(nameBytes);
    if (!isSafeFileName(name.text))
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

} // namespace vendrel::ftplisting
