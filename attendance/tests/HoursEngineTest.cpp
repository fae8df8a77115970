#include "attendance/HoursEngine.h"
#include "core/types/WorkWeek.h"
#include "testing/TempCompany.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

using namespace plax;

namespace {

TimeOfDay hm(int h, int m) { return *TimeOfDay::fromHm(h, m); }

struct Hours {
    double straight = 0, overtime = 0, dt = -1;
};

class HoursEngine : public ::testing::Test {
protected:
    void SetUp() override { settings.WorkDay = 2; }
    db::Database& db() { return company.db(); }

    // A closed shift of `minutes` starting at `in` on `d`, with the week of d.
    void shift(const QString& emp, CalDate d, TimeOfDay in, int minutes, bool flagged,
               std::optional<int> week = {}) {
        const DateTimeMin out = DateTimeMin::fromTotalMinutes(DateTimeMin{d, in}.totalMinutes() + minutes);
        db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, "
                                    "TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,?)"),
                     {emp, d, week.value_or(WeekNumber(d, settings)), in, out.date, out.time, minutes / 60,
                      minutes % 60, flagged});
    }
    std::map<QString, Hours> hours(const QString& emp = QStringLiteral("E1")) {
        std::map<QString, Hours> out;
        auto rs = db().openRecordset(QStringLiteral("SELECT * FROM [Hours Worked] WHERE EmpID = ?"), {emp});
        for (; !rs.eof(); rs.moveNext())
            out[rs["TDate"].toString() + QLatin1Char('/') + rs["Week"].toString()] = {
                rs["Straight Hrs"].toDouble(), rs["OT Hrs"].toDouble(), rs["DT Hrs"].toDouble()};
        return out;
    }
    Hours at(CalDate d, std::optional<int> week = {}, const QString& emp = QStringLiteral("E1")) {
        const auto all = hours(emp);
        const auto it = all.find(d.toIso() + QLatin1Char('/') + QString::number(week.value_or(WeekNumber(d, settings))));
        return it == all.end() ? Hours{} : it->second;
    }
    int flagged() {
        return int(db().openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE Recalculate <> 0"))
                       .field(0)
                       .toInt());
    }

    test::TempCompany company;
    CompanySettings settings;
    const CalDate mon = CalDate::ymd(2024, 1, 8); // a Monday, week 2
};

} // namespace

TEST_F(HoursEngine, WeeklySplitAtFortyHours) {
    const int day[] = {9, 9, 9, 9, 6};
    for (int i = 0; i < 5; ++i)
        shift(QStringLiteral("E1"), mon.addDays(i), hm(8, 0), day[i] * 60, true);
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(at(mon.addDays(i)).straight, 9);
        EXPECT_DOUBLE_EQ(at(mon.addDays(i)).overtime, 0);
    }
    EXPECT_DOUBLE_EQ(at(mon.addDays(4)).straight, 4);
    EXPECT_DOUBLE_EQ(at(mon.addDays(4)).overtime, 2);
    EXPECT_DOUBLE_EQ(at(mon.addDays(4)).dt, 0);
    EXPECT_EQ(flagged(), 0);
    // A second run finds nothing to do and changes nothing.
    const auto before = hours().size();
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    EXPECT_EQ(hours().size(), before);
}

TEST_F(HoursEngine, SplitAtTheBoundary) {
    EXPECT_DOUBLE_EQ(splitWeekHours(8, 32).straight, 8);
    EXPECT_DOUBLE_EQ(splitWeekHours(8, 32).overtime, 0);
    EXPECT_DOUBLE_EQ(splitWeekHours(9, 32).straight, 8);
    EXPECT_DOUBLE_EQ(splitWeekHours(9, 32).overtime, 1);
    EXPECT_DOUBLE_EQ(splitWeekHours(5, 40).straight, 0);
    EXPECT_DOUBLE_EQ(splitWeekHours(5, 41).overtime, 5);
    // No row in the week yet: all straight, however long.
    EXPECT_DOUBLE_EQ(splitWeekHours(44, std::nullopt).straight, 44);
    EXPECT_DOUBLE_EQ(splitWeekHours(44, std::nullopt).overtime, 0);
    // A row of 0 hours counts as a row.
    EXPECT_DOUBLE_EQ(splitWeekHours(44, 0.0).straight, 40);

    // The first shift of a week is all straight time even beyond 40 hours.
    shift(QStringLiteral("E1"), mon, hm(6, 0), 44 * 60, true);
    shift(QStringLiteral("E1"), mon.addDays(3), hm(8, 0), 8 * 60 + 20, true);
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    EXPECT_DOUBLE_EQ(at(mon).straight, 44);
    EXPECT_DOUBLE_EQ(at(mon.addDays(3)).straight, 0);
    EXPECT_DOUBLE_EQ(at(mon.addDays(3)).overtime, 8 + 20.0 / 60);
}

