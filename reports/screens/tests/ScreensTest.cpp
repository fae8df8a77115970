#include "core/common/Globals.h"
#include "core/common/WeekNavigator.h"
#include "core/types/Clock.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"
#include "reports/Reports.h"
#include "reports/screens/ScreenParts.h"
#include "reports/screens/SelectionText.h"
#include "reports/screens/frmAbsenceRpt.h"
#include "reports/screens/frmAttendanceRpt.h"
#include "reports/screens/frmEmpQry.h"
#include "reports/screens/frmExcptRpt.h"
#include "testing/DemoCompanyFixture.h"
#include "testing/ScreenEvents.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::reports;

namespace {

class ReportScreens : public test::DemoCompanyFixture {
  protected:
    int count(const QString& sql) { return int(CompanyDb->openRecordset(sql).field(0).toInt()); }
};

} // namespace

TEST_F(ReportScreens, EmployeeReportDefaultsAndItsMessages) {
    frmEmpQry f;
    EXPECT_EQ(f.windowTitle(), "Report: Employee Data");
    EXPECT_TRUE(child<QRadioButton>(&f, "optActive")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&f, "optlst")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&f, "optSelAll")->isChecked());
    auto* cboDep = child<QComboBox>(&f, "cboDep");
    EXPECT_FALSE(cboDep->isEnabled());
    EXPECT_EQ(cboDep->count(), 3);
    EXPECT_EQ(child<QComboBox>(&f, "cboEmp")->count(), 10); // active employees
    EXPECT_EQ(f.sortChoice(), 1);
    EXPECT_EQ(f.BuildEmployeeSelection(), "{Employee.Status} = True ");

    child<QRadioButton>(&f, "optSelDep")->click();
    EXPECT_TRUE(cboDep->isEnabled());
    EXPECT_EQ(f.BuildEmployeeSelection(), "ERROR");
    EXPECT_EQ(answers.texts(), QStringList{"No department selected!"});
    cboDep->setCurrentIndex(1);
    EXPECT_EQ(f.BuildEmployeeSelection(), "{Employee.DepartmentNo} = 'PRD' AND {Employee.Status} = True ");

    child<QRadioButton>(&f, "optsort3")->click();
    EXPECT_EQ(f.sortChoice(), 3);
}

TEST_F(ReportScreens, AbsenceReportStartsOnThisWeekAndStepsWithTheArrows) {
    frmAbsenceRpt f;
    auto* box = child<QLineEdit>(&f, "txtPayPeriod");
    const CalDate monday = WeekStart(Clock::today(), Company);
    EXPECT_EQ(box->text(), monday.toShortDate());
    auto* emp = child<QComboBox>(&f, "cboEmployee");
    EXPECT_EQ(emp->itemText(0), "<All Employees>");
    EXPECT_EQ(emp->currentIndex(), 0);
    EXPECT_EQ(child<QComboBox>(&f, "cboDepartment")->currentIndex(), 0);
    const QString w = QString::number(WeekNumber(monday, Company));
    EXPECT_EQ(f.absenceSelection(), "{Absence.Week} = " + w + " AND {Absence.TDate} in " +
                                        formulaDate(monday) + " To " + formulaDate(monday.addDays(6)));

    child<WeekNavigator>(&f, "UpDown1")->downButton()->click();
    EXPECT_EQ(box->text(), monday.addDays(-7).toShortDate());
    child<QRadioButton>(&f, "optDateRange")->click();
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(
        f.absenceSelection().startsWith("{Absence.TDate} in Date (2026, 02, 25) To Date (2026, 03, 12)"));
    EXPECT_TRUE(answers.messages.empty());
}

// The screen opens at once; the hours engine runs once it shows, with a
// progress bar, while the windows keep painting.
TEST_F(ReportScreens, AttendanceReportRebuildsHoursAtLoadAndDropsItsTableAtClose) {
    const QString flagged = "SELECT count(*) FROM [Time Attendance] WHERE Recalculate <> 0";
    ASSERT_GT(count(flagged), 0);
    {
        frmAttendanceRpt f;
        EXPECT_EQ(f.windowTitle(), "Reports: Attendance");
        EXPECT_GT(count(flagged), 0);
        bool paintedWhileRebuilding = false;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            if (f.isVisible() && f.findChild<QProgressDialog*>() && count(flagged) > 0)
                paintedWhileRebuilding = true;
        });
        ticks.start(0);
        f.show();
        EXPECT_GT(count(flagged), 0);
        test::waitUntil([&] { return count(flagged) == 0; });
        EXPECT_TRUE(paintedWhileRebuilding);
        EXPECT_EQ(count("SELECT count(*) FROM Attendance"), 0); // each print copies what it can select
        EXPECT_TRUE(child<QRadioButton>(&f, "optDetail")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(&f, "optPayPeriod")->isChecked());
        auto* tree = child<QTreeWidget>(&f, "trvEmp");
        ASSERT_EQ(tree->topLevelItemCount(), 4);
        EXPECT_EQ(tree->topLevelItem(0)->text(0), "No Department");

        // Nothing ticked: a message, nothing merged.
        const int before = count("SELECT count(*) FROM Attendance");
        f.PrintAttendanceReport(2);
        EXPECT_EQ(answers.texts(), QStringList{"Please make a select first!"});
        EXPECT_EQ(count("SELECT count(*) FROM Attendance"), before);

        auto* groups = child<QComboBox>(&f, "cboEmpGroups");
        groups->setCurrentIndex(0);
        emit groups->activated(0);
        EXPECT_EQ(tree->topLevelItemCount(), 10);
        EXPECT_EQ(tree->topLevelItem(0)->text(0), "1001,Anna Berger");
    }
    EXPECT_FALSE(CompanyDb->tableExists("Attendance"));
}

