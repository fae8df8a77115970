// The report screens printed for real: through the print wrapper and the
// print dialog into a PDF file (no printer on a test machine), read back
// with pdftotext.
#include "Fixtures.h"
#include "attendance/editor/ClockGrid.h"
#include "attendance/editor/ClockGridModel.h"
#include "attendance/editor/frmDataSheetEdit.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "core/common/TypedBoxes.h"
#include "core/types/Clock.h"
#include "platform/print/PageModel.h"
#include "platform/print/PreviewWidget.h"
#include "platform/print/PrintEngine.h"
#include "platform/ui/Dialogs.h"
#include "reports/Reports.h"
#include "reports/frmPrintFrm.h"
#include "reports/screens/ReportScreens.h"
#include "reports/screens/ScreenParts.h"
#include "reports/screens/frmAbsenceRpt.h"
#include "reports/screens/frmAttendanceRpt.h"
#include "reports/screens/frmEmpQry.h"
#include "reports/screens/frmExcptRpt.h"
#include "reports/tests/ReportFixture.h"
#include "testing/ScreenEvents.h"
#include "testing/TempCompany.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::reports;

namespace {

class ReportRender : public ::testing::Test {
  protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 3, 16), QTime(9, 0)));
        Company = CompanySettings();
        Company.WorkDay = 2;
        Company.RoundTotal = 0;
        Company.CompanyName = QStringLiteral("Northwind Fixtures Ltd.");
        Company.IncludeWages = true;
        fill(co.db());
        test::useAsProgramFolder(co);
        installReportEngineHooks();
    }
    void TearDown() override { test::leaveProgramFolder(); }
    // Every print dialog is answered with OK.
    test::DialogDriver<frmPrintFrm> printDialog{
        [](frmPrintFrm& dlg) { QTest::mouseClick(dlg.cmdOK, Qt::LeftButton); }};

    // Two production workers and one in the warehouse; the week of 9 March
    // 2026 (Monday) with a holiday on Wednesday and a paid absence.
    void fill(db::Database& db) {
        test::addDepartment(db, "PRD", "Production");
        test::addDepartment(db, "WHS", "Warehouse");
        db.execute("INSERT INTO Schedule (ScheduleNo, Description) VALUES ('001', 'Day')");
        for (int d = 2; d <= 6; ++d)
            db.execute("INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) "
                       "VALUES ('001', ?, '08:00', '17:00')",
                       {d});
        test::addEmployee(db, "E1", "PRD", "001", true, 20.0);
        test::addEmployee(db, "E2", "PRD", "001", true, 10.0);
        test::addEmployee(db, "W1", "WHS", "001", true, 15.0);
        for (int d = 0; d < 5; ++d) // 9 hours a day: 40 straight, 5 overtime
            test::addShift(db, "E1", mon.addDays(d), "08:00", mon.addDays(d), "17:00", Company, true);
        test::addShift(db, "E2", mon, "08:00", mon, "16:00", Company, true);
        test::addShift(db, "E2", mon.addDays(1), "07:30", mon.addDays(1), "16:00", Company, true); // early
        test::addShift(db, "E2", mon.addDays(3), "08:00", std::nullopt, "", Company, true);        // open
        test::addHoliday(db, mon.addDays(2), WeekNumber(mon, Company));
        test::addAbsence(db, "E2", mon.addDays(4), WeekNumber(mon, Company), 8.0);
    }

    // The text of the last PDF written; `paper`: its page size as pdfinfo names it.
    QString lastPdf(QString* paper = nullptr) {
        const QStringList files =
            QDir(DataPath).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        if (files.isEmpty())
            return QString();
        const QString path = DataPath + files.front();
        if (paper) {
            QProcess info;
            info.start(QStringLiteral("pdfinfo"), {path});
            info.waitForFinished(-1);
            *paper = QRegularExpression(QStringLiteral("Page size:.*\\((.*)\\)"))
                         .match(QString::fromUtf8(info.readAllStandardOutput()))
                         .captured(1);
        }
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        p.waitForFinished(-1);
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        if (qEnvironmentVariableIsSet("PLAX_KEEP_PDF"))
            QFile::copy(
                path, QString::fromLocal8Bit(qgetenv("PLAX_KEEP_PDF")) + QLatin1Char('/') +
                          QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                          QString::number(++kept_) + QStringLiteral(".pdf"));
        QFile::remove(path);
        return text;
    }

    // What a person does on a report screen, with the screen up as the
    // active window: types into a box, chooses an option or a list entry
    // (with the arrow keys), clicks the toolbar's Print button.
    static void type(QWidget* screen, const char* box, const QString& text) {
        test::showActive(screen);
        auto* edit = screen->findChild<QLineEdit*>(QString::fromLatin1(box));
        ASSERT_NE(edit, nullptr) << box;
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }
    static void choose(QWidget* screen, const char* option) {
        test::showActive(screen);
        auto* button = screen->findChild<QRadioButton*>(QString::fromLatin1(option));
        ASSERT_NE(button, nullptr) << option;
        const int middle = button->height() / 2;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(middle, middle)); // on its round button
        EXPECT_TRUE(button->isChecked()) << option;
    }
    static void pick(QWidget* screen, const char* list, int index) {
        test::showActive(screen);
        auto* box = screen->findChild<QComboBox*>(QString::fromLatin1(list));
        ASSERT_NE(box, nullptr) << list;
        ASSERT_GE(index, 0) << list;
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
        EXPECT_EQ(box->currentIndex(), index) << list;
    }
    static void group(QWidget* screen, int index) { pick(screen, "cboEmpGroups", index); }
    static void print(QWidget* screen) {
        test::showActive(screen);
        test::clickToolButton(screen, QStringLiteral("Print"));
    }
    static void tick(QWidget* screen, const QString& startsWith) {
        auto* tree = screen->findChild<QTreeWidget*>(QStringLiteral("trvEmp"));
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (tree->topLevelItem(i)->text(0).startsWith(startsWith))
                tree->topLevelItem(i)->setCheckState(0, Qt::Checked);
    }

    static void setRange(QWidget* screen, CalDate from, CalDate to) {
        choose(screen, "optDateRange");
        screen->findChild<DateBox*>("DTPFromDate")->setDate(from);
        screen->findChild<DateBox*>("DTPToDate")->setDate(to);
    }
    // Employee 1002 works 9.5 hours a day, Monday to Friday, from `first`.
    void workWeek(CalDate first) {
        if (CompanyDb->openRecordset("SELECT count(*) FROM Employee WHERE ID = '1002'").field(0).toInt() == 0)
            test::addEmployee(*CompanyDb, "1002", "PRD", "001", true, 20.0);
        for (int d = 0; d < 5; ++d)
            test::addShift(*CompanyDb, "1002", first.addDays(d), "07:00", first.addDays(d), "16:30", Company, true);
    }
    // The New Year week, 12/28/2026 to 01/03/2027 (week 1 of 2027), worked
    // through, and a shift on Friday 01/02/2026 (week 1 of 2026); a paid
    // absence on each of the two Fridays.
    void newYearWeek() {
        workWeek(newYear);
        const CalDate friday2026 = CalDate::ymd(2026, 1, 2);
        test::addShift(*CompanyDb, "1002", friday2026, "07:00", friday2026, "16:30", Company, true);
        test::addAbsence(*CompanyDb, "1002", friday2026, 1, 8.0);
        test::addAbsence(*CompanyDb, "1002", newYear.addDays(4), 1, 4.0);
    }
    static bool has(const QString& text, const char* pattern) {
        return QRegularExpression(QString::fromUtf8(pattern)).match(text).hasMatch();
    }

    test::TempCompany co;
    ui::ScriptedResponder answers;
    const CalDate mon = CalDate::ymd(2026, 3, 9);
    const CalDate newYear = CalDate::ymd(2026, 12, 28);
    int kept_ = 0;
};

} // namespace

