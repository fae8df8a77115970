#include "reports/screens/AttendanceData.h"
#include "Fixtures.h"
#include "testing/TempCompany.h"

#include <gtest/gtest.h>
#include <map>

using namespace plax;
using namespace plax::reports;
using plax::test::TempCompany;

namespace {

struct Row {
    double regular = 0, ot = 0, absences = 0, holidays = 0, total = 0;
    bool absencesNull = false, holidaysNull = false;
};

// Attendance rows by "ID date week".
std::map<QString, Row> attendance(db::Database& db) {
    std::map<QString, Row> out;
    db::Recordset rs = db.openRecordset(QStringLiteral("SELECT * FROM Attendance"));
    for (; !rs.eof(); rs.moveNext()) {
        Row r{rs["Regular"].toDouble(),  rs["OT"].toDouble(),    rs["Absences"].toDouble(),
              rs["Holidays"].toDouble(), rs["TOTAL"].toDouble(), rs["Absences"].isNull(),
              rs["Holidays"].isNull()};
        out[rs["ID"].toString() + ' ' + rs["DateIn"].toString() + ' ' + rs["Week"].toString()] = r;
    }
    return out;
}

class AttendanceData : public ::testing::Test {
  protected:
    void SetUp() override {
        s.WorkDay = 2; // Monday
        auto& db = co.db();
        test::addDepartment(db, "PRD", "Production");
        test::addDepartment(db, "Nord", "Northern plant"); // a number that merely starts with "No"
        test::addEmployee(db, "A1", "PRD", "001");
        test::addEmployee(db, "A2", "PRD", "002");
        test::addEmployee(db, "A3", "PRD", "001", /*active*/ false);
        test::addEmployee(db, "N1", db::Value(), "000");
        test::addEmployee(db, "R1", "Nord", "001");
        ASSERT_TRUE(CreateAttendanceTable(db));
    }

    AttendancePeriod week(CalDate d) {
        AttendancePeriod p;
        p.payPeriod = true;
        p.payPeriodText = d.toShortDate();
        return p;
    }

    // As a print does: selection and merges; returns the formula.
    QString print(const AttendancePeriod& p, EmpGrouping g, const std::vector<TreeEntry>& ticked) {
        QString formula;
        EXPECT_EQ(PrepareAttendanceReport(co.db(), p, g, ticked, s, formula), AttendanceBuild::Ok);
        return formula;
    }

    std::vector<TreeEntry> entries(EmpGrouping g, std::initializer_list<const char*> keys) {
        std::vector<TreeEntry> out;
        for (const TreeEntry& e : loadTree(co.db(), g))
            for (const char* k : keys)
                if (e.text.startsWith(QString::fromUtf8(k)))
                    out.push_back(e);
        return out;
    }

    TempCompany co;
    CompanySettings s;
    const CalDate mon = CalDate::ymd(2026, 3, 9);
    int wk() const { return WeekNumber(mon, s); }
};

} // namespace

TEST_F(AttendanceData, HoursWorkedBecomeOneRowEachWithTheirSumAndAStaleLeftOverIsReplaced) {
    auto& db = co.db();
    test::addHoursWorked(db, "A1", mon, wk(), 8.0, 0.0);
    test::addHoursWorked(db, "A1", mon.addDays(1), wk(), 6.5, 1.25);
    // A table left over from an earlier screen, holding an outdated figure.
    EXPECT_FALSE(CreateAttendanceTable(db));
    db.execute(
        "INSERT INTO Attendance (ID, DateIn, Week, Regular, OT, DT, TOTAL) VALUES ('A1', ?, ?, 3, 0, 0, 3)",
        {mon, wk()});
    ASSERT_TRUE(LoadHoursWorked(db));
    const auto rows = attendance(db);
    ASSERT_EQ(rows.size(), 2u);
    const Row& tue = rows.at("A1 " + mon.addDays(1).toIso() + ' ' + QString::number(wk()));
    EXPECT_DOUBLE_EQ(tue.regular, 6.5);
    EXPECT_DOUBLE_EQ(tue.ot, 1.25);
    EXPECT_DOUBLE_EQ(tue.total, 7.75);
    EXPECT_TRUE(tue.absencesNull);
    EXPECT_TRUE(tue.holidaysNull);
    EXPECT_DOUBLE_EQ(rows.at("A1 " + mon.toIso() + ' ' + QString::number(wk())).total, 8.0);

    EXPECT_TRUE(DropAttendanceTable(db));
    EXPECT_FALSE(db.tableExists("Attendance"));
    EXPECT_FALSE(DropAttendanceTable(db)); // failure ignored
}

