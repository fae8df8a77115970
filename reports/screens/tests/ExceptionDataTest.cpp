#include "reports/screens/ExceptionData.h"
#include "Fixtures.h"
#include "testing/TempCompany.h"

#include <gtest/gtest.h>
#include <set>

using namespace plax;
using namespace plax::reports;
using plax::test::TempCompany;

namespace {

TimeOfDay t(const char* hm) {
    return *TimeOfDay::parse(QString::fromUtf8(hm));
}

class ExceptionScan : public ::testing::Test {
  protected:
    void SetUp() override {
        s.WorkDay = 2;
        s.RoundTotal = 0;
        auto& db = co.db();
        db.execute("INSERT INTO Schedule (ScheduleNo, Description) VALUES ('001', 'Day'), ('002', 'Night')");
        for (int d = 2; d <= 6; ++d)
            db.execute("INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) VALUES "
                       "('001', ?, '08:00', '16:00')",
                       {d});
        for (int d = 1; d <= 7; ++d)
            db.execute("INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) VALUES "
                       "('002', ?, '22:00', '06:00')",
                       {d});
        test::addDepartment(db, "PRD", "Production");
        test::addDepartment(db, "WHS", "Warehouse");
        test::addEmployee(db, "D1", "PRD", "001");
        test::addEmployee(db, "N1", "PRD", "002");
        test::addEmployee(db, "Z1", "PRD", "000");
        test::addEmployee(db, "W1", "WHS", "001");
        test::addEmployee(db, "X1", "PRD", "001", /*active*/ false);
        CreateExceptionsTable(db);
    }

    // "EmpID TDate ClockIn code" of every row; code "-" for none.
    std::multiset<QString> rows() {
        std::multiset<QString> out;
        db::Recordset rs = co.db().openRecordset("SELECT * FROM Exceptions");
        for (; !rs.eof(); rs.moveNext())
            out.insert(rs["EmpID"].toString() + ' ' + rs["TDate"].toString() + ' ' +
                       rs["ClockIn"].toString() + ' ' +
                       (rs["Exception"].isNull() ? QStringLiteral("-") : rs["Exception"].toString()));
        return out;
    }

    void shift(const char* id, CalDate d, const char* in, std::optional<CalDate> out, const char* clockOut) {
        test::addShift(co.db(), id, d, in, out, clockOut, s);
    }

    void build(ExceptionChoice::Kind kind, const QString& key = {}) {
        BuildExceptions(co.db(), *payPeriodOf(mon.toShortDate(), s), {kind, key}, s);
    }

    TempCompany co;
    CompanySettings s;
    const CalDate mon = CalDate::ymd(2026, 3, 9);
};

} // namespace

TEST(ExceptionWindow, DayShiftAndGrace) {
    const std::vector<ScheduleDayRow> days{{2, t("08:00"), t("16:00")}};
    const CalDate mon = CalDate::ymd(2026, 3, 9);
    EXPECT_TRUE(shiftKeepsSchedule({mon, t("08:00"), mon, t("16:00")}, days, 0));
    EXPECT_FALSE(shiftKeepsSchedule({mon, t("07:59"), mon, t("16:00")}, days, 0));
    EXPECT_TRUE(shiftKeepsSchedule({mon, t("07:59"), mon, t("16:00")}, days, 5));
    EXPECT_TRUE(shiftKeepsSchedule({mon, t("07:55"), mon, t("16:05")}, days, 5));
    EXPECT_FALSE(shiftKeepsSchedule({mon, t("08:00"), mon, t("16:06")}, days, 5));
    // Tuesday has no row and Monday's shift is no overnight one: a day off.
    EXPECT_FALSE(shiftKeepsSchedule({mon.addDays(1), t("08:00"), mon.addDays(1), t("16:00")}, days, 5));
}