TEST_F(ReportRender, WeeklyReportWithHoursAndWages) {
    frmAttendanceRpt f;
    type(&f, "txtPayPeriod", mon.addDays(2).toShortDate());
    tick(&f, "PRD");
    print(&f);
    EXPECT_EQ(f.lastSelection(),
              QStringLiteral("{Attendance.Week} = %1 AND {Attendance.DateIn} in Date (2026, 03, 09) To Date "
                             "(2026, 03, 16) AND ({Employee.DepartmentNo} In ['PRD'])")
                  .arg(WeekNumber(mon, Company)));
    const QString text = lastPdf();
    ASSERT_FALSE(text.isEmpty()) << answers.texts().join('\n').toStdString();
    EXPECT_TRUE(text.contains("Weekly Time & Attendance Report"));
    EXPECT_TRUE(text.contains("Gross Wages"));
    // E1: 40 straight and 5 overtime at 20.00: 800 + 5 x 1.5 x 20 = 950.
    EXPECT_TRUE(text.contains("40.00")) << text.toStdString();
    EXPECT_TRUE(text.contains("950.00")) << text.toStdString();
    EXPECT_FALSE(text.contains("W1"));
    // E2 at 10.00: the holiday's 8 hours and the paid absence's 8 are paid
    // as straight time, on their lines and in the week's total.
    for (const char* line : {"Wednesday\\s+0.00\\s+0.00\\s+0.00\\s+8.00\\s+8.00\\s+10.00\\s+80.00\\n",
                             "Friday\\s+0.00\\s+0.00\\s+8.00\\s+0.00\\s+8.00\\s+10.00\\s+80.00\\n",
                             "Week total\\s+16.50\\s+0.00\\s+8.00\\s+8.00\\s+32.50\\s+325.00\\n"})
        EXPECT_TRUE(has(text, line)) << line << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Week %1: 9 Mar 2026 to 15 Mar 2026").arg(WeekNumber(mon, Company))))
        << "the period under the title";

    // A week without attendance names itself in its message.
    type(&f, "txtPayPeriod", mon.addDays(14).toShortDate());
    print(&f);
    EXPECT_TRUE(lastPdf().contains(QStringLiteral("No attendance for the chosen week (Week %1: 23 Mar 2026 to "
                                                  "29 Mar 2026) and employees.")
                                       .arg(WeekNumber(mon, Company) + 2)));
    type(&f, "txtPayPeriod", mon.toShortDate());

    Company.IncludeWages = false;
    print(&f);
    const QString plain = lastPdf();
    EXPECT_FALSE(plain.contains("Gross Wages"));
    EXPECT_FALSE(plain.contains("950.00"));
    EXPECT_TRUE(plain.contains("40.00"));
}

