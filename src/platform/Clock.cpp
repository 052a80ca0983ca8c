#include "platform/Clock.h"

#include <ctime>

namespace vendrel {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

// The coarse clock ticks every few milliseconds, like the tick count the
// figures were designed for, and costs a fraction of the precise one: a
// transfer reads it for every 1 KiB block.
quint32 SystemClock::tickCount() const
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<quint32>(quint64(now.tv_sec) * 1000 + quint64(now.tv_nsec) / 1'000'000);
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
