#pragma once

#include <QLocale>
#include <QString>

namespace vendrel {

// The digit pattern "### ###": a whole number rounded, blanks between groups
// of three, nothing at all for 0.
QString formatWholePattern(double value, const QLocale &locale = QLocale());
// The digit pattern "#.##": no groups, the locale's decimal separator always
// written, at most two decimals without trailing zeros.
QString formatSpeedPattern(double value, const QLocale &locale = QLocale());

} // namespace vendrel
