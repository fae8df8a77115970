#pragma once
// Work-day, work-week and shift-length arithmetic, shared by both programs.
// Pure functions of their arguments and the settings passed in.

#include "CompanySettings.h"
#include "Dates.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace plax {

// Weekday of d counted from the first day of the work week: 1 .. 7.
int workWeekday(CalDate d, int workDay);

CalDate WeekStart(CalDate d, const CompanySettings& s);
// The calendar date on which the work week of the punch (d, t) ends:
// start + 6 days when the day starts at 00:00, else start + 7 days (the
// week's last work day runs into that date up to the day start).
CalDate WeekEnd(CalDate d, TimeOfDay t, const CompanySettings& s);
// As WeekEnd with an explicit day start; always start + 7 days.
CalDate WeekEndFor(CalDate d, TimeOfDay t, TimeOfDay dayStart, const CompanySettings& s);
// Work-week number of d in its year (week 1 holds 1 January; the last days
// of December can be week 1 of the next year).
int WeekNumber(CalDate d, const CompanySettings& s);
// The week of the punch (d, t): the week of its work date. A punch before
// the day start on the first day of a work week belongs to the week
// before, also when that is the last week of the year before.
int WeekNumber(CalDate d, TimeOfDay t, const CompanySettings& s);
// The week of the work date when the day starts at t2: WeekNumber(d - 1)
// when t1 is earlier than t2, else WeekNumber(d).
int WeekNumberShifted(CalDate d, TimeOfDay t1, TimeOfDay t2, const CompanySettings& s);

// m rounded to the nearest multiple of RoundTotal, a half going to the even
// multiple. Computed in 32 bits, so long shifts never overflow.
std::int32_t RoundMinutes(std::int32_t m, const CompanySettings& s);
// Rounded length of a shift in minutes.
std::int32_t ShiftMinutes(CalDate tdate, TimeOfDay clockIn, CalDate dateOut, TimeOfDay clockOut,
                          const CompanySettings& s);
inline std::int32_t MinutesToHours(std::int32_t m) { return m / 60; }
inline std::int32_t MinutesRemainder(std::int32_t m) { return m % 60; }

// The work date of a punch: the previous calendar date before the day start.
inline CalDate WorkDate(CalDate d, TimeOfDay t, const CompanySettings& s) {
    return t < s.DayStartTime ? d.addDays(-1) : d;
}

// A work week as a pay period: its first date and its number. Its days run
// from `first` to lastDay(); its shifts are dated up to the day after, where
// a clock-in before the day start still belongs to its last work day. A
// week's rows are those that carry its number within its own dates, so a
// same-numbered week of another year is never one of them.
struct PayWeek {
    CalDate first;
    int number = 0;
    CalDate lastDay() const { return first.addDays(6); }
    CalDate lastShiftDate() const { return first.addDays(7); }
    // The last date of the week's shifts whose work date lies up to `to`:
    // `to` itself, or the day after the week once `to` reaches its last day.
    CalDate lastShiftDateUpTo(CalDate to) const { return to >= lastDay() ? lastShiftDate() : to; }
};
// The work week that holds d, whichever of its dates d is.
PayWeek PayWeekOf(CalDate d, const CompanySettings& s);
// Every work week that holds a date from `from` to `to`, in date order.
std::vector<PayWeek> PayWeeksBetween(CalDate from, CalDate to, const CompanySettings& s);

// The work date of a row dated d (the date of its clock-in) that carries
// `week`: d, or the day before for a shift begun before the day start on a
// week's first day, which carries the week before's number. Rows keep no
// other trace of their work date: [Hours Worked] adds up a date's shifts of
// one week, whatever their clock-in.
CalDate RowWorkDate(CalDate d, std::optional<int> week, const CompanySettings& s);

// The rows whose work date lies from `from` to `to`, told as RowWorkDate
// tells them: those dated `from` to `last`, except on `from` the rows of
// `weekBefore`, and on `last` all but the rows of `lastWeek`.
struct WorkDateRows {
    CalDate from, last;
    std::optional<int> weekBefore; // when `from` starts a week
    std::optional<int> lastWeek;   // when `last` is the day after `to`
};
WorkDateRows WorkDateRowsOf(CalDate from, CalDate to, const CompanySettings& s);

} // namespace plax
