// Dates and amounts typed as a clerk types them under the system's locale.
// Run once more under en_US, en_GB and de_DE (setup/CMakeLists.txt): each
// screen reads a date in the order it shows dates, and an amount with the
// locale's decimal separator or a point.
#include "GridFixture.h"
#include "attendance/editor/ClockGridModel.h"
#include "attendance/editor/frmDataSheetEdit.h"
#include "core/types/WorkWeek.h"
#include "reports/Reports.h"
#include "reports/frmPrintFrm.h"
#include "reports/screens/SelectionText.h"
#include "reports/screens/frmAbsenceRpt.h"
#include "reports/screens/frmAttendanceRpt.h"
#include "reports/tests/ReportFixture.h"
#include "setup/frmAbsenceSTP.h"
#include "setup/frmHolidaySTP.h"
#include "setup/frmSetupEmployee.h"
#include "testing/LocaleForms.h"
#include "testing/ScreenEvents.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

using namespace plax;
using namespace plax::setup;
using plax::test::clickToolButton;
using plax::test::localeName;
using plax::test::showActive;
using plax::test::typedAmount;
using plax::test::typedDate;
using plax::test::typeKeys;

namespace {

class LocaleScreens : public setup::test::GridFixture {
  protected:
    void SetUp() override {
        GridFixture::SetUp();
        plax::test::prepareProgramFolder(co);
        reports::installReportEngineHooks();
    }
    void TearDown() override { plax::test::leaveProgramFolder(); }
    // Every print dialog is answered with OK; without a printer the report
    // becomes a PDF file in the data folder.
    plax::test::DialogDriver<reports::frmPrintFrm> printDialog{
        [](reports::frmPrintFrm& dlg) { QTest::mouseClick(dlg.cmdOK, Qt::LeftButton); }};

    // Clicks into a box of the active screen and types over its text.
    void typeOver(QWidget* screen, const char* box, const QString& text) {
        if (!screen->isActiveWindow())
            showActive(screen);
        auto* edit = child<QLineEdit>(screen, box);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }
};

} // namespace