TEST_F(AttendanceData, TheWorkTableIsInvisibleToAnotherConnection) {
    auto other = co.reopen();
    EXPECT_TRUE(co.db().tableExists("Attendance"));
    EXPECT_FALSE(other->tableExists("Attendance"));
    EXPECT_THROW(other->openRecordset("SELECT * FROM Attendance"), db::DbError);
    EXPECT_TRUE(CreateAttendanceTable(*other)); // each connection has its own
}

TEST_F(AttendanceData, SelectionFormulasForEachGrouping) {
    AttendanceSelection sel;
    AttendancePeriod range;
    range.payPeriod = false;
    range.from = CalDate::ymd(2026, 2, 22);
    range.to = CalDate::ymd(2026, 3, 9);
    ASSERT_EQ(BuildAttendanceSelection(range, EmpGrouping::Employee,
                                       entries(EmpGrouping::Employee, {"A1,", "R1,"}), s, sel),
              AttendanceBuild::Ok);
    EXPECT_EQ(sel.selectionFormula, "{Attendance.WorkDate} in Date (2026, 02, 22) To Date (2026, 03, 09) AND "
                                    "({Attendance.ID} In ['A1', 'R1'])");

    ASSERT_EQ(BuildAttendanceSelection(week(mon.addDays(2)), EmpGrouping::Department,
                                       entries(EmpGrouping::Department, {"No Department", "Nord"}), s, sel),
              AttendanceBuild::Ok);
    EXPECT_EQ(sel.selectionFormula,
              QStringLiteral("{Attendance.Week} = %1 AND {Attendance.DateIn} in Date (2026, 03, 09) To Date "
                             "(2026, 03, 16) AND "
                             "(IsNull({Employee.DepartmentNo}) OR {Employee.DepartmentNo} In ['Nord'])")
                  .arg(wk()));

    ASSERT_EQ(BuildAttendanceSelection(week(mon), EmpGrouping::Schedule,
                                       entries(EmpGrouping::Schedule, {"No Sch"}), s, sel),
              AttendanceBuild::Ok);
    EXPECT_TRUE(
        sel.selectionFormula.endsWith("({Employee.ScheduleNo} = '000' OR IsNull({Employee.ScheduleNo}))"));

    EXPECT_EQ(BuildAttendanceSelection(week(mon), EmpGrouping::Employee, {}, s, sel),
              AttendanceBuild::NothingTicked);
    AttendancePeriod bad = week(mon);
    bad.payPeriodText = "31/31/31x";
    EXPECT_EQ(
        BuildAttendanceSelection(bad, EmpGrouping::Employee, entries(EmpGrouping::Employee, {"A1,"}), s, sel),
        AttendanceBuild::InvalidDate);
}

TEST_F(AttendanceData, TreesListTheirEntriesWithKeys) {
    const auto emp = loadTree(co.db(), EmpGrouping::Employee);
    ASSERT_EQ(emp.size(), 4u); // active only
    EXPECT_EQ(emp[0].text, "A1,FirstA1 LastA1");
    EXPECT_EQ(emp[0].key, "A1");
    const auto dep = loadTree(co.db(), EmpGrouping::Department);
    ASSERT_EQ(dep.size(), 3u);
    EXPECT_EQ(dep[0].text, "No Department");
    EXPECT_TRUE(dep[0].none);
    EXPECT_EQ(dep[1].text, "Nord Northern plant");
    EXPECT_EQ(dep[1].key, "Nord");
    EXPECT_FALSE(dep[1].none);
    EXPECT_EQ(loadTree(co.db(), EmpGrouping::Schedule).front().text, "No Schedule");
}

