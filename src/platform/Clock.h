#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace vendrel {

// Time of day and a millisecond tick, so tests can pin both.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds from an arbitrary start; wraps modulo 2^32.
    virtual quint32 tickCount() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    quint32 tickCount() const override;
};

// The time of day as the desktop writes it, with seconds (14:05:33).
QString timeOfDayText(const QTime &time, const QLocale &locale = QLocale());
// The short date as the desktop writes it (05/12/2026).
QString shortDateText(const QDate &date, const QLocale &locale = QLocale());

} // namespace vendrel
