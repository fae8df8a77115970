#include "WorkWeek.h"

namespace plax {

int workWeekday(CalDate d, int workDay) { return ((d.weekday() - workDay) % 7 + 7) % 7 + 1; }

CalDate WeekStart(CalDate d, const CompanySettings& s) { return d.addDays(1 - workWeekday(d, s.WorkDay)); }

CalDate WeekEnd(CalDate d, TimeOfDay t, const CompanySettings& s) {
    const CalDate ws = WeekStart(WorkDate(d, t, s), s);
    // Any day start after midnight, 00:30 as well as 06:00, carries the
    // week's last work day into the next calendar date.
    return ws.addDays(s.DayStartTime.minutes() > 0 ? 7 : 6);
}

CalDate WeekEndFor(CalDate d, TimeOfDay t, TimeOfDay dayStart, const CompanySettings& s) {
    const CalDate workDate = t < dayStart ? d.addDays(-1) : d;
    const CalDate ws = WeekStart(workDate, s);
    return ws.addDays((168 + dayStart.minutes() / 60) / 24);
}

int WeekNumber(CalDate d, const CompanySettings& s) {
    const int y = d.year();
    const CalDate w1 = WeekStart(CalDate::ymd(y, 1, 1), s);
    const CalDate w2 = y < 9999 ? WeekStart(CalDate::ymd(y + 1, 1, 1), s) : CalDate::fromDays(INT32_MAX);
    if (d >= w2)
        return (d - w2) / 7 + 1;
    return (d - w1) / 7 + 1;
}

int WeekNumber(CalDate d, TimeOfDay t, const CompanySettings& s) { return WeekNumber(WorkDate(d, t, s), s); }

int WeekNumberShifted(CalDate d, TimeOfDay t1, TimeOfDay t2, const CompanySettings& s) {
    return WeekNumber(t1 < t2 ? d.addDays(-1) : d, s);
}

std::int32_t RoundMinutes(std::int32_t m, const CompanySettings& s) {
    const std::int32_t unit = s.RoundTotal;
    if (unit == 0)
        return m;
    // Nearest multiple, a half going to the even quotient, in integers.
    std::int64_t q = m / unit;
    std::int64_t r = m % unit;
    if (r < 0) {
        r += unit;
        --q;
    }
    if (2 * r > unit || (2 * r == unit && (q % 2 != 0)))
        ++q;
    return std::int32_t(q * unit);
}

std::int32_t ShiftMinutes(CalDate tdate, TimeOfDay clockIn, CalDate dateOut, TimeOfDay clockOut,
                          const CompanySettings& s) {
    const std::int32_t m = (dateOut - tdate) * 1440 + clockOut.minutes() - clockIn.minutes();
    return RoundMinutes(m, s);
}

PayWeek PayWeekOf(CalDate d, const CompanySettings& s) {
    const CalDate first = WeekStart(d, s);
    return {first, WeekNumber(first, s)};
}

std::vector<PayWeek> PayWeeksBetween(CalDate from, CalDate to, const CompanySettings& s) {
    std::vector<PayWeek> weeks;
    for (CalDate d = WeekStart(from, s); d <= to; d = d.addDays(7))
        weeks.push_back(PayWeekOf(d, s));
    return weeks;
}

CalDate RowWorkDate(CalDate d, std::optional<int> week, const CompanySettings& s) {
    const PayWeek w = PayWeekOf(d, s);
    return d == w.first && week && *week != w.number ? d.addDays(-1) : d;
}

WorkDateRows WorkDateRowsOf(CalDate from, CalDate to, const CompanySettings& s) {
    WorkDateRows rows{from, PayWeekOf(to, s).lastShiftDateUpTo(to), {}, {}};
    if (WeekStart(from, s) == from)
        rows.weekBefore = PayWeekOf(from.addDays(-1), s).number;
    if (rows.last != to)
        rows.lastWeek = PayWeekOf(to, s).number;
    return rows;
}

} // namespace plax
