#include "transfer/NumberPatterns.h"

#include "listing/RowFormat.h"

#include <cmath>

namespace vendrel {

QString formatWholePattern(double value, const QLocale &locale)
{
    QString text = formatSizePattern(std::round(value), locale);
    text.chop(locale.decimalPoint().size()); // a whole value ends with the separator alone
    return text;
}

QString formatSpeedPattern(double value, const QLocale &locale)
{
    return formatSizePattern(value, locale).remove(u' ');
}

} // namespace vendrel
