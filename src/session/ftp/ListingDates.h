#pragma once

// Dates as the families of listing lines write them.
#include <QByteArrayView>
#include <QDate>

namespace vendrel::ftplisting {

// 1 to 12 for a month's name, full or abbreviated, with or without a
// trailing dot, in English, German, French, Spanish, Italian, Dutch or
// Swedish, in UTF-8 or Latin-1 ("Dec", "déc.", "Mär", "mai", "okt",
// "settembre"); 0 for any other word.
int monthNumber(QByteArrayView word);

// Recent Unix entries show a time instead of a year: theirs is the latest
// year that does not put them in the future (a day of slack for time zones).
QDate recentDate(int month, int day, const QDate &today);

enum class DateOrder { MonthFirst, DayFirst };

// "12-05-06", "12-05-2006", or "04-23-103" from the servers that count the
// year from 1900; two-digit years are taken as 1970 to 2069.
QDate parseNumericDate(QByteArrayView word, char separator, DateOrder order);

// "2015-03-10" (separator '-') or "2015/03/10".
QDate parseYearFirstDate(QByteArrayView word, char separator);

} // namespace vendrel::ftplisting
