#include "session/ftp/ListingDates.h"
#include "session/ftp/ListingFamilies.h"

#include <algorithm>

namespace vendrel::ftplisting {

namespace {

// "DIR", or letters of the attributes archive, read-only, hidden, system.
bool isAttributeWord(QByteArrayView word)
{
    return word == "DIR"
           || std::all_of(word.begin(), word.end(), [](char c) { return QByteArrayView("ARHS").contains(c); });
}

// The size comes first.
bool claimsOs2(QByteArrayView line)
{
    const Words words = leadingWords(line, 1);
    return !words.isEmpty() && isDigits(wordAt(line, words[0]));
}

// "   345      A    12-05-06   09:07  readme.os2", " 1123 DIR  A    10-05-100  23:38  docs"
std::optional<ListingEntry> parseOs2Line(QByteArrayView line, const QDateTime &)
{
    constexpr qsizetype MostAttributeWords = 2;
    const Words words = leadingWords(line, 4 + MostAttributeWords);
    const auto word = [&](qsizetype i) { return wordAt(line, words[i]); };
    const std::optional<qint64> size = words.isEmpty() ? std::nullopt : parseSize(word(0));
    bool folder = false;
    qsizetype at = 1;
    for (; at <= MostAttributeWords && at < words.size() && isAttributeWord(word(at)); ++at)
        folder = folder || word(at) == "DIR";
    if (!size || at + 2 >= words.size())
        return std::nullopt;
    const QDateTime time = serverTime(parseNumericDate(word(at), '-', DateOrder::MonthFirst), parseClock(word(at + 1)));
    if (!time.isValid())
        return std::nullopt;
    return makeEntry(line.sliced(words[at + 2].begin), folder, *size, {time, ServerTime::AsWritten});
}

} // namespace

const ListingFamily os2Family{claimsOs2, parseOs2Line};

} // namespace vendrel::ftplisting
