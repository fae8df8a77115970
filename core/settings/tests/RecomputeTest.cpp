#include "core/settings/Recompute.h"
#include "Fixture.h"

#include <gtest/gtest.h>

using namespace plax;
using namespace plax::settings;
using namespace plax::settings::fixture;

namespace {

const CalDate kMon = CalDate::ymd(2024, 1, 8); // a Monday, week 2 from Monday

class Recompute : public ::testing::Test {
  protected:
    db::Database& db() { return co.db(); }
    ::plax::test::TempCompany co;
    CompanySettings s; // Monday, 00:00, rounding 5
};

TEST_F(Recompute, NewRoundingRewritesClosedShiftsAndLeavesOpenOnes) {
    addShift(db(), "A", kMon, "08:00", kMon, "16:07", 2, 8, 5); // 487 min: 485 by 5, 480 by 15
    addShift(db(), "A", kMon.addDays(1), "22:00", kMon.addDays(2), "06:08", 2, 8, 10); // overnight, 488
    addShift(db(), "B", kMon, "09:00", std::nullopt, "", 2, 0, 0);                     // open shift
    // Longer than a 16-bit count of minutes: hours and minutes must still agree.
    addShift(db(), "C", kMon, "08:00", kMon.addDays(30), "08:07", 2, 0, 0);
    db().executeStrict(QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week) VALUES ('A', ?, 2)"),
                       {kMon});

    s.RoundTotal = 15;
    const RecomputeCounts c = RecomputeShiftTotals(db(), s);
    EXPECT_EQ(c.rows, 3);

    db::Recordset rs =
        db().openRecordset(QStringLiteral("SELECT EmpID, TDate, ClockIn, DateOut, ClockOut, TotalHrs, "
                                          "TotalMin, Recalculate FROM [Time Attendance] "
                                          "ORDER BY EmpID, TDate"));
    for (; !rs.eof(); rs.moveNext()) {
        const QString id = rs.field(0).toString();
        if (id == "B") {
            EXPECT_EQ(rs.field(5).toInt() * 60 + rs.field(6).toInt(), 0);
            EXPECT_EQ(rs.field(7).toInt(), 0) << "an open shift keeps its flag";
            continue;
        }
        const int m = ShiftMinutes(*rs.field(1).toDate(), *rs.field(2).toTime(), *rs.field(3).toDate(),
                                   *rs.field(4).toTime(), s);
        EXPECT_EQ(rs.field(5).toInt() * 60 + rs.field(6).toInt(), m) << id.toStdString();
        EXPECT_EQ(rs.field(6).toInt(), m % 60);
        EXPECT_EQ(rs.field(7).toInt(), 1);
    }
    EXPECT_EQ(count(db(),
                    "SELECT TotalHrs * 60 + TotalMin FROM [Time Attendance] WHERE EmpID = 'A' AND TDate = ?",
                    {kMon}),
              480);
    EXPECT_EQ(count(db(), "SELECT TotalHrs FROM [Time Attendance] WHERE EmpID = 'C'"),
              (30 * 1440 + 7) / 15 * 15 / 60);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM [Hours Worked]"), 1)
        << "the hours engine rebuilds flagged days";
}

TEST_F(Recompute, WeekStartDayRenumbersAllThreeTablesAndEmptiesHoursWorked) {
    // Sunday 14 January 2024 is week 2 from Monday and week 3 from Sunday.
    const CalDate sun = CalDate::ymd(2024, 1, 14);
    addShift(db(), "A", sun, "08:00", sun, "16:00", 2, 8, 0);
    addShift(db(), "A", kMon, "08:00", kMon, "16:00", 2, 8, 0);
    addShift(db(), "B", CalDate::ymd(2024, 12, 29), "08:00", std::nullopt, "", 52, 0, 0);
    db().executeStrict(QStringLiteral("INSERT INTO Absence (EmpID, TDate, Week) VALUES ('A', ?, 2)"), {sun});
    db().executeStrict(QStringLiteral("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES ('X', ?, 2)"),
                       {sun});
    db().executeStrict(
        QStringLiteral("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES ('Y', ?, NULL)"), {kMon});
    db().executeStrict(QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week) VALUES ('A', ?, 2)"),
                       {kMon});

    std::vector<std::pair<int, int>> told;
    ApplyWorkDay(db(), s, 1, [&told](int done, int total) { told.emplace_back(done, total); });

    EXPECT_EQ(s.WorkDay, 1);
    EXPECT_EQ(regValue(db(), "Company Settings", "WorkDay"), "1");
    CompanySettings sunday;
    sunday.WorkDay = 1;
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance] WHERE TDate = ?", {sun}), 3);
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance] WHERE TDate = ?", {kMon}), 2); // unchanged
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance] WHERE EmpID = 'B'"),
              WeekNumber(CalDate::ymd(2024, 12, 29), sunday)); // a Sunday starting the week of 1 January: 1
    EXPECT_EQ(count(db(), "SELECT Week FROM Absence"), 3);
    EXPECT_EQ(count(db(), "SELECT Week FROM Holidays WHERE HolidayName = 'X'"), 3);
    EXPECT_EQ(count(db(), "SELECT Week FROM Holidays WHERE HolidayName = 'Y'"), 2); // was Null
    EXPECT_EQ(count(db(), "SELECT count(*) FROM [Time Attendance] WHERE Recalculate = 0"), 0);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM [Hours Worked]"), 0);
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), std::make_pair(6, 6)); // three shifts, one absence, two holidays
}

