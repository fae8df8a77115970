#include "core/types/Clock.h"
#include "core/types/Dates.h"

#include <gtest/gtest.h>

#include <utility>

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

// Also run under en_US, en_GB, de_DE and ko_KR (core/types/CMakeLists.txt):
// a date reads back as the day it was shown as, and digits typed are read
// in the order the screens show them, never in another.
TEST(ShownDates, ReadInTheOrderTheyAreShownInEveryLocale) {
    for (CalDate d = CalDate::ymd(2026, 1, 1); d <= CalDate::ymd(2026, 12, 31); d = d.addDays(1))
        ASSERT_EQ(parseDate(d.toShortDate(), 2026), d) << d.toShortDate().toStdString();
    const QString f = shortDateFormat();
    const bool names = f.contains(QLatin1String("MMM"));
    const qsizetype day = f.indexOf(QLatin1Char('d')), month = f.indexOf(QLatin1Char('M')),
                    year = f.indexOf(QLatin1Char('y'));
    QString seventh, thirteenth; // 7 and 13 December 2026 as a person types them in the shown order
    if (!names && year < month)
        seventh = "2026/12/7", thirteenth = "26-12-13";
    else if (!names && day < month)
        seventh = "7/12/2026", thirteenth = "13.12.26";
    else
        seventh = "12/7/2026", thirteenth = "12/13/26";
    EXPECT_EQ(parseDate(seventh, 2026), CalDate::ymd(2026, 12, 7)) << f.toStdString();
    EXPECT_EQ(parseDate(thirteenth, 2026), CalDate::ymd(2026, 12, 13)) << f.toStdString();
    if (!names && day < month) { // the other order is refused, not read as 12 July
        EXPECT_FALSE(parseDate("12/13/2026", 2026));
    }
    EXPECT_EQ(parseDate("2026-12-07", 2026), CalDate::ymd(2026, 12, 7));
    // The clocks' files are month first whatever the locale.
    EXPECT_EQ(parseDate("07/12/26", 2026, DateOrder::MonthFirst), CalDate::ymd(2026, 7, 12));
    EXPECT_FALSE(parseDate("13/12/26", 2026, DateOrder::MonthFirst));
}

TEST(TimeOfDay, TypedAsAPersonTypesIntoAnAmPmBox) {
    const TimeOfDay morning = TimeOfDay::fromMinutes(8 * 60), evening = TimeOfDay::fromMinutes(20 * 60);
    for (const char* pm : {"1000p", "10:00 PM", "10pm", "10 p.m.", "p1000", "PM 10:00", "22:00"})
        EXPECT_EQ(TimeOfDay::parseTyped(pm, morning)->toHm(), "22:00") << pm;
    for (const char* am : {"1000a", "10:00 am", "10A", "a 10", "10:00"})
        EXPECT_EQ(TimeOfDay::parseTyped(am, morning)->toHm(), "10:00") << am;
    EXPECT_EQ(TimeOfDay::parseTyped("1030", evening)->toHm(), "22:30"); // the half shown stays
    EXPECT_EQ(TimeOfDay::parseTyped("p", morning)->toHm(), "20:00");
    EXPECT_EQ(TimeOfDay::parseTyped("12:00 am", evening)->toHm(), "00:00");
    EXPECT_EQ(TimeOfDay::parseTyped("12p", morning)->toHm(), "12:00");
    EXPECT_EQ(TimeOfDay::parseTyped("0:15", evening)->toHm(), "00:15");
    for (const char* bad : {"", "13:00 PM", "10:60", "2400", "10x", "p10p", "12345", "m"})
        EXPECT_FALSE(TimeOfDay::parseTyped(bad, morning)) << bad;
    // Where times show on the 24-hour clock, hours without a half are on it.
    for (const auto& [typed, read] : {std::pair{"12:00", "12:00"}, {"1200", "12:00"}, {"2200", "22:00"},
                                      {"7", "07:00"}, {"12a", "00:00"}, {"10pm", "22:00"}, {"0:15", "00:15"}})
        EXPECT_EQ(TimeOfDay::parseTyped(typed)->toHm(), read) << typed;
    EXPECT_FALSE(TimeOfDay::parseTyped("p"));
    EXPECT_EQ(TimeOfDay::fromMinutes(0).toHmAmPm(), "12:00 AM");
    EXPECT_EQ(TimeOfDay::fromMinutes(13 * 60 + 5).toHmAmPm(), "01:05 PM");
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
