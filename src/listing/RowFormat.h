#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace vendrel {

// Image index of a file name by its extension (the text after the last
// point, or the whole name), compared in lower case: 1..10.
qint16 IconForExtension(const QString &name);

// Kilobytes of 1000 bytes in their shortest decimal text, without grouping: 1,536 or 2.
QString kilobyteText(qint64 bytes);

// The digit pattern "### ### ###.##": blanks between groups of three, the
// locale's decimal separator always written, at most two decimals without
// trailing zeros, no digit before the separator for a value below 1.
QString formatSizePattern(double value, const QLocale &locale = QLocale());

// How a row's time is shown.
enum class ShownTime : quint8 {
    AsWritten,   // the calendar fields as they are
    InLocalTime, // an instant, shown in the user's time zone
    DateOnly,    // the day alone: its source gave no time of day
};

// 5.12.2006 9:07 — no leading zeros but on the minute, no seconds; 5.12.2006
// for a day alone; nothing for a missing time.
QString FormatListingDateTime(const QDateTime &time, ShownTime shown = ShownTime::AsWritten);

} // namespace vendrel
