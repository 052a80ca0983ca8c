#pragma once

// The pieces every family of listing lines is cut with: words and their
// places, numbers, clock times, and the entry a line finally gives.
#include "session/ftp/ListingParser.h"

#include <QVarLengthArray>

namespace vendrel::ftplisting {

struct Word {
    qsizetype begin;
    qsizetype end;
};
using Words = QVarLengthArray<Word, 16>;

inline bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first blank-separated words of a line, with their places, so that a
// name can then be cut from the line exactly as it stands.
Words leadingWords(QByteArrayView line, qsizetype limit);

inline QByteArrayView wordAt(QByteArrayView line, const Word &word)
{
    return line.sliced(word.begin, word.end - word.begin);
}

// Cuts the next field off text at separator; text keeps the rest.
QByteArrayView takeField(QByteArrayView &text, char separator);

bool equalsIgnoringCase(QByteArrayView text, QByteArrayView lowerCase);
bool startsWithIgnoringCase(QByteArrayView text, QByteArrayView lowerCasePrefix);
bool isDigits(QByteArrayView text);

// A size of any width a qint64 holds; nothing for anything else.
std::optional<qint64> parseSize(QByteArrayView digits);

// A number of 1 to maxDigits decimal digits, or -1.
int parseSmallNumber(QByteArrayView digits, qsizetype maxDigits = 2);

// "9:07", "09:07" or "21:07:33"; an invalid time when the word is not one.
QTime parseClock(QByteArrayView word);

// A two-digit year as the servers of the last century meant it.
inline int fullYear(int twoDigitYear)
{
    return twoDigitYear + (twoDigitYear < 70 ? 2000 : 1900);
}

QDateTime serverTime(const QDate &date, const QTime &time);

struct WriteTime {
    QDateTime fields;
    ServerTime kind;
};

// The entry for a name as the server sent it, or nothing when the name may
// not come out of the layer.
std::optional<ListingEntry> makeEntry(QByteArrayView nameBytes, bool folder, qint64 size, const WriteTime &time);

} // namespace vendrel::ftplisting
