#include "core/types/Clock.h"
#include "core/types/Dates.h"

#include <gtest/gtest.h>

using namespace plax;

TEST(CalDate, RoundTripsEveryDayOfFourCenturies) {
    // Walk day by day and check the calendar fields against a plain counter.
    int y = 1900, m = 1, d = 1;
    for (CalDate day = CalDate::ymd(1900, 1, 1); day <= CalDate::ymd(2300, 12, 31); day = day.addDays(1)) {
        ASSERT_EQ(day.year(), y);
        ASSERT_EQ(day.month(), m);
        ASSERT_EQ(day.day(), d);
        ASSERT_EQ(CalDate::fromIso(day.toIso()), day);
        if (++d > CalDate::daysInMonth(y, m)) {
            d = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
}

TEST(CalDate, WeekdaysNumberFromSunday) {
    EXPECT_EQ(CalDate::ymd(2024, 1, 7).weekday(), 1);   // Sunday
    EXPECT_EQ(CalDate::ymd(2024, 1, 10).weekday(), 4);  // Wednesday
    EXPECT_EQ(CalDate::ymd(1969, 12, 27).weekday(), 7); // Saturday before the epoch
}

TEST(CalDate, RejectsImpossibleDates) {
    EXPECT_FALSE(CalDate::fromYmd(2023, 2, 29));
    EXPECT_TRUE(CalDate::fromYmd(2024, 2, 29));
    EXPECT_FALSE(CalDate::fromYmd(1900, 2, 29));
    EXPECT_TRUE(CalDate::fromYmd(2000, 2, 29));
    EXPECT_FALSE(CalDate::fromYmd(2024, 13, 1));
    EXPECT_FALSE(CalDate::fromIso(QStringLiteral("2024-04-31")));
}

TEST(CalDate, FormatsAsTheScreensWriteThem) {
    const CalDate d = CalDate::ymd(2007, 3, 5);
    EXPECT_EQ(d.toIso(), QStringLiteral("2007-03-05"));
    EXPECT_EQ(d.toMdy2(), QStringLiteral("03/05/07"));
    EXPECT_EQ(d.toMdy4(), QStringLiteral("03/05/2007"));
    EXPECT_EQ(d.format(QStringLiteral("ddd, MMM dd, yyyy")), QStringLiteral("Mon, Mar 05, 2007"));
    EXPECT_TRUE(d.toShortDate().contains(QStringLiteral("2007")));
}

TEST(ParseDate, TwoDigitYearsSlideWithTheCurrentYear) {
    // In 2026 the window is 1947..2046: punches from 2030 are not 1930.
    EXPECT_EQ(parseDate(QStringLiteral("01/02/30"), 2026), CalDate::ymd(2030, 1, 2));
    EXPECT_EQ(parseDate(QStringLiteral("01/02/46"), 2026), CalDate::ymd(2046, 1, 2));
    EXPECT_EQ(parseDate(QStringLiteral("01/02/47"), 2026), CalDate::ymd(1947, 1, 2));
    EXPECT_EQ(parseDate(QStringLiteral("12/31/99"), 2026), CalDate::ymd(1999, 12, 31));
    EXPECT_EQ(parseDate(QStringLiteral("12/31/99"), 2085), CalDate::ymd(2099, 12, 31));
    EXPECT_EQ(expandTwoDigitYear(5, 2026), 2005);
}

TEST(ParseDate, AcceptsTheUsualFormsAndRefusesNonsense) {
    EXPECT_EQ(parseDate(QStringLiteral("3/5/2007"), 2026), CalDate::ymd(2007, 3, 5));
    EXPECT_EQ(parseDate(QStringLiteral(" 03/05/2007 "), 2026), CalDate::ymd(2007, 3, 5));
    EXPECT_EQ(parseDate(QStringLiteral("2007-03-05"), 2026), CalDate::ymd(2007, 3, 5));
    EXPECT_EQ(parseDate(CalDate::ymd(2011, 11, 23).toShortDate(), 2026), CalDate::ymd(2011, 11, 23));
    EXPECT_FALSE(parseDate(QStringLiteral("02/30/2024"), 2026));
    EXPECT_FALSE(parseDate(QStringLiteral("13/01/24"), 2026));
    EXPECT_FALSE(parseDate(QStringLiteral(""), 2026));
    EXPECT_FALSE(parseDate(QStringLiteral("yesterday"), 2026));
}

TEST(TimeOfDay, ParsesAndDropsSeconds) {
    EXPECT_EQ(TimeOfDay::parse(QStringLiteral("06:45"))->minutes(), 405);
    EXPECT_EQ(TimeOfDay::parse(QStringLiteral("6:45:59"))->minutes(), 405);
    EXPECT_EQ(TimeOfDay::parse(QStringLiteral("12:00 AM"))->minutes(), 0);
    EXPECT_EQ(TimeOfDay::parse(QStringLiteral("12:30 pm"))->minutes(), 750);
    EXPECT_EQ(TimeOfDay::parse(QStringLiteral("1:05 PM"))->toHm(), QStringLiteral("13:05"));
    EXPECT_FALSE(TimeOfDay::parse(QStringLiteral("24:00")));
    EXPECT_FALSE(TimeOfDay::parse(QStringLiteral("10:60")));
    EXPECT_FALSE(TimeOfDay::parse(QStringLiteral("13:00 PM")));
}

TEST(DateTimeMin, SplitsTotalsAcrossMidnightAndBeforeTheEpoch) {
    const DateTimeMin a{CalDate::ymd(2024, 3, 1), TimeOfDay::fromMinutes(22 * 60)};
    const DateTimeMin b = DateTimeMin::fromTotalMinutes(a.totalMinutes() + 480);
    EXPECT_EQ(b.date, CalDate::ymd(2024, 3, 2));
    EXPECT_EQ(b.time.toHm(), QStringLiteral("06:00"));
    const DateTimeMin old{CalDate::ymd(1960, 1, 1), TimeOfDay::fromMinutes(1)};
    EXPECT_EQ(DateTimeMin::fromTotalMinutes(old.totalMinutes()), old);
}

TEST(Clock, CanBeSetAndAdvanced) {
    Clock::setFixed(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 30)));
    EXPECT_EQ(Clock::today(), CalDate::ymd(2024, 12, 31));
    Clock::advanceSecs(45);
    EXPECT_EQ(Clock::nowMinute().date, CalDate::ymd(2025, 1, 1));
    EXPECT_EQ(Clock::nowMinute().time.toHm(), QStringLiteral("00:00"));
    EXPECT_EQ(Clock::elapsedMs(), 45000);
    Clock::reset();
    EXPECT_FALSE(Clock::isFixed());
}
