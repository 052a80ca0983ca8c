#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <ctime>

namespace vendrel::test {

// Sets the process's time zone (a TZ value) for one scope, so conversions to
// local time show whatever zone the machine runs in.
class PinnedTimeZone {
public:
    explicit PinnedTimeZone(const char *zone) : saved_(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        ::tzset();
    }
    ~PinnedTimeZone()
    {
        saved_.isNull() ? qunsetenv("TZ") : qputenv("TZ", saved_);
        ::tzset();
    }
    PinnedTimeZone(const PinnedTimeZone &) = delete;
    PinnedTimeZone &operator=(const PinnedTimeZone &) = delete;

    // Paris spelt out, so no zone database is needed: UTC+1, UTC+2 in summer.
    static constexpr const char *paris = "CET-1CEST,M3.5.0,M10.5.0/3";

private:
    QByteArray saved_;
};

} // namespace vendrel::test
