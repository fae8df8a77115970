#include "reports/screens/EmployeeReportData.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <gtest/gtest.h>

using namespace plax;
using namespace plax::reports;
using C = EmployeeReportChoice;

namespace {
QString selection(C::Select sel, C::Status st, const QString& dep = {}, const QString& emp = {}) {
    C c;
    c.select = sel;
    c.status = st;
    c.departmentText = dep;
    c.employeeText = emp;
    return BuildEmployeeSelection(c);
}
} // namespace

TEST(EmployeeReportSelection, EveryStatusAndChoice) {
    ui::ScriptedResponder answers;
    EXPECT_EQ(selection(C::All, C::Both), "");
    EXPECT_EQ(selection(C::All, C::Active), "{Employee.Status} = True ");
    EXPECT_EQ(selection(C::All, C::Inactive), "{Employee.Status} = False ");
    EXPECT_EQ(selection(C::Department, C::Both, "PRD Production"), "{Employee.DepartmentNo} = 'PRD'");
    EXPECT_EQ(selection(C::Department, C::Active, "PRD Production"),
              "{Employee.DepartmentNo} = 'PRD' AND {Employee.Status} = True ");
    EXPECT_EQ(selection(C::Employee, C::Inactive, {}, "1001 Berger, Anna"),
              "{Employee.ID} = '1001' AND {Employee.Status} = False ");
    EXPECT_TRUE(answers.messages.empty());
}

TEST(EmployeeReportSelection, AnEmptyListGivesErrorAfterItsMessage) {
    ui::ScriptedResponder answers;
    EXPECT_EQ(selection(C::Department, C::Active), "ERROR");
    EXPECT_EQ(selection(C::Employee, C::Both), "ERROR");
    ASSERT_EQ(answers.messages.size(), 2u);
    EXPECT_EQ(answers.messages[0].text, "No department selected!");
    EXPECT_EQ(answers.messages[0].icon, ui::Icon::Information);
    EXPECT_EQ(answers.messages[1].text, "No employee selected!");
}

TEST(AbsenceReportSelection, PeriodsAndChoices) {
    ui::ScriptedResponder answers;
    CompanySettings s;
    s.WorkDay = 2;
    AbsenceReportChoice c;
    c.payPeriodText = CalDate::ymd(2026, 3, 11).toShortDate(); // a Wednesday: its whole week
    const int w = WeekNumber(CalDate::ymd(2026, 3, 9), s);
    const QString week = QStringLiteral("{Absence.Week} = %1 AND {Absence.TDate} in Date (2026, 03, 09) To "
                                        "Date (2026, 03, 15)")
                             .arg(w);
    EXPECT_EQ(BuildAbsenceSelection(c, s), week);

    c.employeeIndex = 2;
    c.employeeText = "1002 Diaz, Carlos";
    EXPECT_EQ(BuildAbsenceSelection(c, s), week + " AND {Absence.EmpID} = '1002'");

    c.dateRange = true;
    c.from = CalDate::ymd(2026, 2, 1);
    c.to = CalDate::ymd(2026, 2, 28);
    c.select = AbsenceReportChoice::Department;
    c.departmentIndex = 0;
    c.departmentText = "ADM Administration";
    EXPECT_EQ(BuildAbsenceSelection(c, s),
              "{Absence.TDate} in Date (2026, 02, 01) To Date (2026, 02, 28) AND "
              "{Department.DepartmentNo} = 'ADM'");
    c.select = AbsenceReportChoice::None;
    EXPECT_EQ(BuildAbsenceSelection(c, s), "{Absence.TDate} in Date (2026, 02, 01) To Date (2026, 02, 28)");
    EXPECT_TRUE(answers.messages.empty());

    c.select = AbsenceReportChoice::Department;
    c.departmentIndex = -1;
    EXPECT_EQ(BuildAbsenceSelection(c, s), std::nullopt);
    c.dateRange = false;
    c.payPeriodText = "yesterday";
    EXPECT_EQ(BuildAbsenceSelection(c, s), std::nullopt);
    EXPECT_EQ(answers.texts(), (QStringList{"No department selected!", "Invalid date!"}));
}
