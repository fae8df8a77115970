#pragma once
// The scheduled window of a [Schedule Days] row and the "may this employee
// punch now?" test, as pure functions of the rows, the weekday, the time of
// day and the grace minutes. The clock terminal asks before every punch; the
// exception report builds its own comparisons on ScheduleWindow.
//
// Times sit on one day line in minutes: the widened bounds are not wrapped
// at midnight, so a window may start before 0 or end after 1440. A row whose
// EndTime is not later than its StartTime is an overnight shift.

#include "Dates.h"

#include <vector>

namespace plax {

struct ScheduleDayRow {
    int TheDay = 1; // 1 = Sunday .. 7 = Saturday
    TimeOfDay StartTime;
    TimeOfDay EndTime;
};

struct ScheduleWindow {
    int start = 0;          // StartTime - GraceP, minutes on the day line
    int end = 0;            // EndTime + GraceP, minutes on the day line
    bool overnight = false; // EndTime is not later than StartTime

    // Inclusive tests against a time of day.
    bool notBeforeStart(TimeOfDay t) const { return t.minutes() >= start; }
    bool notAfterEnd(TimeOfDay t) const { return t.minutes() <= end; }
    bool contains(TimeOfDay t) const { return notBeforeStart(t) && notAfterEnd(t); }
};

inline bool isOvernight(const ScheduleDayRow& row) { return row.EndTime <= row.StartTime; }
ScheduleWindow windowOf(const ScheduleDayRow& row, int graceP);

// The day before / after on the 1..7 Sunday-first scale (Sunday <-> Saturday).
int previousWeekday(int day);
int nextWeekday(int day);

// The first row for `day`, or nullptr.
const ScheduleDayRow* findScheduleDay(const std::vector<ScheduleDayRow>& rows, int day);

// Whether `now` on a `weekday` lies in the schedule's window:
//  - today's day shift: StartTime - grace <= now <= EndTime + grace;
//  - today's overnight shift: now >= StartTime - grace (its end is tomorrow);
//  - otherwise yesterday's overnight tail: now <= its EndTime + grace.
// No row for today and none (or a day shift) yesterday: false.
bool IsScheduledAt(const std::vector<ScheduleDayRow>& rows, int weekday, TimeOfDay now, int graceP);

} // namespace plax
