#include "core/types/WorkWeek.h"

#include <gtest/gtest.h>

using namespace plax;

namespace {
CompanySettings settings(int workDay, int dayStartMinutes = 0, int round = 5) {
    CompanySettings s;
    s.WorkDay = workDay;
    s.setDayStart(TimeOfDay::fromMinutes(dayStartMinutes));
    s.RoundTotal = round;
    return s;
}
TimeOfDay hm(int h, int m) { return *TimeOfDay::fromHm(h, m); }

// Week number written straight from the rules, by walking days.
int referenceWeekNumber(CalDate d, int workDay) {
    auto startOf = [&](CalDate x) {
        while (x.weekday() != workDay)
            x = x.addDays(-1);
        return x;
    };
    const CalDate nextStart = startOf(CalDate::ymd(d.year() + 1, 1, 1));
    if (d >= nextStart)
        return 1;
    int week = 1;
    for (CalDate x = startOf(CalDate::ymd(d.year(), 1, 1)).addDays(7); x <= d; x = x.addDays(7))
        ++week;
    return week;
}
} // namespace

TEST(WorkWeek, DatedExamples) {
    const auto s = settings(2);
    EXPECT_EQ(WeekStart(CalDate::ymd(2024, 1, 10), s), CalDate::ymd(2024, 1, 8));
    EXPECT_EQ(WeekNumber(CalDate::ymd(2024, 1, 10), s), 2);
    EXPECT_EQ(WeekNumber(CalDate::ymd(2024, 12, 30), s), 1);
    EXPECT_EQ(WeekNumber(CalDate::ymd(2024, 12, 29), s), 52);
}

TEST(WorkWeek, WeekEndDependsOnTheDayStart) {
    const auto midnight = settings(2, 0);
    const CalDate monday = CalDate::ymd(2024, 1, 8);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(WeekEnd(monday.addDays(i), hm(12, 0), midnight), monday.addDays(6));
    EXPECT_EQ(WeekEndFor(monday, hm(12, 0), hm(0, 0), midnight), monday.addDays(7));

    // Day start 06:00: a 03:00 punch on the Monday belongs to the Sunday before.
    const auto six = settings(2, 360);
    EXPECT_EQ(WeekEnd(monday, hm(3, 0), six), monday);
    EXPECT_EQ(WeekNumber(monday, hm(3, 0), six), WeekNumber(monday, six) - 1);
    EXPECT_EQ(WeekNumberShifted(monday, hm(3, 0), hm(6, 0), six), WeekNumber(monday, six) - 1);
    EXPECT_EQ(WeekNumberShifted(monday, hm(6, 0), hm(6, 0), six), WeekNumber(monday, six));
}

TEST(WorkWeek, AnEarlyPunchOnTheMondayThatStartsWeekOneBelongsToTheYearBefore) {
    // Monday 28 December 2026 starts week 1 of 2027; Sunday the 27th is in
    // week 52 of 2026.
    const CalDate mon = CalDate::ymd(2026, 12, 28);
    const auto six = settings(2, 360);
    EXPECT_EQ(WeekNumber(mon, hm(3, 0), six), 52);
    EXPECT_EQ(WeekNumberShifted(mon, hm(3, 0), hm(6, 0), six), 52);
    EXPECT_EQ(WeekNumber(mon, hm(6, 0), six), 1);

    // Day start 00:30 (whole hours 0): 00:15 on a Monday is Sunday's, and the
    // week ends on the Monday, where its last work day ends.
    const auto half = settings(2, 30);
    EXPECT_EQ(WeekNumber(mon, hm(0, 15), half), 52);
    EXPECT_EQ(WeekEnd(mon, hm(0, 15), half), mon);
    EXPECT_EQ(WeekEnd(mon, hm(0, 30), half), mon.addDays(7));
}

TEST(WorkWeek, MatchesTheReferenceOnEveryDayAndWorkDay) {
    for (int workDay = 1; workDay <= 7; ++workDay) {
        const auto s = settings(workDay);
        for (CalDate d = CalDate::ymd(1998, 1, 1); d <= CalDate::ymd(2031, 12, 31); d = d.addDays(1)) {
            const CalDate ws = WeekStart(d, s);
            ASSERT_EQ(ws.weekday(), workDay);
            ASSERT_TRUE(d - ws >= 0 && d - ws < 7);
            ASSERT_EQ(WeekEnd(d, hm(12, 0), s), ws.addDays(6));
            ASSERT_EQ(WeekNumber(d, s), referenceWeekNumber(d, workDay)) << d.toIso().toStdString();
        }
    }
    // A day start after midnight: the week ends on the first date of the
    // next week, and a punch before the day start counts to the day before,
    // in that day's week.
    for (const int dayStart : {6 * 60, 30}) {
        const auto s = settings(3, dayStart);
        const TimeOfDay start = TimeOfDay::fromMinutes(dayStart), early = TimeOfDay::fromMinutes(dayStart - 1);
        for (CalDate d = CalDate::ymd(2023, 1, 1); d <= CalDate::ymd(2025, 12, 31); d = d.addDays(1)) {
            ASSERT_EQ(WeekEnd(d, start, s), WeekStart(d, s).addDays(7));
            ASSERT_EQ(WeekEnd(d, early, s), WeekStart(d.addDays(-1), s).addDays(7));
            ASSERT_EQ(WeekEndFor(d, hm(12, 0), hm(0, 0), s), WeekStart(d, s).addDays(7));
            ASSERT_EQ(WeekNumber(d, early, s), referenceWeekNumber(d.addDays(-1), 3)) << d.toIso().toStdString();
            ASSERT_EQ(WeekNumber(d, start, s), referenceWeekNumber(d, 3));
        }
    }
}

TEST(WorkWeek, RoundingHalvesGoToTheEvenMultiple) {
    const auto by5 = settings(2, 0, 5), by10 = settings(2, 0, 10), exact = settings(2, 0, 0);
    EXPECT_EQ(RoundMinutes(7, by5), 5);
    EXPECT_EQ(RoundMinutes(8, by5), 10);
    EXPECT_EQ(RoundMinutes(5, by10), 0);
    EXPECT_EQ(RoundMinutes(15, by10), 20);
    EXPECT_EQ(RoundMinutes(25, by10), 20);
    EXPECT_EQ(RoundMinutes(-7, by5), -5);
    EXPECT_EQ(RoundMinutes(487, exact), 487);
    // Beyond the old 16-bit limit the result stays consistent.
    EXPECT_EQ(RoundMinutes(40003, by5), 40005);
    EXPECT_EQ(RoundMinutes(-40003, by5), -40005);
}

TEST(WorkWeek, ShiftLengths) {
    const auto s = settings(2, 0, 5);
    const CalDate d = CalDate::ymd(2024, 3, 1);
    EXPECT_EQ(ShiftMinutes(d, hm(22, 0), d.addDays(1), hm(6, 0), settings(2, 0, 0)), 480);
    EXPECT_EQ(ShiftMinutes(d, hm(8, 0), d, hm(16, 7), settings(2, 0, 15)), 480);
    EXPECT_EQ(ShiftMinutes(d, hm(8, 0), d, hm(10, 3), s), 125);
    EXPECT_EQ(MinutesToHours(125), 2);
    EXPECT_EQ(MinutesRemainder(125), 5);
    EXPECT_EQ(MinutesToHours(-125), -2);
    EXPECT_EQ(MinutesRemainder(-125), -5);
}
