#pragma once

#include "platform/Clock.h"

namespace vendrel::test {

// A clock the test sets; it moves only when told.
class FakeClock final : public Clock {
public:
    QDateTime now() const override { return now_; }
    quint32 tickCount() const override { return tick_; }

    void advance(quint32 milliseconds)
    {
        tick_ += milliseconds;
        now_ = now_.addMSecs(milliseconds);
    }

private:
    QDateTime now_{QDate(2026, 12, 5), QTime(14, 7, 33)};
    quint32 tick_ = 1000;
};

} // namespace vendrel::test
