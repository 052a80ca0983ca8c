#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace vendrel {

// Image index of a file name by its extension (the text after the last
// point, or the whole name), compared in lower case: 1..10.
qint16 IconForExtension(const QString &name);

// The digit pattern "### ### ###.##": blanks between groups of three, the
// locale's decimal separator always written, at most two decimals without
// trailing zeros, no digit before the separator for a value below 1.
QString formatSizePattern(double value, const QLocale &locale = QLocale());

// 5.12.2006 9:07 — no leading zeros but on the minute, no seconds.
QString FormatListingDateTime(const QDateTime &time);

} // namespace vendrel