// 4 March reads as 3 April the other way round, and 30 November not at all:
// the grids, the pay-period boxes and the weekly report's selection take
// every date as the screen shows it, ISO dates too, and refuse a date typed
// in the other order with the screen's own message.
TEST_F(LocaleScreens, DatesAreReadInTheOrderEveryScreenShowsThem) {
    const CalDate mar2 = CalDate::ymd(2026, 3, 2), mar4 = CalDate::ymd(2026, 3, 4),
                  mar7 = CalDate::ymd(2026, 3, 7);
    const CalDate nov30 = CalDate::ymd(2026, 11, 30), dec7 = CalDate::ymd(2026, 12, 7);
    const QString otherOrder = typedDate(nov30, false, true); // "11.30.2026" under de_DE

    { // Holidays: a new row's date, then one typed in the other order.
        frmHolidaySTP f;
        ASSERT_TRUE(f.loaded());
        showActive(&f);
        GridModel* m = f.model();
        const int row = m->recordCount();
        typeCell(f, row, 0, "Spring Day");
        typeCell(f, row, 1, typedDate(mar4));
        clickRow(f, 0);
        EXPECT_EQ(value("SELECT TDate || ' ' || Week FROM Holidays WHERE HolidayName = 'Spring Day'"),
                  "2026-03-04 " + QString::number(WeekNumber(mar4, Company)));
        EXPECT_EQ(cell(m, row, 1), mar4.toShortDate());
        typeCell(f, row + 1, 0, "Autumn Day");
        typeCell(f, row + 1, 1, otherOrder);
        clickRow(f, 0);
        ASSERT_EQ(answers.texts().size(), 1);
        EXPECT_TRUE(
            answers.texts()[0].contains("- The data you have entered does not match the type of the field."));
        typeCell(f, row + 1, 1, "2026-11-26");
        clickRow(f, 0);
        EXPECT_EQ(value("SELECT TDate FROM Holidays WHERE HolidayName = 'Autumn Day'"), "2026-11-26");
        EXPECT_EQ(answers.texts().size(), 1);
        answers.messages.clear();
    }

    { // Absence entry: the week of the date typed in the pay-period box,
        // then a new absence on Monday 2 March.
        frmAbsenceSTP f;
        showActive(&f);
        typeOver(&f, "txtPayPeriod", typedDate(mar4, true));
        clickOn(&f, "cmdLoad");
        GridModel* m = f.model();
        EXPECT_EQ(dates(m), (QStringList{"2026-03-03", "2026-03-04"})); // the demo's two absences
        clickCell(f, m->recordCount(), 0);
        typeKeys("1002\t" + typedDate(mar2) + "\tDoctor\t8\t");
        EXPECT_EQ(value("SELECT TDate || ' ' || Week FROM Absence WHERE EmpID = '1002'"),
                  "2026-03-02 " + QString::number(WeekNumber(mar2, Company)));
        typeOver(&f, "txtPayPeriod", otherOrder);
        clickOn(&f, "cmdLoad");
        EXPECT_EQ(answers.texts(), QStringList{"Invalid date!"});
        EXPECT_EQ(dates(m), (QStringList{"2026-03-02", "2026-03-03", "2026-03-04"}));
        answers.messages.clear();
    }

    { // Time Sheet: Anna's week of 2 March from a date of that week; a shift
        // added on Saturday the 7th.
        QPointer<editor::frmDataSheetEdit> f = new editor::frmDataSheetEdit;
        showActive(f);
        auto* employees = child<QComboBox>(f, "cboEmployee");
        employees->setFocus();
        QTest::keyClick(employees, Qt::Key_Down);
        typeOver(f, "txtPayPeriod", typedDate(mar4));
        clickOn(f, "cmdLoad");
        editor::ClockGridView* view = f->gridView();
        ASSERT_EQ(f->grid().rowCount(), 5);
        EXPECT_EQ(view->model()->index(0, editor::colTDate).data().toString(), mar2.toShortDate());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(5, editor::colTDate)).center());
        typeKeys(typedDate(mar7, true) + "\t08:00\t" + mar7.toIso() + "\t12:00\t\t");
        EXPECT_TRUE(answers.texts().isEmpty()) << answers.texts().join('|').toStdString();
        EXPECT_EQ(value("SELECT DateOut || ' ' || TotalHrs FROM [Time Attendance] WHERE EmpID = '1001' AND "
                        "TDate = '2026-03-07'"),
                  "2026-03-07 4");
        // A Date Out typed in the other order is refused, and the shift keeps its date.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(5, editor::colDateOut)).center());
        typeKeys(typedDate(CalDate::ymd(2026, 3, 13), false, true) + "\n");
        EXPECT_EQ(answers.texts(),
                  QStringList{"You have entered data that does not match the type of one or more fields."});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        f->close();
        plax::test::waitUntil([&] { return f.isNull(); });
        EXPECT_EQ(
            value("SELECT DateOut FROM [Time Attendance] WHERE EmpID = '1001' AND TDate = '2026-03-07'"),
            "2026-03-07");
        answers.messages.clear();
    }

    { // The absence report's week, from its first day and from a day in it.
        reports::frmAbsenceRpt f;
        typeOver(&f, "txtPayPeriod", typedDate(nov30));
        const auto weekOf = [&](CalDate monday) {
            return "{Absence.Week} = " + QString::number(WeekNumber(monday, Company)) + " AND " +
                   reports::formulaDateRange("{Absence.TDate}", monday, monday.addDays(6));
        };
        EXPECT_EQ(f.absenceSelection(), weekOf(nov30));
        typeOver(&f, "txtPayPeriod", typedDate(dec7.addDays(2), true));
        EXPECT_EQ(f.absenceSelection(), weekOf(dec7));
        typeOver(&f, "txtPayPeriod", otherOrder);
        EXPECT_EQ(f.absenceSelection(), "");
        EXPECT_EQ(answers.texts(), QStringList{"Invalid date!"});
        answers.messages.clear();
    }

    { // The weekly report printed for the week typed; the other order is
        // the error box, and nothing is printed.
        reports::frmAttendanceRpt f;
        showActive(&f);
        auto* tree = child<QTreeWidget>(&f, "trvEmp");
        tree->topLevelItem(2)->setCheckState(0, Qt::Checked); // Production
        typeOver(&f, "txtPayPeriod", typedDate(nov30));
        clickToolButton(&f, "Print");
        EXPECT_TRUE(f.lastSelection().startsWith(
            QStringLiteral("{Attendance.Week} = %1 AND ").arg(WeekNumber(nov30, Company)) +
            reports::formulaDateRange("{Attendance.DateIn}", nov30, dec7)))
            << f.lastSelection().toStdString();
        // Where the PDF went, and the print job's end.
        ASSERT_EQ(answers.texts().size(), 2) << answers.texts().join('|').toStdString();
        EXPECT_TRUE(answers.texts()[0].startsWith("No printer is installed"))
            << answers.texts()[0].toStdString();
        const QString printed = f.lastSelection();
        typeOver(&f, "txtPayPeriod", otherOrder);
        clickToolButton(&f, "Print");
        ASSERT_EQ(answers.texts().size(), 3);
        EXPECT_EQ(answers.texts()[2], "Type mismatch");
        EXPECT_EQ(answers.messages[2].title, "Zelto Error#: 13");
        EXPECT_EQ(f.lastSelection(), printed);
        EXPECT_EQ(QDir(DataPath).entryList({QStringLiteral("*.pdf")}).size(), 1);
    }
}

