#include "session/ftp/ListingDates.h"

#include "session/ftp/ListingFields.h"

#include <array>
#include <string_view>

namespace vendrel::listing {

namespace {

// Each month's names, without accents, in the languages servers are met in:
// whole, or an abbreviation that is not the start of one of them.
constexpr std::array<std::string_view, 12> monthSpellings = {
    "january januar janvier enero gennaio januari",
    "february februar fevrier febrero febbraio februari",
    "march marz mars marzo maart mrt",
    "april avril abril aprile",
    "may mai mayo maggio mei maj",
    "june juni juin junio giugno",
    "july juli juillet julio luglio",
    "august aout agosto augustus augusti",
    "september septembre septiembre settembre",
    "october oktober octobre octubre ottobre",
    "november novembre noviembre",
    "december dezember decembre diciembre dicembre",
};

constexpr qsizetype LongestSpelling = 10;

// The accented letters of those names, as UTF-8 (after its lead byte 0xC3)
// or as Latin-1, and the letter they stand for.
struct Accent {
    char utf8Trail;
    char latin1;
    char plain;
};
constexpr std::array<Accent, 6> accents = {{
    {'\xA9', '\xE9', 'e'}, {'\x89', '\xC9', 'e'}, // é É
    {'\xA4', '\xE4', 'a'}, {'\x84', '\xC4', 'a'}, // ä Ä
    {'\xBB', '\xFB', 'u'}, {'\x9B', '\xDB', 'u'}, // û Û
}};

char plainLetter(char c, bool afterUtf8Lead)
{
    for (const Accent &accent : accents) {
        if (c == (afterUtf8Lead ? accent.utf8Trail : accent.latin1))
            return accent.plain;
    }
    return 0;
}

// The word in lower-case ASCII, accents dropped, without one trailing dot or
// comma; empty when it holds anything a month's name does not.
std::string_view foldMonthWord(QByteArrayView word, std::array<char, LongestSpelling> &buffer)
{
    if (word.endsWith('.') || word.endsWith(','))
        word.chop(1);
    qsizetype length = 0;
    for (qsizetype at = 0; at < word.size(); ++at) {
        char c = word[at];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        else if (c == '\xC3' && at + 1 < word.size())
            c = plainLetter(word[++at], true);
        else if (c < 'a' || c > 'z')
            c = plainLetter(c, false);
        if (c == 0 || length == LongestSpelling)
            return {};
        buffer[std::size_t(length++)] = c;
    }
    return {buffer.data(), std::size_t(length)};
}

bool abbreviates(std::string_view word, std::string_view spellings)
{
    while (!spellings.empty()) {
        const std::size_t blank = spellings.find(' ');
        if (spellings.substr(0, blank).starts_with(word))
            return true;
        spellings = blank == std::string_view::npos ? std::string_view() : spellings.substr(blank + 1);
    }
    return false;
}

} // namespace

int monthNumber(QByteArrayView word)
{
    std::array<char, LongestSpelling> buffer;
    const std::string_view folded = foldMonthWord(word, buffer);
    if (folded.size() < 3)
        return 0;
    int found = 0;
    for (std::size_t month = 0; month < monthSpellings.size(); ++month) {
        if (!abbreviates(folded, monthSpellings[month]))
            continue;
        if (found != 0)
            return 0; // "jui" could be June or July
        found = int(month) + 1;
    }
    return found;
}

QDate recentDate(int month, int day, const QDate &today)
{
    for (int year = today.year(); year > today.year() - 8; --year) {
        const QDate date(year, month, day);
        if (date.isValid() && date <= today.addDays(1))
            return date;
    }
    return {};
}

QDate parseNumericDate(QByteArrayView word, char separator, DateOrder order)
{
    if (word.size() < 8 || word.size() > 10 || word[2] != separator || word[5] != separator)
        return {};
    const int first = parseSmallNumber(word.first(2));
    const int second = parseSmallNumber(word.sliced(3, 2));
    int year = parseSmallNumber(word.sliced(6), 4);
    if (first < 0 || second < 0 || year < 0)
        return {};
    if (word.size() == 8)
        year = fullYear(year);
    else if (word.size() == 9)
        year += 1900;
    return order == DateOrder::MonthFirst ? QDate(year, first, second) : QDate(year, second, first);
}

QDate parseYearFirstDate(QByteArrayView word, char separator)
{
    if (word.size() != 10 || word[4] != separator || word[7] != separator)
        return {};
    const int year = parseSmallNumber(word.first(4), 4);
    const int month = parseSmallNumber(word.sliced(5, 2));
    const int day = parseSmallNumber(word.sliced(8, 2));
    if (year < 0 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day);
}

} // namespace vendrel::listing
