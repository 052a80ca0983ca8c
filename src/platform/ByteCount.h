#pragma once

#include <QtGlobal>
#include <limits>

namespace vendrel {

// Adds two byte counts, stopping at the largest one instead of wrapping: a
// hostile listing may claim files of 2^63-1 bytes, and a sum must never turn
// negative.
inline qint64 addBytes(qint64 total, qint64 more)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(total, more, &sum))
        return more > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return sum;
}

} // namespace vendrel
