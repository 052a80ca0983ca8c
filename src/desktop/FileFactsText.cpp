#include "desktop/FileFactsText.h"

#include "platform/Clock.h"

#include <QLocale>

namespace vendrel {

QString fileSizeText(qint64 bytes)
{
    const QLocale locale;
    const QString exact = locale.toString(bytes) + QStringLiteral(" octets");
    if (bytes < 1000)
        return exact;
    return locale.toString(static_cast<double>(bytes) / 1000.0, 'f', 2) + QStringLiteral(" Ko (") + exact + u')';
}

QString fileTimeText(const QDateTime &time)
{
    if (!time.isValid())
        return QStringLiteral("inconnue");
    const QLocale locale;
    return locale.toString(time.date(), QLocale::LongFormat) + QStringLiteral(" à ")
           + timeOfDayText(time.time(), locale);
}

} // namespace vendrel