TEST_F(HoursEngine, TwoShiftsOfOneDateShareOneRow) {
    shift(QStringLiteral("E1"), mon.addDays(1), hm(6, 0), 3 * 60, true);
    shift(QStringLiteral("E1"), mon.addDays(1), hm(13, 0), 5 * 60, true);
    shift(QStringLiteral("E1"), mon, hm(8, 0), 34 * 60, true);
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    // Monday 34; Tuesday: 3 straight (37), then 3 straight + 2 overtime.
    EXPECT_EQ(hours().size(), 2u);
    EXPECT_DOUBLE_EQ(at(mon.addDays(1)).straight, 6);
    EXPECT_DOUBLE_EQ(at(mon.addDays(1)).overtime, 2);
}

TEST_F(HoursEngine, OnlyMondayFlaggedCountsTheRestOfTheWeekAsPrior) {
    for (int i = 1; i < 5; ++i)
        shift(QStringLiteral("E1"), mon.addDays(i), hm(8, 0), 9 * 60, true);
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    shift(QStringLiteral("E1"), mon, hm(8, 0), 8 * 60, true);
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    EXPECT_DOUBLE_EQ(at(mon).straight, 4);
    EXPECT_DOUBLE_EQ(at(mon).overtime, 4);
    EXPECT_DOUBLE_EQ(at(mon.addDays(4)).straight, 9); // untouched
}

TEST_F(HoursEngine, EarlyClockInOnAWeeksFirstDateCountsAgainstTheWeekBefore) {
    settings.setDayStart(hm(6, 0));
    // 38 hours in the week before, then Monday 03:00 to 07:00 (previous week's number).
    shift(QStringLiteral("E1"), mon.addDays(-3), hm(8, 0), 38 * 60, true);
    const int prevWeek = WeekNumber(mon, hm(3, 0), settings);
    ASSERT_EQ(prevWeek, 1);
    shift(QStringLiteral("E1"), mon, hm(3, 0), 4 * 60, true, prevWeek);
    // A Monday day shift of the new week is not affected by either.
    shift(QStringLiteral("E1"), mon, hm(9, 0), 8 * 60, true);
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    EXPECT_DOUBLE_EQ(at(mon, prevWeek).straight, 2);
    EXPECT_DOUBLE_EQ(at(mon, prevWeek).overtime, 2);
    EXPECT_DOUBLE_EQ(at(mon).straight, 8);
}

TEST_F(HoursEngine, OpenShiftAndEmptyRuns) {
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    EXPECT_TRUE(hours().empty());
    db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) VALUES ('E1', ?, 2, "
                                "'08:00')"),
                 {mon});
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    ASSERT_EQ(hours().size(), 1u);
    EXPECT_DOUBLE_EQ(at(mon).straight, 0);
    EXPECT_DOUBLE_EQ(at(mon).overtime, 0);
    EXPECT_EQ(flagged(), 0);
}

TEST_F(HoursEngine, AFlaggedShiftRebuildsItsWholeDay) {
    // A closed morning shift already counted, then a new afternoon shift is
    // flagged alone (as the terminal does): the day keeps the morning's hours.
    shift(QStringLiteral("E1"), mon, hm(6, 0), 4 * 60, true);
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    shift(QStringLiteral("E1"), mon, hm(13, 0), 3 * 60, true);
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    EXPECT_DOUBLE_EQ(at(mon).straight, 7);
    EXPECT_EQ(flagged(), 0);
}