// The hourly rate and the hours paid of an absence are shown with the
// locale's decimal separator and take it, or a point, when typed; a number
// written with thousands separators is refused, not read as another.
TEST_F(LocaleScreens, AmountsAreShownAndTypedWithTheLocalesDecimalSeparator) {
    const bool comma = localeName() == "de_DE";
    {
        frmSetupEmployee f;
        showActive(&f);
        auto* rate = child<QLineEdit>(&f, "txtRate");
        EXPECT_EQ(rate->text(), comma ? "24,5" : "24.5"); // Anna Berger, the first active employee
        QTabBar* pages = child<QTabWidget>(&f, "SSTab1")->tabBar();
        QTest::mouseClick(pages, Qt::LeftButton, {}, pages->tabRect(1).center());
        const auto typeRate = [&](const QString& text) {
            typeOver(&f, "txtRate", text);
            clickToolButton(&f, "Update");
            return value("SELECT Rate FROM Employee WHERE ID = '1001'");
        };
        EXPECT_EQ(typeRate(typedAmount("12.50")), "12.5");
        EXPECT_EQ(typeRate("13.25"), "13.25"); // a point reads everywhere
        EXPECT_TRUE(answers.texts().isEmpty()) << answers.texts().join('|').toStdString();
        for (const char* refused : {"1.234,5", "1,234.5", "12.5x", comma ? "1,5.0" : "12,50"}) {
            EXPECT_EQ(typeRate(refused), "13.25") << refused;
            EXPECT_EQ(answers.texts().last(), "Employee record was not updated successfully!") << refused;
        }
        answers.messages.clear();
        clickToolButton(&f, "Next"); // and back: the stored rate shown again
        clickToolButton(&f, "Previous");
        EXPECT_EQ(rate->text(), comma ? "13,25" : "13.25");
        clickToolButton(&f, "New");
        EXPECT_EQ(rate->text(), comma ? "0,00" : "0.00");
    }
    {
        frmAbsenceSTP f;
        showActive(&f);
        clickOn(&f, "optDateRange");
        clickOn(&f, "cmdLoad");
        GridModel* m = f.model();
        ASSERT_EQ(m->recordCount(), 2); // Dana Evans's 8 hours on 3 March, Grace Hill's 4 on the 4th
        typeCell(f, 1, 4, typedAmount("4.75"));
        clickRow(f, 0);
        EXPECT_EQ(value("SELECT [Hours Paid] FROM Absence WHERE EmpID = '1005'"), "4.75");
        EXPECT_EQ(cell(m, 1, 4), comma ? "4,75" : "4.75");
        clickCell(f, 2, 0);
        typeKeys("1002\t" + CalDate::ymd(2026, 3, 10).toShortDate() + "\tDoctor\t2.5\t");
        EXPECT_EQ(value("SELECT [Hours Paid] FROM Absence WHERE EmpID = '1002'"), "2.5");
        EXPECT_TRUE(answers.texts().isEmpty()) << answers.texts().join('|').toStdString();
    }
}
