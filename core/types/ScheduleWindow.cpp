#include "ScheduleWindow.h"

namespace plax {

ScheduleWindow windowOf(const ScheduleDayRow& row, int graceP) {
    return {row.StartTime.minutes() - graceP, row.EndTime.minutes() + graceP, isOvernight(row)};
}

int previousWeekday(int day) { return day <= 1 ? 7 : day - 1; }
int nextWeekday(int day) { return day >= 7 ? 1 : day + 1; }

const ScheduleDayRow* findScheduleDay(const std::vector<ScheduleDayRow>& rows, int day) {
    for (const auto& r : rows)
        if (r.TheDay == day)
            return &r;
    return nullptr;
}

bool IsScheduledAt(const std::vector<ScheduleDayRow>& rows, int weekday, TimeOfDay now, int graceP) {
    if (const auto* today = findScheduleDay(rows, weekday)) {
        const ScheduleWindow w = windowOf(*today, graceP);
        if (w.overnight ? w.notBeforeStart(now) : w.contains(now))
            return true;
    }
    const auto* yesterday = findScheduleDay(rows, previousWeekday(weekday));
    if (!yesterday)
        return false;
    const ScheduleWindow w = windowOf(*yesterday, graceP);
    return w.overnight && w.notAfterEnd(now);
}

} // namespace plax
