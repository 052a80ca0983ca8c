#include "session/ftp/ListingDates.h"

#include "session/ftp/ListingFields.h"

#include <array>
#include <string_view>

namespace vendrel::ftplisting {

namespace {

// Month names without accents in the languages servers are met in: whole,
// or in an abbreviation that is not the start of one of them.
struct MonthSpelling {
    std::string_view text;
    int month;
};
constexpr MonthSpelling monthSpellings[] = {
    {"january", 1},    {"janvier", 1},   {"enero", 1},     {"gennaio", 1},    {"januari", 1},    {"february", 2},
    {"fevrier", 2},    {"febrero", 2},   {"febbraio", 2},  {"februari", 2},   {"march", 3},      {"marzo", 3},
    {"mars", 3},       {"maart", 3},     {"mrt", 3},       {"aprile", 4},     {"avril", 4},      {"abril", 4},
    {"mayo", 5},       {"mai", 5},       {"maggio", 5},    {"mei", 5},        {"maj", 5},        {"june", 6},
    {"juni", 6},       {"juin", 6},      {"junio", 6},     {"giugno", 6},     {"july", 7},       {"juli", 7},
    {"juillet", 7},    {"julio", 7},     {"luglio", 7},    {"augustus", 8},   {"augusti", 8},    {"aout", 8},
    {"agosto", 8},     {"september", 9}, {"septembre", 9}, {"septiembre", 9}, {"settembre", 9},  {"october", 10},
    {"oktober", 10},   {"octobre", 10},  {"octubre", 10},  {"ottobre", 10},   {"november", 11},  {"novembre", 11},
    {"noviembre", 11}, {"december", 12}, {"dezember", 12}, {"decembre", 12},  {"diciembre", 12}, {"dicembre", 12},
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
    {'\xA9', '\xE9', 'e'},
    {'\x89', '\xC9', 'e'}, // é É
    {'\xA4', '\xE4', 'a'},
    {'\x84', '\xC4', 'a'}, // ä Ä
    {'\xBB', '\xFB', 'u'},
    {'\x9B', '\xDB', 'u'}, // û Û
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

// Written out rather than with starts_with: this runs for most words of a
// line, and a library call per spelling costs more than the comparison.
bool abbreviates(std::string_view word, std::string_view spelling)
{
    if (word.size() > spelling.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != spelling[i])
            return false;
    }
    return true;
}

} // namespace

int monthNumber(QByteArrayView word)
{
    std::array<char, LongestSpelling> buffer;
    const std::string_view folded = foldMonthWord(word, buffer);
    if (folded.size() < 3)
        return 0;
    int found = 0;
    for (const MonthSpelling &spelling : monthSpellings) {
        if (!abbreviates(folded, spelling.text) || spelling.month == found)
            continue;
        if (found != 0)
            return 0; // "jui" could be June or July
        found = spelling.month;
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

} // namespace vendrel::ftplisting