TEST_F(ReportRender, DailySummaryAndDetailedOverADateRange) {
    // The longest ID there may be and a name longer than its column.
    CompanyDb->execute(
        "INSERT INTO Employee (ID, FirstName, LastName, DepartmentNo, Status, Rate) VALUES "
        "('EMP-LONGNAME', 'Maximiliana-Alexandrina', 'Vandenberghe-Oppenheimer-Featherstonehaugh', "
        "'PRD', 1, 20)");
    test::addShift(*CompanyDb, "EMP-LONGNAME", mon, "08:00", mon, "12:00", Company, true);
    frmAttendanceRpt f;
    setRange(&f, CalDate::ymd(2026, 3, 9), CalDate::ymd(2026, 3, 13));
    tick(&f, "No Department");
    tick(&f, "PRD");

    choose(&f, "optSummary");
    print(&f);
    const QString summary = lastPdf();
    EXPECT_TRUE(summary.contains("Attendance Summary Report"));
    EXPECT_TRUE(summary.contains("9 Mar 2026 to 13 Mar 2026")) << "the period in the heading";
    // One line per employee: E1 40 + 5 = 45; E2 16.5 worked, 8 absence, 8 holiday.
    EXPECT_TRUE(
        QRegularExpression("E1\\s+LastE1, FirstE1\\s+Production\\s+40.00\\s+5.00\\s+0.00\\s+0.00\\s+45.00")
            .match(summary)
            .hasMatch())
        << summary.toStdString();
    EXPECT_TRUE(
        QRegularExpression("E2\\s+LastE2, FirstE2\\s+Production\\s+16.50\\s+0.00\\s+8.00\\s+8.00\\s+32.50")
            .match(summary)
            .hasMatch())
        << summary.toStdString();
    EXPECT_EQ(summary.count(QRegularExpression("\\nE1 ")), 1);
    EXPECT_TRUE(summary.contains("Employees listed: 3"));
    // IDs and headings whole; the name runs on under its heading.
    EXPECT_TRUE(has(summary, "ID#\\s+Name\\s+Department\\s+Regular\\s+Overtime\\s+Absence\\s+Holiday\\s+Total\\n"))
        << summary.toStdString();
    EXPECT_TRUE(has(summary, "\\nEMP-LONGNAME\\s+Vandenberghe-"));
    EXPECT_TRUE(summary.contains("Featherstonehaugh"));
    EXPECT_FALSE(summary.contains(QChar(0x2026)));

    choose(&f, "optDaily");
    print(&f);
    const QString daily = lastPdf();
    EXPECT_TRUE(daily.contains("Daily Attendance Report"));
    EXPECT_TRUE(daily.contains("9 Mar 2026 to 13 Mar 2026")) << "the period under the title";
    EXPECT_TRUE(daily.contains("In 07:30"));
    // A punch reads as one phrase on its own line, with its clock-out date and length.
    EXPECT_TRUE(QRegularExpression(
                    "\\n\\s*In 07:30\\s+Out \\d\\d:\\d\\d on \\d+ [A-Z][a-z]{2} \\d{4}\\s+\\(\\d+ h \\d+ min\\)")
                    .match(daily)
                    .hasMatch())
        << daily.toStdString();
    EXPECT_FALSE(daily.contains("Gross Wages"));

    choose(&f, "optDetail");
    print(&f);
    const QString detailed = lastPdf();
    EXPECT_TRUE(detailed.contains("Time & Attendance Detailed Report"));
    EXPECT_TRUE(detailed.contains("9 Mar 2026 to 13 Mar 2026"));
    EXPECT_TRUE(detailed.contains("Week total"));
    EXPECT_TRUE(detailed.contains("1515.00")) << detailed.toStdString(); // 950 + 325 + 240, all employees
}

