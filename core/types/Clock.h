#pragma once
// The one source of "now" for both programs. Tests set it to a chosen
// moment; everything time-dependent (punches, schedules, default dates)
// asks here instead of the system clock.

#include "Dates.h"

#include <QDateTime>

namespace plax {

class Clock {
public:
    // Local date and time, to the millisecond.
    static QDateTime now();
    static CalDate today();
    // The present minute; seconds are dropped.
    static DateTimeMin nowMinute();
    // Milliseconds from an arbitrary start; follows the set clock in tests.
    static qint64 elapsedMs();

    // Freeze the clock at `t` (tests). It stays there until advanced or reset.
    static void setFixed(const QDateTime& t);
    static void advanceSecs(qint64 secs);
    static void advanceMs(qint64 ms);
    static void reset();
    static bool isFixed();
};

DateTimeMin toDateTimeMin(const QDateTime& t);

} // namespace plax