TEST_F(Recompute, EarlyPunchOnTheFirstDayOfAWeekKeepsThePreviousWeek) {
    addShift(db(), "A", kMon, "03:00", kMon, "09:00", 0, 6, 0); // before 06:00 on the week's first day
    addShift(db(), "A", kMon.addDays(1), "03:00", kMon.addDays(1), "09:00", 0, 6, 0); // Tuesday: its own week
    addShift(db(), "A", kMon, "07:00", kMon, "09:00", 0, 2, 0);
    // The Monday that starts week 1 of 2027: the week before is week 52 of 2026.
    const CalDate newYear = CalDate::ymd(2026, 12, 28);
    addShift(db(), "A", newYear, "03:00", newYear, "05:00", 0, 2, 0);
    db().executeStrict(QStringLiteral("INSERT INTO Absence (EmpID, TDate, Week) VALUES ('A', ?, 9)"), {kMon});

    ApplyDayStart(db(), s, TimeOfDay::fromMinutes(6 * 60));

    EXPECT_EQ(s.DayStartTime.toHm(), "06:00");
    EXPECT_EQ(s.DayStartHours, 6);
    EXPECT_EQ(regValue(db(), "Company Settings", "DayStartTime"), "06:00");
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance] WHERE TDate = ? AND ClockIn = '03:00'", {kMon}),
              1);
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance] WHERE TDate = ? AND ClockIn = '07:00'", {kMon}),
              2);
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance] WHERE TDate = ?", {kMon.addDays(1)}), 2);
    EXPECT_EQ(count(db(), "SELECT Week FROM Absence"), 9) << "absences keep their week";
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance] WHERE TDate = ?", {newYear}), 52);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM [Time Attendance] WHERE TDate = ?", {kMon}), 2)
        << "no date moves";
    EXPECT_EQ(count(db(), "SELECT count(*) FROM [Time Attendance] WHERE Recalculate = 0"), 0);
}

// Another program reading the file meanwhile (the clock terminal) sees the
// old numbers until the whole change is committed, never a mix.
TEST_F(Recompute, OtherConnectionsSeeAllOldOrAllNew) {
    {
        db::Database::Transaction tx(db());
        db::Query q =
            db().prepare("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, "
                         "TotalHrs, TotalMin, Recalculate) VALUES (?, ?, ?, '08:00', ?, '16:00', 8, 0, 0)");
        for (int i = 0; i < 5000; ++i) {
            const CalDate d = CalDate::ymd(2024, 1, 7).addDays(7 * (i / 100)); // Sundays
            q.execute({QString::number(i % 100), d, WeekNumber(d, s), d});
        }
        tx.commit();
    }
    auto terminal = co.reopen();
    const QString changed = "SELECT count(*) FROM [Time Attendance] WHERE Recalculate = 1";
    std::vector<int> seen;
    ApplyWorkDay(db(), s, 1, [&](int done, int total) {
        if (done > 0 && done < total)
            seen.push_back(count(*terminal, changed) + count(*terminal, "SELECT count(*) FROM Registry"));
    });
    ASSERT_FALSE(seen.empty());
    for (int n : seen)
        EXPECT_EQ(n, 0);
    EXPECT_EQ(count(*terminal, changed), 5000);
    EXPECT_EQ(regValue(*terminal, "Company Settings", "WorkDay"), "1");
}

// A failure half way (here the last table refuses its rows) leaves the old
// setting, the old week numbers everywhere and the old hours.
TEST_F(Recompute, FailureHalfWayLeavesEverythingAsItWas) {
    const CalDate sun = CalDate::ymd(2024, 1, 14);
    addShift(db(), "A", sun, "08:00", sun, "16:00", 2, 8, 0);
    db().executeStrict(QStringLiteral("INSERT INTO Absence (EmpID, TDate, Week) VALUES ('A', ?, 2)"), {sun});
    db().executeStrict(QStringLiteral("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES ('X', ?, 2)"),
                       {sun});
    db().executeStrict(QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week) VALUES ('A', ?, 2)"),
                       {sun});
    db().executeScript(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Holidays "
                                      "BEGIN SELECT RAISE(ABORT, 'disk full'); END;"));

    EXPECT_ANY_THROW(ApplyWorkDay(db(), s, 1));
    EXPECT_EQ(s.WorkDay, 2);
    EXPECT_EQ(regValue(db(), "Company Settings", "WorkDay"), "<none>");
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance]"), 2);
    EXPECT_EQ(count(db(), "SELECT Week FROM Absence"), 2);
    EXPECT_EQ(count(db(), "SELECT Recalculate FROM [Time Attendance]"), 0);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM [Hours Worked]"), 1);
    EXPECT_FALSE(db().inTransaction());

    db().executeScript(QStringLiteral("DROP TRIGGER refuse;"));
    db().executeScript(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON [Hours Worked] "
                                      "BEGIN SELECT RAISE(ABORT, 'disk full'); END;"));
    EXPECT_ANY_THROW(ApplyDayStart(db(), s, TimeOfDay::fromMinutes(9 * 60)));
    EXPECT_EQ(s.DayStartTime.toHm(), "00:00");
    EXPECT_EQ(regValue(db(), "Company Settings", "DayStartTime"), "<none>");
    EXPECT_EQ(count(db(), "SELECT Week FROM [Time Attendance]"), 2);
}

} // namespace