TEST_F(ReportRender, EmployeeListDetailAndAbsenceReports) {
    {
        CompanyDb->execute("UPDATE Employee SET LastName = 'Aalto' WHERE ID = 'W1'");
        frmEmpQry f;
        choose(&f, "optsort3"); // by last name
        print(&f);
        const QString list = lastPdf();
        EXPECT_TRUE(list.contains("Employee Listing"));
        EXPECT_TRUE(list.contains("Employees listed: 3"));
        EXPECT_LT(list.indexOf("Aalto"), list.indexOf("LastE1"));
        choose(&f, "optsort1"); // by ID
        print(&f);
        const QString byId = lastPdf();
        EXPECT_LT(byId.indexOf("LastE1"), byId.indexOf("Aalto"));

        choose(&f, "optDetail");
        choose(&f, "optSelEmp");
        pick(&f, "cboEmp", 2);
        print(&f);
        const QString detail = lastPdf();
        EXPECT_TRUE(detail.contains("Employee Detail Report"));
        EXPECT_TRUE(detail.contains("Employee W1"));
        EXPECT_TRUE(detail.contains("15.00"));
        EXPECT_TRUE(detail.contains("Employees listed: 1"));
    }
    {
        frmAbsenceRpt f;
        type(&f, "txtPayPeriod", mon.addDays(3).toShortDate());
        print(&f);
        const QString absences = lastPdf();
        EXPECT_TRUE(absences.contains("Employee Absence Report"));
        EXPECT_TRUE(absences.contains("LastE2, FirstE2"));
        EXPECT_TRUE(absences.contains("8.00"));
        EXPECT_TRUE(absences.contains("Absences listed: 1"));
        EXPECT_TRUE(absences.contains(
            QStringLiteral("Week %1: 9 Mar 2026 to 15 Mar 2026").arg(WeekNumber(mon, Company))))
            << "the week and its dates in the heading";
    }
}

TEST_F(ReportRender, AQuoteInAKeyNeitherWidensNorBreaksASelection) {
    db::Database& db = *CompanyDb;
    test::addDepartment(db, "Q'A", "Quality");
    const QString sly = QStringLiteral("x' Or 'a'='a");
    test::addEmployee(db, sly, "PRD", "001");
    test::addEmployee(db, "A'-1", "Q'A", "001");
    for (const QString& id : {sly, QStringLiteral("A'-1")})
        test::addShift(db, id, mon, "08:00", mon, "12:00", Company, true);
    test::addAbsence(db, "A'-1", mon.addDays(1), WeekNumber(mon, Company), 4.0);
    {
        frmAttendanceRpt f;
        type(&f, "txtPayPeriod", mon.toShortDate());
        group(&f, 0);
        tick(&f, sly + QLatin1Char(','));
        print(&f);
        const QString one = lastPdf();
        EXPECT_TRUE(one.contains("Last" + sly)) << one.toStdString();
        for (const char* other : {"LastE1", "LastE2", "LastW1", "LastA'-1"})
            EXPECT_FALSE(one.contains(QString::fromUtf8(other))) << other;

        group(&f, 1);
        tick(&f, "Q'A ");
        print(&f);
        const QString quality = lastPdf();
        EXPECT_TRUE(quality.contains("LastA'-1")) << quality.toStdString();
        EXPECT_FALSE(quality.contains("LastE1"));
    }
    {
        frmEmpQry f;
        choose(&f, "optDetail");
        choose(&f, "optSelEmp");
        pick(&f, "cboEmp", f.findChild<QComboBox*>("cboEmp")->findText("A'-1 ", Qt::MatchStartsWith));
        print(&f);
        const QString detail = lastPdf();
        EXPECT_TRUE(detail.contains("Employee A'-1")) << detail.toStdString();
        EXPECT_TRUE(detail.contains("Employees listed: 1"));
    }
    {
        frmAbsenceRpt f;
        type(&f, "txtPayPeriod", mon.toShortDate());
        choose(&f, "optDepartments");
        pick(&f, "cboDepartment",
             f.findChild<QComboBox*>("cboDepartment")->findText("Q'A ", Qt::MatchStartsWith));
        print(&f);
        const QString absences = lastPdf();
        EXPECT_TRUE(absences.contains("LastA'-1, FirstA'-1")) << absences.toStdString();
        EXPECT_TRUE(absences.contains("Absences listed: 1"));
    }
}

