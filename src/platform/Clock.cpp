#include "platform/Clock.h"

#include <QElapsedTimer>

namespace vendrel {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

quint32 SystemClock::tickCount() const
{
    static QElapsedTimer sinceStart = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return static_cast<quint32>(sinceStart.elapsed());
}

QString timeOfDayText(const QTime &time, const QLocale &locale)
{
    // The long format carries the seconds but also a time-zone name, which the
    // log has never shown.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return time.toString(format.trimmed());
}

QString shortDateText(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

} // namespace vendrel