TEST_F(HoursEngine, AFailureHalfWayIsRepairedByTheNextRun) {
    for (const char* emp : {"A", "B", "C"})
        for (int i = 0; i < 5; ++i)
            shift(QString::fromLatin1(emp), mon.addDays(i), hm(8, 0), 9 * 60, true);
    // B's Wednesday cannot be written.
    db().executeScript(QStringLiteral("CREATE TRIGGER fail_b BEFORE INSERT ON [Hours Worked] "
                                      "WHEN NEW.EmpID = 'B' AND NEW.TDate = '2024-01-10' "
                                      "BEGIN SELECT RAISE(ABORT, 'injected failure'); END"));
    EXPECT_FALSE(RecalcHoursWorked(db(), settings));
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(hours(QStringLiteral("A")).size(), 5u);
    // B's Monday and Tuesday stay rebuilt; B keeps its flags until all its
    // days are rebuilt, and C was not reached.
    EXPECT_EQ(hours(QStringLiteral("B")).size(), 2u);
    EXPECT_TRUE(hours(QStringLiteral("C")).empty());
    EXPECT_EQ(flagged(), 5 + 5);

    db().executeScript(QStringLiteral("DROP TRIGGER fail_b"));
    EXPECT_TRUE(RecalcHoursWorked(db(), settings));
    EXPECT_EQ(flagged(), 0);
    for (const char* emp : {"A", "B", "C"}) {
        EXPECT_DOUBLE_EQ(at(mon.addDays(4), {}, QString::fromLatin1(emp)).straight, 4) << emp;
        EXPECT_DOUBLE_EQ(at(mon.addDays(4), {}, QString::fromLatin1(emp)).overtime, 5) << emp;
    }
}

// Many random weeks against a plain model: a full rebuild splits each
// employee's week in date and clock-in order, and flagging any day up to the
// end of its week (as every writer does) and running again changes nothing.
TEST_F(HoursEngine, MatchesARunningWeeklyTotalAndRepeatedRunsAgree) {
    settings.setDayStart(hm(6, 0));
    std::srand(20240108);
    struct Row {
        QString emp;
        CalDate date;
        int week, in, minutes;
    };
    std::vector<Row> rows;
    for (int e = 0; e < 6; ++e)
        for (int day = 0; day < 42; ++day) {
            const CalDate d = mon.addDays(day);
            const int n = std::rand() % 3; // 0 to 2 shifts
            for (int k = 0; k < n; ++k) {
                const int in = k == 0 ? (std::rand() % 2 ? 3 * 60 : 7 * 60) : 15 * 60; // some before the day start
                const int minutes = 60 + std::rand() % (13 * 60);
                // The week of the clock-in punch, as the pairing gives it.
                const TimeOfDay t = TimeOfDay::fromMinutes(in);
                const int week = WeekNumber(d, t, settings);
                rows.push_back({QStringLiteral("R%1").arg(e), d, week, in, minutes});
                shift(rows.back().emp, d, TimeOfDay::fromMinutes(in), minutes, true, week);
            }
        }
    ASSERT_TRUE(RecalcHoursWorked(db(), settings));

    // The model: a running total per employee and week.
    std::map<QString, Hours> expected;
    std::map<std::pair<QString, int>, double> weekTotal;
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return std::tie(a.emp, a.date, a.in) < std::tie(b.emp, b.date, b.in);
    });
    for (const Row& r : rows) {
        const auto key = std::make_pair(r.emp, r.week);
        const auto found = weekTotal.find(key);
        const HoursSplit split = splitWeekHours(
            r.minutes / 60.0, found == weekTotal.end() ? std::nullopt : std::optional<double>(found->second));
        weekTotal[key] += split.straight + split.overtime;
        Hours& h = expected[r.emp + r.date.toIso() + QString::number(r.week)];
        h.straight += split.straight;
        h.overtime += split.overtime;
    }
    const auto actual = [&] {
        std::map<QString, Hours> out;
        auto rs = db().openRecordset(QStringLiteral("SELECT * FROM [Hours Worked]"));
        for (; !rs.eof(); rs.moveNext())
            out[rs["EmpID"].toString() + rs["TDate"].toString() + rs["Week"].toString()] = {
                rs["Straight Hrs"].toDouble(), rs["OT Hrs"].toDouble(), 0};
        return out;
    };
    auto check = [&] {
        const auto got = actual();
        ASSERT_EQ(got.size(), expected.size());
        for (const auto& [key, h] : expected) {
            ASSERT_TRUE(got.count(key)) << key.toStdString();
            EXPECT_NEAR(got.at(key).straight, h.straight, 1e-9) << key.toStdString();
            EXPECT_NEAR(got.at(key).overtime, h.overtime, 1e-9) << key.toStdString();
        }
    };
    check();

    // Flag random days to the end of their week and run again.
    for (int i = 0; i < 40; ++i) {
        const Row& r = rows[size_t(std::rand()) % rows.size()];
        db().execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 WHERE EmpID = ? AND TDate "
                                    "BETWEEN ? AND ? AND Week = ?"),
                     {r.emp, r.date, WeekEnd(r.date, TimeOfDay::fromMinutes(r.in), settings), r.week});
    }
    ASSERT_TRUE(RecalcHoursWorked(db(), settings));
    check();
}