TEST_F(ReportRender, TenThousandTickedEmployeesPrint) {
    db::Database& db = *CompanyDb;
    {
        db::Database::Transaction tx(db);
        db::Query add =
            db.prepare("INSERT INTO Employee (ID, LastName, DepartmentNo, Status) VALUES (?, ?, 'WHS', 1)");
        for (int i = 0; i < 10000; ++i)
            add.execute(
                {QStringLiteral("M%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("LastM%1").arg(i)});
        tx.commit();
    }
    const CalDate before = mon.addDays(-7); // a week without the holiday
    test::addShift(db, "M09999", before, "08:00", before, "12:00", Company, true);
    test::addAbsence(db, "M05000", before.addDays(1), WeekNumber(before, Company), 8.0);
    frmAttendanceRpt f;
    type(&f, "txtPayPeriod", before.toShortDate());
    group(&f, 0);
    tick(&f, "M");
    print(&f);
    const QString text = lastPdf();
    EXPECT_TRUE(text.contains("LastM9999,")) << text.toStdString();
    EXPECT_TRUE(text.contains("LastM5000,")); // the absence was merged
    EXPECT_FALSE(text.contains("LastM1,"));
}

TEST_F(ReportRender, ExceptionReportNamesEachReason) {
    test::addShift(*CompanyDb, "W1", mon.addDays(-14), "08:00", mon.addDays(-12), "08:00", Company);
    frmExcptRpt f;
    type(&f, "txtPayPeriod", mon.toShortDate());
    print(&f);
    const QString text = lastPdf();
    EXPECT_TRUE(text.contains("Exception Report"));
    EXPECT_TRUE(text.contains("Outside schedule")); // E2 in at 07:30
    EXPECT_TRUE(text.contains("Missing punch"));    // E2 never clocked out
    EXPECT_TRUE(text.contains("Multi-day shift"));  // W1, two weeks earlier
    EXPECT_TRUE(text.contains("Exceptions listed: 3")) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Week %1: 9 Mar 2026 to 15 Mar 2026").arg(WeekNumber(mon, Company))));
}

// Early shifts (before 08:00) two weeks apart: a range scans each week it
// touches, with that week's own number.
TEST_F(ReportRender, TheExceptionReportOverARangeScansEveryWeek) {
    const CalDate tue1 = CalDate::ymd(2026, 11, 24), tue2 = CalDate::ymd(2026, 12, 1);
    for (const CalDate d : {tue1, tue2})
        test::addShift(*CompanyDb, "W1", d, "07:00", d, "16:00", Company);
    frmExcptRpt f;
    setRange(&f, CalDate::ymd(2026, 11, 23), CalDate::ymd(2026, 12, 6));
    print(&f);
    const QString text = lastPdf();
    EXPECT_TRUE(text.contains("23 Nov 2026 to 6 Dec 2026")) << "the range under the title";
    EXPECT_TRUE(has(text, "24 Nov 2026\\s+Tuesday\\s+48\\s+07:00")) << text.toStdString();
    EXPECT_TRUE(has(text, "1 Dec 2026\\s+Tuesday\\s+49\\s+07:00"));
    EXPECT_TRUE(text.contains("Exceptions listed: 2"));
}

// A pay period is its work week: the New Year week's days of both years,
// never the same-numbered week of another year, whichever date is typed.
TEST_F(ReportRender, TheNewYearWeekIsPaidAsOneWeek) {
    newYearWeek();
    {
        frmAttendanceRpt f;
        group(&f, 0);
        tick(&f, "1002,");
        for (const CalDate typed : {newYear, newYear.addDays(4)}) {
            type(&f, "txtPayPeriod", typed.toShortDate());
            print(&f);
            const QString text = lastPdf();
            EXPECT_TRUE(text.contains("Week 1: 28 Dec 2026 to 3 Jan 2027")) << text.toStdString();
            EXPECT_TRUE(has(text, "1 Jan 2027\\s+Friday"));
            EXPECT_FALSE(has(text, "\\b2 Jan 2026"));
            // 47.5 hours: 40 straight and 7.5 overtime, and 01/01/2027's absence.
            EXPECT_TRUE(has(text, "Week total\\s+40.00\\s+7.50\\s+4.00\\s+0.00\\s+51.50"));
        }
    }
    frmAbsenceRpt f;
    type(&f, "txtPayPeriod", newYear.addDays(2).toShortDate());
    print(&f);
    const QString absences = lastPdf();
    EXPECT_TRUE(absences.contains("Week 1: 28 Dec 2026 to 3 Jan 2027"));
    EXPECT_TRUE(has(absences, "\\b1 Jan 2027")) << absences.toStdString();
    EXPECT_FALSE(has(absences, "\\b2 Jan 2026"));
    EXPECT_TRUE(absences.contains("Absences listed: 1"));
}

// Over a year, the two weeks numbered 1 are two weeks, each with its dates
// and its own total, in date order.
TEST_F(ReportRender, TheDetailedReportOverAYearKeepsEachWorkWeekApart) {
    newYearWeek();
    frmAttendanceRpt f;
    setRange(&f, CalDate::ymd(2026, 1, 1), CalDate::ymd(2026, 12, 31));
    group(&f, 0);
    tick(&f, "1002,");
    print(&f);
    const QString text = lastPdf();
    const qsizetype first = text.indexOf("Week 1: 29 Dec 2025 to 4 Jan 2026");
    const qsizetype last = text.indexOf("Week 1: 28 Dec 2026 to 3 Jan 2027");
    EXPECT_GE(first, 0) << text.toStdString();
    const qsizetype jan2 = text.indexOf(QRegularExpression("\\b2 Jan 2026"));
    EXPECT_LT(first, jan2);
    EXPECT_LT(jan2, last);
    EXPECT_EQ(text.count("Week 1: "), 2);
    // 9.5 hours and 8 absent; then four days of 9.5 hours, all straight.
    EXPECT_TRUE(has(text, "Week total\\s+9.50\\s+0.00\\s+8.00\\s+0.00\\s+17.50[\\s\\S]*"
                          "Week total\\s+38.00\\s+0.00\\s+0.00\\s+0.00\\s+38.00"));
}

// Weeks from Monday, the day starting at 05:00: 1003's shift from 03:00 to
// 04:30 on Monday 12/28/2026 is Sunday's, in week 52. A range holds the
// shifts of its work dates: the range of week 52 prints and lists what its
// pay period does, the next week's range has no part of week 52, and the
// Daily report prints the early shift before Monday's own, with its week.
TEST_F(ReportRender, ARangeHoldsTheShiftsOfItsWorkDates) {
    Company.setDayStart(*TimeOfDay::fromHm(5, 0));
    const CalDate week52 = CalDate::ymd(2026, 12, 21);
    test::addEmployee(*CompanyDb, "1003", "PRD", "001", true, 20.0);
    for (int d = 0; d < 5; ++d) // 45 hours: 40 straight, 5 overtime
        test::addShift(*CompanyDb, "1003", week52.addDays(d), "07:00", week52.addDays(d), "16:00", Company, true);
    test::addShift(*CompanyDb, "1003", newYear, "03:00", newYear, "04:30", Company, true);
    test::addShift(*CompanyDb, "1003", newYear, "06:00", newYear, "10:00", Company, true);
    {
        frmAttendanceRpt f;
        group(&f, 0);
        tick(&f, "1003,");
        const char* week52Total = "Week total\\s+40.00\\s+6.50\\s+0.00\\s+0.00\\s+46.50\\s+995.00";
        type(&f, "txtPayPeriod", week52.toShortDate());
        print(&f);
        const QString payPeriod = lastPdf();
        EXPECT_TRUE(has(payPeriod, week52Total)) << payPeriod.toStdString();
        setRange(&f, week52, week52.addDays(6));
        print(&f);
        const QString range = lastPdf();
        EXPECT_TRUE(has(range, week52Total)) << range.toStdString();

        setRange(&f, newYear, newYear.addDays(6));
        print(&f);
        const QString next = lastPdf();
        EXPECT_FALSE(next.contains("Week 52")) << next.toStdString();
        EXPECT_TRUE(has(next, "Employee total\\s+4.00\\s+0.00\\s+0.00\\s+0.00\\s+4.00"));

        choose(&f, "optDaily");
        setRange(&f, newYear.addDays(-1), newYear);
        print(&f);
        const QString daily = lastPdf();
        EXPECT_TRUE(has(daily, "Monday\\s+52\\s+0.00\\s+1.50\\s[\\s\\S]*In 03:00[\\s\\S]*"
                               "Monday\\s+1\\s+4.00\\s+0.00\\s[\\s\\S]*In 06:00"))
            << daily.toStdString();
    }
    frmExcptRpt f; // every shift starts before its schedule
    type(&f, "txtPayPeriod", week52.addDays(3).toShortDate());
    print(&f);
    EXPECT_TRUE(lastPdf().contains("Exceptions listed: 6"));
    setRange(&f, week52, week52.addDays(6));
    print(&f);
    const QString range = lastPdf();
    EXPECT_TRUE(range.contains("Exceptions listed: 6")) << range.toStdString();
    EXPECT_TRUE(has(range, "Monday\\s+52\\s+03:00"));
}

// A correction made in the Time Sheet while the report screen stays open is
// what the next print shows: Thursday's clock-out moved from 16:30 to 12:30.
TEST_F(ReportRender, APrintShowsHoursCorrectedWhileTheScreenWasOpen) {
    const CalDate dec7 = CalDate::ymd(2026, 12, 7);
    workWeek(dec7);
    frmAttendanceRpt f;
    test::showActive(&f);
    test::waitUntil([] { // the hours engine runs once the screen has opened
        return CompanyDb->openRecordset("SELECT count(*) FROM [Hours Worked] WHERE EmpID = '1002'").field(0).toInt() == 5;
    });
    {
        editor::frmDataSheetEdit sheet;
        type(&sheet, "txtPayPeriod", dec7.toShortDate());
        auto* cbo = sheet.findChild<QComboBox*>("cboEmployee");
        cbo->setFocus();
        QTest::keyClick(cbo, Qt::Key_Down); // 1002, the first entry
        test::waitUntil([&] { return sheet.grid().rowCount() == 5; });
        test::typeIntoCell(sheet.gridView(), 3, editor::colClockOut, "12:30");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(sheet.gridView(), Qt::Key_Down); // the row is stored
        sheet.close();
    }
    type(&f, "txtPayPeriod", dec7.toShortDate());
    group(&f, 0);
    tick(&f, "1002,");
    print(&f);
    const QString text = lastPdf();
    EXPECT_TRUE(has(text, "10 Dec 2026\\s+Thursday\\s+5.50\\s+0.00")) << text.toStdString();
    EXPECT_TRUE(has(text, "Week total\\s+40.00\\s+3.50"));
}

TEST_F(ReportRender, PreviewFromTheToolbarAndTheMenuEntries) {
    clearMenuHandlers();
    registerReportScreenMenus();
    for (const char* item : {"mnuReportsEmpLst", "mnuReportsAbsLst", "mnuRptTA", "mnuReportsExceptions"})
        EXPECT_TRUE(hasMenuHandler(QString::fromUtf8(item))) << item;
    ASSERT_TRUE(runMenuHandler("mnuRptTA"));
    auto* screen = qobject_cast<frmAttendanceRpt*>(showAttendanceReport());
    ASSERT_NE(screen, nullptr);
    type(screen, "txtPayPeriod", mon.toShortDate());
    tick(screen, "PRD");
    QStringList firstPage;
    // The person reads the preview once it is up (a slow build may take a
    // while to lay it out) and closes it.
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* w = qobject_cast<print::PreviewWidget*>(print::PEGetWindowHandle(ReportJob));
        const print::Document* doc = print::jobDocument(ReportJob);
        if (!w || !doc || doc->pages.empty())
            return;
        reader.stop();
        firstPage = doc->pages.front().lines();
        w->closeWindow();
    });
    reader.start(50);
    test::showActive(screen);
    test::clickToolButton(screen, "Preview");
    EXPECT_TRUE(firstPage.join('\n').contains("950.00")) << firstPage.join('\n').toStdString();
    EXPECT_TRUE(answers.messages.empty()) << answers.texts().join("|").toStdString();
    EXPECT_FALSE(print::PEEngineIsOpen());
    QPointer<QWidget> alive(screen);
    test::clickToolButton(screen, "Close");
    EXPECT_FALSE(screen->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
    EXPECT_FALSE(CompanyDb->tableExists("Attendance"));
    clearMenuHandlers();
}

// Employee 1002 at 18.75 works 07:00 to 16:20, Monday to Friday: 46 h 40 in
// the week, each day 9.33 on its line. The totals are the exact hours and
// wages, rounded once, as on the Summary; dates, amounts and the paper are
// those of the reader's locale (also run under en_US, en_GB and de_DE).
TEST_F(ReportRender, TheWeekOf46h40PrintsItsExactTotalsInTheReadersForms) {
    const struct Forms {
        const char *locale, *monday, *sunday, *printed, *separator, *paper;
    } forms[] = {{"C", "7 Dec 2026", "13 Dec 2026", "16 Mar 2026", ".", "A4"},
                 {"en_US", "12/7/2026", "12/13/2026", "3/16/2026", ".", "letter"},
                 {"en_GB", "07/12/2026", "13/12/2026", "16/03/2026", ".", "A4"},
                 {"de_DE", "07.12.2026", "13.12.2026", "16.03.2026", ",", "A4"}};
    const Forms* f = nullptr;
    for (const Forms& candidate : forms)
        if (QLocale::system().name() == QLatin1String(candidate.locale))
            f = &candidate;
    ASSERT_NE(f, nullptr) << QLocale::system().name().toStdString();
    // A pattern with the locale's dates and decimal separator: D1 Monday's
    // date, D7 Sunday's, N one amount (0.00).
    const auto forms_ = [f](QString pattern) {
        pattern.replace(QStringLiteral("D1"), QRegularExpression::escape(QString::fromLatin1(f->monday)));
        pattern.replace(QStringLiteral("D7"), QRegularExpression::escape(QString::fromLatin1(f->sunday)));
        pattern.replace(QRegularExpression(QStringLiteral("(\\d)\\.(\\d\\d)")),
                        QStringLiteral("\\1") + QRegularExpression::escape(QString::fromLatin1(f->separator)) +
                            QStringLiteral("\\2"));
        return pattern;
    };
    const auto expect = [&](const QString& text, const char* pattern) {
        EXPECT_TRUE(QRegularExpression(forms_(QString::fromUtf8(pattern))).match(text).hasMatch())
            << forms_(QString::fromUtf8(pattern)).toStdString() << "\n" << text.toStdString();
    };
    const CalDate dec7 = CalDate::ymd(2026, 12, 7);
    test::addEmployee(*CompanyDb, "1002", "PRD", "001", true, 18.75);
    for (int d = 0; d < 5; ++d)
        test::addShift(*CompanyDb, "1002", dec7.addDays(d), "07:00", dec7.addDays(d), "16:20", Company, true);
    const QString week = QStringLiteral("Week %1: D1 to D7").arg(WeekNumber(dec7, Company));

    frmAttendanceRpt screen;
    type(&screen, "txtPayPeriod", dec7.toShortDate());
    group(&screen, 0);
    tick(&screen, "1002,");
    print(&screen);
    QString paper;
    const QString weekly = lastPdf(&paper);
    EXPECT_EQ(paper, QString::fromLatin1(f->paper));
    EXPECT_TRUE(weekly.contains(QStringLiteral("Date printed: %1 09:00").arg(QString::fromLatin1(f->printed))));
    expect(weekly, (week + "\\n").toUtf8());
    expect(weekly, "D1\\s+Monday\\s+9.33\\s+0.00\\s+9.33\\s+18.75\\s+175.00\\n");
    expect(weekly, "Friday\\s+2.67\\s+6.67\\s+9.33\\s+18.75\\s+237.50\\n");
    // Not the lines' 39.99 and 46.65.
    expect(weekly, "Week total\\s+40.00\\s+6.67\\s+0.00\\s+0.00\\s+46.67\\s+937.50\\n");

    choose(&screen, "optSummary");
    print(&screen);
    const QString summary = lastPdf();
    expect(summary, (week + "\\n").toUtf8());
    expect(summary, "1002\\s+Last1002, First1002\\s+Production\\s+40.00\\s+6.67\\s+0.00\\s+0.00\\s+46.67\\n");

    // Over a range, the week's dates in its heading, and its punches' dates.
    choose(&screen, "optDetail");
    setRange(&screen, dec7, dec7.addDays(6));
    print(&screen);
    const QString range = lastPdf();
    expect(range, "\\nD1 to D7\\n");
    expect(range, (week + "\\n").toUtf8());
    expect(range, "In 07:00\\s+Out 16:20 on D1\\s+\\(9 h 20 min\\)");
    for (const char* total : {"Week total", "Employee total", "Total, all employees"})
        expect(range, (QString::fromLatin1(total) + "\\s+40.00\\s+6.67\\s+0.00\\s+0.00\\s+46.67\\s+937.50\\n").toUtf8());
}