TEST(ExceptionWindow, OvernightShiftsAndThePreviousDaysTail) {
    std::vector<ScheduleDayRow> every;
    for (int d = 1; d <= 7; ++d)
        every.push_back({d, t("22:00"), t("06:00")});
    const CalDate mon = CalDate::ymd(2026, 3, 9), tue = mon.addDays(1);
    EXPECT_TRUE(shiftKeepsSchedule({mon, t("21:58"), tue, t("06:03")}, every, 5));
    EXPECT_FALSE(shiftKeepsSchedule({mon, t("21:58"), tue, t("06:06")}, every, 5));
    EXPECT_TRUE(shiftKeepsSchedule({mon, t("22:30"), mon, t("23:50")}, every, 0)); // out the same evening
    EXPECT_FALSE(shiftKeepsSchedule({mon, t("22:00"), mon.addDays(2), t("05:00")}, every, 0));

    // Saturday only: Saturday into Sunday is judged like any other night,
    // and a Sunday-morning shift ending in Saturday's window is in order.
    const std::vector<ScheduleDayRow> saturday{{7, t("22:00"), t("06:00")}};
    const CalDate sat = CalDate::ymd(2026, 3, 14), sun = sat.addDays(1);
    EXPECT_TRUE(shiftKeepsSchedule({sat, t("22:00"), sun, t("06:00")}, saturday, 0));
    EXPECT_FALSE(shiftKeepsSchedule({sat, t("22:00"), sun, t("06:01")}, saturday, 0));
    EXPECT_TRUE(shiftKeepsSchedule({sun, t("01:00"), sun, t("05:30")}, saturday, 0));
    EXPECT_FALSE(shiftKeepsSchedule({sun, t("01:00"), sun, t("07:00")}, saturday, 0));
}

TEST_F(ExceptionScan, ThePassesOnAWeek) {
    const CalDate tue = mon.addDays(1), wed = mon.addDays(2);
    s.GraceP = 5;
    shift("D1", mon, "07:58", mon, "16:02");                       // in order
    shift("D1", tue, "07:40", tue, "16:00");                       // early
    shift("D1", wed, "08:00", std::nullopt, "");                   // open: "I"
    shift("D1", mon.addDays(5), "09:00", mon.addDays(5), "12:00"); // Saturday, no row
    shift("N1", mon, "21:58", tue, "06:03");                       // in order
    shift("N1", tue, "21:58", wed, "06:06");                       // late
    shift("Z1", mon, "03:00", mon, "04:00");                       // no schedule: never judged
    shift("Z1", tue, "09:00", tue, "09:00");                       // zero length: "I"
    shift("W1", mon, "05:00", mon, "09:00");                       // another department
    shift("X1", mon, "05:00", mon, "09:00");                       // inactive
    // A Monday-to-Wednesday shift two weeks earlier, of someone not chosen.
    shift("W1", mon.addDays(-14), "08:00", mon.addDays(-12), "08:00");

    build(ExceptionChoice::Department, "PRD");
    const QString w = QString::number(WeekNumber(mon, s));
    EXPECT_EQ(rows(), (std::multiset<QString>{
                          "D1 " + tue.toIso() + " 07:40 -",
                          "D1 " + wed.toIso() + " 08:00 I",
                          "D1 " + mon.addDays(5).toIso() + " 09:00 -",
                          "N1 " + tue.toIso() + " 21:58 -",
                          "Z1 " + tue.toIso() + " 09:00 I",
                          "W1 " + mon.addDays(-14).toIso() + " 08:00 -",
                      }));

    // Building again starts from an empty table.
    build(ExceptionChoice::Employee, "X1"); // one employee, active or not
    EXPECT_EQ(rows(), (std::multiset<QString>{"X1 " + mon.toIso() + " 05:00 -",
                                              "W1 " + mon.addDays(-14).toIso() + " 08:00 -"}));

    build(ExceptionChoice::AllEmployees);
    EXPECT_EQ(rows().size(), 7u); // PRD's five, W1's early Monday, the multi-day shift
    build(ExceptionChoice::None);
    EXPECT_EQ(rows(), (std::multiset<QString>{"W1 " + mon.addDays(-14).toIso() + " 08:00 -"}));
}