TEST_F(ReportScreens, ExceptionReportValidatesItsChoice) {
    {
        frmExcptRpt f;
        EXPECT_EQ(f.windowTitle(), "Report: Exception");
        EXPECT_TRUE(CompanyDb->tableExists("Exceptions"));
        auto* emp = child<QComboBox>(&f, "cboEmp");
        EXPECT_EQ(emp->itemText(0), "<All Employees>");
        EXPECT_TRUE(f.ValidateExceptionSelection());
        emp->setCurrentIndex(-1);
        EXPECT_FALSE(f.ValidateExceptionSelection());
        child<QRadioButton>(&f, "optDep")->click();
        EXPECT_FALSE(child<QComboBox>(&f, "cboEmp")->isEnabled());
        EXPECT_FALSE(f.ValidateExceptionSelection());
        EXPECT_EQ(answers.texts(), (QStringList{"No employee selected!", "No department selected!"}));
        child<QComboBox>(&f, "cboDep")->setCurrentIndex(0);
        EXPECT_TRUE(f.ValidateExceptionSelection());
        child<QLineEdit>(&f, "txtPayPeriod")->setText("someday");
        EXPECT_FALSE(f.BuildExceptions());
        EXPECT_EQ(answers.texts().last(), "Invalid date!");
    }
    EXPECT_FALSE(CompanyDb->tableExists("Exceptions"));
}

TEST_F(ReportScreens, TablesAreMadeAgainAfterTheDatabaseWasReopened) {
    frmAttendanceRpt att;
    frmExcptRpt exc;
    AppPath = QStringLiteral(PLAX_PROGRAM_DIR "/"); // the report files, for destination 2
    CompanyDbPath = co.path();
    installReportEngineHooks();
    CompanyDb = co.reopen(); // the program's connection replaced: its TEMP tables are gone
    ASSERT_FALSE(CompanyDb->tableExists("Attendance"));
    auto* tree = child<QTreeWidget>(&att, "trvEmp");
    tree->topLevelItem(1)->setCheckState(0, Qt::Checked);
    att.PrintAttendanceReport(2);
    EXPECT_TRUE(answers.messages.empty()) << answers.texts().join('|').toStdString();
    EXPECT_TRUE(CompanyDb->tableExists("Attendance"));
    EXPECT_TRUE(exc.BuildExceptions());
    EXPECT_TRUE(answers.messages.empty()) << answers.texts().join('|').toStdString();
}

TEST_F(ReportScreens, ExceptionReportClosesWhenItCannotMakeItsTable) {
    CompanyDb->close();
    auto* f = new frmExcptRpt;
    f->setAttribute(Qt::WA_DeleteOnClose);
    f->show();
    QPointer<frmExcptRpt> alive(f);
    QCoreApplication::processEvents();
    EXPECT_TRUE(answers.texts().contains("Unable to create exceptions data!"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
}

TEST_F(ReportScreens, TabGoesFromEachSelectionOptionToItsOwnList) {
    // The widget after `from` in the tab chain.
    const auto next = [](QWidget* from) {
        QWidget* w = from->nextInFocusChain();
        while (w != from && !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        return w;
    };
    frmEmpQry emp;
    EXPECT_EQ(next(child<QRadioButton>(&emp, "optSelDep")), child<QComboBox>(&emp, "cboDep"));
    EXPECT_EQ(next(child<QComboBox>(&emp, "cboDep")), child<QRadioButton>(&emp, "optSelEmp"));
    EXPECT_EQ(next(child<QRadioButton>(&emp, "optSelEmp")), child<QComboBox>(&emp, "cboEmp"));
    frmAbsenceRpt abs;
    EXPECT_EQ(next(child<QRadioButton>(&abs, "optDepartments")), child<QComboBox>(&abs, "cboDepartment"));
    EXPECT_EQ(next(child<QRadioButton>(&abs, "optEmployees")), child<QComboBox>(&abs, "cboEmployee"));
    frmExcptRpt exc;
    EXPECT_EQ(next(child<QRadioButton>(&exc, "optEmp")), child<QComboBox>(&exc, "cboEmp"));
    EXPECT_EQ(next(child<QRadioButton>(&exc, "optDep")), child<QComboBox>(&exc, "cboDep"));
}