TEST_F(AttendanceData, AbsencesAndHolidaysMergeWithoutTouchingWorkedHoursOrOvertime) {
    auto& db = co.db();
    const int w = wk();
    test::addHoursWorked(db, "A1", mon, w, 8.0, 0.0);
    test::addHoursWorked(db, "A1", mon.addDays(1), w, 6.0, 2.0); // overtime day
    test::addHoursWorked(db, "A2", mon.addDays(2), w, 8.0, 0.0); // works on the holiday
    test::addHoursWorked(db, "A3", mon.addDays(1), w, 5.0, 0.0); // inactive
    test::addAbsence(db, "A1", mon.addDays(1), w, 4.0);          // on a worked day
    test::addAbsence(db, "A2", mon.addDays(3), w, 8.0);          // on a free day
    test::addAbsence(db, "A3", mon.addDays(3), w, 8.0);          // inactive: not merged
    test::addHoliday(db, mon.addDays(2), w);
    ASSERT_TRUE(LoadHoursWorked(db));

    const auto ticked = entries(EmpGrouping::Department, {"PRD"});
    const QString f1 = print(week(mon), EmpGrouping::Department, ticked);
    const auto first = attendance(db);
    const QString f2 = print(week(mon), EmpGrouping::Department, ticked);
    EXPECT_EQ(f1, f2);
    const auto rows = attendance(db);
    ASSERT_EQ(rows.size(), first.size()); // printing twice adds nothing
    const auto at = [&](const char* id, int day) {
        return rows.at(QString::fromUtf8(id) + ' ' + mon.addDays(day).toIso() + ' ' + QString::number(w));
    };
    const Row absentWorked = at("A1", 1);
    EXPECT_DOUBLE_EQ(absentWorked.absences, 4.0);
    EXPECT_DOUBLE_EQ(absentWorked.ot, 2.0);
    EXPECT_DOUBLE_EQ(absentWorked.total, 12.0);
    const Row absentFree = at("A2", 3);
    EXPECT_DOUBLE_EQ(absentFree.regular + absentFree.ot, 0.0);
    EXPECT_DOUBLE_EQ(absentFree.total, 8.0);
    const Row workedHoliday = at("A2", 2);
    EXPECT_DOUBLE_EQ(workedHoliday.regular, 8.0);
    EXPECT_TRUE(workedHoliday.holidaysNull);
    EXPECT_DOUBLE_EQ(workedHoliday.total, 8.0);
    const Row holiday = at("A1", 2);
    EXPECT_DOUBLE_EQ(holiday.holidays, 8.0);
    EXPECT_DOUBLE_EQ(holiday.total, 8.0);
    EXPECT_DOUBLE_EQ(holiday.ot, 0.0);
    // The inactive employee keeps the worked row, gets no holiday and no absence.
    EXPECT_EQ(rows.count("A3 " + mon.addDays(2).toIso() + ' ' + QString::number(w)), 0u);
    EXPECT_EQ(rows.count("A3 " + mon.addDays(3).toIso() + ' ' + QString::number(w)), 0u);
    EXPECT_DOUBLE_EQ(at("A3", 1).regular, 5.0);
    // Not selected: nothing merged for other departments.
    EXPECT_EQ(rows.count("R1 " + mon.addDays(2).toIso() + ' ' + QString::number(w)), 0u);
}

TEST_F(AttendanceData, NoDepartmentMergesForEmployeesWithoutOneOnly) {
    auto& db = co.db();
    test::addHoliday(db, mon.addDays(2), wk());
    ASSERT_TRUE(LoadHoursWorked(db));
    print(week(mon), EmpGrouping::Department, entries(EmpGrouping::Department, {"No Department"}));
    const auto rows = attendance(db);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows.begin()->first.startsWith("N1 "));

    print(week(mon), EmpGrouping::Schedule, entries(EmpGrouping::Schedule, {"No Schedule"}));
    EXPECT_EQ(attendance(db).size(), 1u); // N1 again, already there
}

TEST_F(AttendanceData, AWeekAcrossNewYearMergesTheDaysOfBothYears) {
    auto& db = co.db();
    const CalDate start = CalDate::ymd(2025, 12, 29); // Monday; the week holds 1 January 2026
    const int w = WeekNumber(start, s);
    EXPECT_EQ(w, WeekNumber(CalDate::ymd(2026, 1, 2), s));
    test::addHoliday(db, CalDate::ymd(2025, 12, 31), w);
    test::addHoliday(db, CalDate::ymd(2026, 1, 1), w);
    test::addHoliday(db, CalDate::ymd(2026, 12, 31), w); // week 1 of 2027
    ASSERT_TRUE(LoadHoursWorked(db));
    print(week(CalDate::ymd(2026, 1, 1)), EmpGrouping::Employee, entries(EmpGrouping::Employee, {"A1,"}));
    const auto rows = attendance(db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows.begin()->first.startsWith("A1 2025-12-31"));
    EXPECT_TRUE(std::next(rows.begin())->first.startsWith("A1 2026-01-01"));
}

TEST_F(AttendanceData, ReportFileByTypeAndPeriod) {
    EXPECT_EQ(AttendanceReportFile(AttendanceType::Detailed, true), "WeeklyReport.rpt");
    EXPECT_EQ(AttendanceReportFile(AttendanceType::Detailed, false), "TADetailed.rpt");
    EXPECT_EQ(AttendanceReportFile(AttendanceType::Summary, true), "Summary.rpt");
    EXPECT_EQ(AttendanceReportFile(AttendanceType::Daily, false), "Daily.rpt");
}