TEST_F(ExceptionScan, TheReportsViewNamesEachReasonOnce) {
    const CalDate tue = mon.addDays(1);
    shift("D1", mon, "08:00", std::nullopt, "");                   // missing punch
    shift("Z1", tue, "09:00", tue, "09:00");                       // zero hours
    shift("D1", tue, "06:00", tue, "16:00");                       // outside schedule
    shift("D1", mon.addDays(2), "07:00", mon.addDays(4), "16:00"); // multi-day, and outside
    build(ExceptionChoice::AllEmployees);
    EXPECT_EQ(rows().size(), 5u);
    std::multiset<QString> reasons;
    db::Recordset rs = co.db().openRecordset("SELECT EmpID, Reason FROM ExceptionList");
    for (; !rs.eof(); rs.moveNext())
        reasons.insert(rs["EmpID"].toString() + ' ' + rs["Reason"].toString());
    EXPECT_EQ(reasons, (std::multiset<QString>{"D1 Missing punch", "Z1 Zero hours", "D1 Outside schedule",
                                               "D1 Multi-day shift"}));
}

TEST_F(ExceptionScan, GraceZeroFlagsOneMinuteEarly) {
    shift("D1", mon, "07:59", mon, "16:00");
    s.GraceP = 0;
    build(ExceptionChoice::Employee, "D1");
    EXPECT_EQ(rows().size(), 1u);
    s.GraceP = 5;
    build(ExceptionChoice::Employee, "D1");
    EXPECT_TRUE(rows().empty());
}

TEST_F(ExceptionScan, PeriodsAndTheWeekFilter) {
    const auto p = payPeriodOf(mon.addDays(2).toShortDate(), s); // a Wednesday
    ASSERT_TRUE(p);
    EXPECT_EQ(p->first, mon);
    EXPECT_EQ(p->last, mon.addDays(6)); // its work dates
    ASSERT_EQ(p->weeks.size(), 1u);
    EXPECT_EQ(p->weeks[0].number, WeekNumber(mon, s));
    EXPECT_FALSE(payPeriodOf("no date", s));

    // A range scans every week it touches, each with its own number.
    shift("D1", mon, "07:00", mon, "16:00");
    shift("D1", mon.addDays(7), "07:00", mon.addDays(7), "16:00");
    shift("D1", mon.addDays(14), "07:00", mon.addDays(14), "16:00");
    const ExceptionPeriod range = dateRangeOf(mon.addDays(-1), mon.addDays(13), s);
    EXPECT_EQ(range.weeks.size(), 3u);
    BuildExceptions(co.db(), range, {ExceptionChoice::AllEmployees, {}}, s);
    EXPECT_EQ(rows(), (std::multiset<QString>{"D1 " + mon.toIso() + " 07:00 -",
                                              "D1 " + mon.addDays(7).toIso() + " 07:00 -"}));
}

TEST_F(ExceptionScan, ALeftOverTableIsUsedAndOtherFailuresRaise) {
    EXPECT_NO_THROW(CreateExceptionsTable(co.db()));
    co.db().execute("INSERT INTO Exceptions (EmpID, TDate, ClockIn) VALUES ('old', '2020-01-01', '08:00')");
    EXPECT_NO_THROW(CreateExceptionsTable(co.db()));
    EXPECT_EQ(rows().size(), 1u);
    build(ExceptionChoice::AllEmployees);
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(DropExceptionsTable(co.db()));
    EXPECT_FALSE(co.db().tableExists("ExceptionList"));
    co.db().close();
    EXPECT_THROW(CreateExceptionsTable(co.db()), db::DbError);
}
