#include "core/types/ScheduleWindow.h"

#include <gtest/gtest.h>

using namespace plax;

namespace {
TimeOfDay hm(int h, int m) { return *TimeOfDay::fromHm(h, m); }
ScheduleDayRow row(int day, TimeOfDay start, TimeOfDay end) { return {day, start, end}; }
std::vector<ScheduleDayRow> everyDay(TimeOfDay start, TimeOfDay end) {
    std::vector<ScheduleDayRow> rows;
    for (int d = 1; d <= 7; ++d)
        rows.push_back(row(d, start, end));
    return rows;
}
constexpr int Sunday = 1, Monday = 2, Tuesday = 3, Wednesday = 4, Saturday = 7;
} // namespace

TEST(ScheduleWindow, DayShiftGraceBoundsAreInclusive) {
    const auto rows = everyDay(hm(8, 0), hm(17, 0));
    EXPECT_TRUE(IsScheduledAt(rows, Monday, hm(7, 50), 10));
    EXPECT_TRUE(IsScheduledAt(rows, Monday, hm(17, 10), 10));
    EXPECT_FALSE(IsScheduledAt(rows, Monday, hm(7, 49), 10));
    EXPECT_FALSE(IsScheduledAt(rows, Monday, hm(17, 11), 10));
    EXPECT_TRUE(IsScheduledAt(rows, Monday, hm(8, 0), 0));
    EXPECT_FALSE(IsScheduledAt(rows, Monday, hm(7, 59), 0));
}

TEST(ScheduleWindow, BoundsAreNotWrappedAtMidnight) {
    // 00:05 - 10 minutes lies at 23:55 of the day before on the day line.
    const std::vector<ScheduleDayRow> rows{row(Monday, hm(0, 5), hm(8, 0))};
    EXPECT_EQ(windowOf(rows[0], 10).start, -5);
    EXPECT_TRUE(IsScheduledAt(rows, Monday, hm(0, 1), 10));
    EXPECT_TRUE(IsScheduledAt(rows, Monday, hm(0, 0), 10));
    EXPECT_FALSE(IsScheduledAt(rows, Monday, hm(23, 58), 10));
    // A day shift ending 23:55 with 10 grace minutes ends past 24:00.
    const std::vector<ScheduleDayRow> late{row(Monday, hm(20, 0), hm(23, 55))};
    EXPECT_EQ(windowOf(late[0], 10).end, 1445);
    EXPECT_TRUE(IsScheduledAt(late, Monday, hm(23, 59), 10));
    EXPECT_FALSE(IsScheduledAt(late, Tuesday, hm(0, 2), 10)); // not carried into the next day
}

TEST(ScheduleWindow, OvernightEveryDay) {
    const auto rows = everyDay(hm(22, 0), hm(6, 0));
    EXPECT_TRUE(IsScheduledAt(rows, Tuesday, hm(23, 0), 0)); // today's row
    EXPECT_TRUE(IsScheduledAt(rows, Tuesday, hm(2, 0), 0));  // yesterday's tail
    EXPECT_TRUE(IsScheduledAt(rows, Tuesday, hm(6, 0), 0));
    EXPECT_FALSE(IsScheduledAt(rows, Tuesday, hm(6, 1), 0));
    EXPECT_FALSE(IsScheduledAt(rows, Tuesday, hm(12, 0), 0));
    EXPECT_FALSE(IsScheduledAt(rows, Tuesday, hm(21, 59), 0));
    EXPECT_TRUE(IsScheduledAt(rows, Tuesday, hm(21, 55), 5));
}

TEST(ScheduleWindow, SundayLooksBackAtSaturday) {
    const std::vector<ScheduleDayRow> rows{row(Saturday, hm(22, 0), hm(6, 0))};
    EXPECT_TRUE(IsScheduledAt(rows, Sunday, hm(5, 0), 0));
    EXPECT_FALSE(IsScheduledAt(rows, Sunday, hm(6, 1), 0));
    EXPECT_FALSE(IsScheduledAt(rows, Monday, hm(5, 0), 0));
    EXPECT_EQ(previousWeekday(Sunday), Saturday);
    EXPECT_EQ(nextWeekday(Saturday), Sunday);
}

TEST(ScheduleWindow, YesterdaysDayShiftOrNoRowsRefuse) {
    const std::vector<ScheduleDayRow> rows{row(Monday, hm(8, 0), hm(17, 0))};
    for (int m = 0; m < 1440; m += 7)
        EXPECT_FALSE(IsScheduledAt(rows, Tuesday, TimeOfDay::fromMinutes(m), 30));
    EXPECT_FALSE(IsScheduledAt({}, Monday, hm(12, 0), 59));
}

TEST(ScheduleWindow, EqualStartAndEndIsOvernight) {
    const std::vector<ScheduleDayRow> rows{row(Monday, hm(9, 0), hm(9, 0)), row(Tuesday, hm(9, 0), hm(9, 0))};
    EXPECT_TRUE(windowOf(rows[0], 0).overnight);
    EXPECT_TRUE(IsScheduledAt(rows, Monday, hm(8, 55), 5));  // today: now >= start - grace
    EXPECT_FALSE(IsScheduledAt(rows, Monday, hm(8, 54), 5)); // Sunday has no row
    EXPECT_TRUE(IsScheduledAt(rows, Tuesday, hm(9, 5), 5));  // today's row
    EXPECT_TRUE(IsScheduledAt(rows, Tuesday, hm(0, 0), 5));  // Monday's tail
    EXPECT_FALSE(IsScheduledAt(rows, Wednesday, hm(9, 6), 5));
}

TEST(ScheduleWindow, OnlyTheFirstRowOfADayCounts) {
    const std::vector<ScheduleDayRow> rows{row(Monday, hm(8, 0), hm(12, 0)), row(Monday, hm(13, 0), hm(17, 0))};
    EXPECT_TRUE(IsScheduledAt(rows, Monday, hm(9, 0), 0));
    EXPECT_FALSE(IsScheduledAt(rows, Monday, hm(14, 0), 0));
}
