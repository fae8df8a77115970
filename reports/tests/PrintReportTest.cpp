#include "ReportFixture.h"

#include "platform/print/PageModel.h"
#include "platform/print/PreviewWidget.h"
#include "reports/frmPrintFrm.h"

#include "core/common/Screens.h"
#include "reports/ReportMenus.h"
#include "testing/ScreenEvents.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace plax::test {
namespace {

using namespace reports;

class PrintReportTest : public ReportFixture {
  protected:
    // Prints a report through the dialog (OK) and returns the PDF's text.
    QString printToPdf(const QString& file, const QString& selection = QString(),
                       std::optional<short> sort = std::nullopt) {
        test::DialogDriver<frmPrintFrm> dialog(
            [](frmPrintFrm& dlg) { QTest::mouseClick(dlg.cmdOK, Qt::LeftButton); });
        const bool wasOpen = print::PEEngineIsOpen();
        EXPECT_TRUE(OpenReportEngine());
        const QStringList before = pdfFiles();
        PrintReport(kToPrinter, file, selection, sort);
        EXPECT_EQ(print::PEEngineIsOpen(), wasOpen) << "every print closes the engine it opened";
        const QStringList after = pdfFiles();
        if (after.size() != before.size() + 1)
            return QString();
        for (const QString& f : after)
            if (!before.contains(f))
                return pdfText(DataPath + f);
        return QString();
    }
    // Previews a report; `inspect` runs while the preview is open, then it is closed.
    void preview(const QString& file, const QString& selection,
                 const std::function<void(const print::Document&)>& inspect) {
        bool seen = false;
        QTimer::singleShot(50, [&] {
            auto* w = qobject_cast<print::PreviewWidget*>(print::PEGetWindowHandle(ReportJob));
            ASSERT_NE(w, nullptr);
            seen = true;
            inspect(*print::jobDocument(ReportJob));
            w->closeWindow();
        });
        ASSERT_TRUE(OpenReportEngine());
        PrintReport(kToWindow, file, selection);
        EXPECT_TRUE(seen) << "PrintReport returned before the preview closed";
        EXPECT_FALSE(print::PEEngineIsOpen());
    }
};

TEST_F(PrintReportTest, PreviewWaitsUntilTheWindowIsClosedAndThenClosesTheJob) {
    short job = 0;
    preview(QStringLiteral("Department.rpt"), QString(), [&](const print::Document& d) {
        job = ReportJob;
        ASSERT_EQ(d.pages.size(), 1u);
        EXPECT_TRUE(d.pages.front().lines().contains(QStringLiteral("ADM\tAdministration")));
        EXPECT_TRUE(print::PEEngineIsOpen());
    });
    EXPECT_EQ(print::PEGetNTables(job), -1) << "the job is gone";
    EXPECT_TRUE(responder_.messages.empty());
}

TEST_F(PrintReportTest, PrintingWithoutAPrinterWritesAPdfAndSaysWhere) {
    const QString text = printToPdf(QStringLiteral("Department.rpt"));
    EXPECT_TRUE(text.contains(QStringLiteral("Administration")));
    EXPECT_TRUE(text.contains(QStringLiteral("Northwind Fixtures Ltd.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 1")));
    ASSERT_EQ(responder_.messages.size(), 2u);
    EXPECT_TRUE(responder_.messages[0].text.contains(DataPath + pdfFiles().front()));
    EXPECT_EQ(responder_.messages[1].title, QStringLiteral("Print Status")) << "the status box comes last";
}

TEST_F(PrintReportTest, AMissingReportFileStopsWithTheErrorBox) {
    ASSERT_TRUE(OpenReportEngine());
    PrintReport(kToWindow, QStringLiteral("Nothing.rpt"), QString());
    ASSERT_EQ(responder_.messages.size(), 1u);
    EXPECT_EQ(responder_.messages[0].text, QStringLiteral("Could not start the print job."));
    EXPECT_EQ(responder_.messages[0].title, QStringLiteral("Zelto Error#: 00"));
    EXPECT_EQ(responder_.messages[0].icon, ui::Icon::Critical);
    EXPECT_FALSE(print::PEEngineIsOpen());
}

TEST_F(PrintReportTest, AttendanceReportsNeedTheirSubreport) {
    writeReport(QStringLiteral("Daily.rpt"),
                QStringLiteral("title \"Daily\"\ntable Employee\nformula CompanyName = ''\n"
                               "column \"ID\" {Employee.ID}\n"));
    test::DialogDriver<frmPrintFrm> dialog([](frmPrintFrm&) {});
    ASSERT_TRUE(OpenReportEngine());
    PrintReport(kToPrinter, QStringLiteral("Daily.rpt"), QString());
    EXPECT_EQ(responder_.texts(), QStringList{QStringLiteral("Could not open report.")});
    EXPECT_EQ(responder_.last()->icon, ui::Icon::None);
    EXPECT_EQ(dialog.driven(), 0);
    EXPECT_FALSE(print::PEEngineIsOpen());

    // The name is compared with its letter case: "daily.rpt" is an ordinary report.
    writeReport(QStringLiteral("daily.rpt"),
                QStringLiteral("title \"Daily\"\ntable Employee\nformula CompanyName = ''\n"
                               "column \"ID\" {Employee.ID}\n"));
    responder_.messages.clear();
    EXPECT_TRUE(printToPdf(QStringLiteral("daily.rpt")).contains(QStringLiteral("1001")));
    EXPECT_FALSE(responder_.texts().contains(QStringLiteral("Could not open report.")));
}

TEST_F(PrintReportTest, ARejectedSelectionShowsTheEngineBoxAndPrintsNothing) {
    test::DialogDriver<frmPrintFrm> dialog([](frmPrintFrm&) {});
    ASSERT_TRUE(OpenReportEngine());
    PrintReport(kToPrinter, QStringLiteral("Department.rpt"), QStringLiteral("{Department.Nmae} = 'x'"));
    ASSERT_EQ(responder_.messages.size(), 1u);
    EXPECT_EQ(responder_.messages[0].title, QStringLiteral("CR-511"));
    EXPECT_EQ(responder_.messages[0].text,
              QStringLiteral("Selection formula: unknown field {Department.Nmae} (at position 1)."));
    EXPECT_EQ(dialog.driven(), 0);
    EXPECT_TRUE(pdfFiles().isEmpty());
    EXPECT_FALSE(print::PEEngineIsOpen());
}

TEST_F(PrintReportTest, AFormulaTheReportLacksShowsTheBoxAndTheReportStillPrints) {
    writeReport(QStringLiteral("Plain.rpt"), QStringLiteral("title \"Plain\"\ntable Department\n"
                                                            "column \"No\" {Department.DepartmentNo}\n"));
    EXPECT_TRUE(printToPdf(QStringLiteral("Plain.rpt")).contains(QStringLiteral("WHS")));
    EXPECT_EQ(responder_.messages.front().title, QStringLiteral("CR-508"));
    EXPECT_EQ(responder_.messages.front().text,
              QStringLiteral("The report Plain.rpt has no formula named \"CompanyName\"."));
}

TEST_F(PrintReportTest, AReportWithoutTablesPrints) {
    writeReport(QStringLiteral("Notice.rpt"), QStringLiteral("title \"Notice\"\nformula CompanyName = ''\n"
                                                             "summary \"Nothing but this line.\"\n"));
    EXPECT_TRUE(printToPdf(QStringLiteral("Notice.rpt")).contains(QStringLiteral("Nothing but this line.")));
}

TEST_F(PrintReportTest, ACompanyNameWithAQuoteIsPrinted) {
    Company.CompanyName = QStringLiteral("Jack's Tools");
    EXPECT_TRUE(printToPdf(QStringLiteral("Department.rpt")).contains(QStringLiteral("Jack's Tools")));
    EXPECT_NE(responder_.messages.front().title.left(3), QStringLiteral("CR-"));
}

TEST_F(PrintReportTest, TheEmployeeListGetsItsSortOrderAndThreeSortFields) {
    writeReport(QStringLiteral("EList.rpt"), QStringLiteral(R"(title "Employees"
table Employee
formula CompanyName = ''
formula SortOrder = '2'
column "ID" {Employee.ID} width 8
column "Last" {Employee.LastName} width 12
column "Dept" {Employee.DepartmentNo} width 6
summary "Sort " {@SortOrder}
)"));
    const QString byName = printToPdf(QStringLiteral("EList.rpt"), QString(), short(3));
    EXPECT_TRUE(byName.contains(QStringLiteral("Sort 3")));
    EXPECT_LT(byName.indexOf(QStringLiteral("Berger")), byName.indexOf(QStringLiteral("Diaz")));
    EXPECT_LT(byName.indexOf(QStringLiteral("King")), byName.indexOf(QStringLiteral("Lopez")));
    const QString byDept =
        printToPdf(QStringLiteral("EList.rpt"), QStringLiteral("{Employee.Status} = True "), short(2));
    EXPECT_LT(byDept.indexOf(QStringLiteral("Jones")), byDept.indexOf(QStringLiteral("Diaz")))
        << "ADM before PRD";
    EXPECT_FALSE(byDept.contains(QStringLiteral("Nolan"))) << "inactive";
    const QString byId = printToPdf(QStringLiteral("EList.rpt"), QString(), short(1));
    EXPECT_LT(byId.indexOf(QStringLiteral("1001")), byId.indexOf(QStringLiteral("1002")));
    for (const auto& m : responder_.messages)
        EXPECT_NE(m.title.left(3), QStringLiteral("CR-")) << m.text.toStdString();
}

TEST_F(PrintReportTest, DisplayRateFollowsTheWagesSetting) {
    writeReport(QStringLiteral("WeeklyReport.rpt"), QStringLiteral(R"(title "Weekly"
table Employee
formula CompanyName = ''
formula DisplayRate = True
column "ID" {Employee.ID} width 8
column "Rate" {Employee.Rate} width 8 format decimals 2 when {@DisplayRate}
subreport "Time Attendance"
  table "Time Attendance"
  link {Time Attendance.EmpID} = {Employee.ID}
  column "In" {Time Attendance.ClockIn} width 8
end
)"));
    Company.IncludeWages = false;
    EXPECT_FALSE(printToPdf(QStringLiteral("WeeklyReport.rpt")).contains(QStringLiteral("24.50")));
    Company.IncludeWages = true;
    EXPECT_TRUE(printToPdf(QStringLiteral("WeeklyReport.rpt")).contains(QStringLiteral("24.50")));
}

TEST_F(PrintReportTest, OtherDestinationsPrepareTheJobAndPrintNothing) {
    ASSERT_TRUE(OpenReportEngine());
    PrintReport(7, QStringLiteral("Department.rpt"), QString());
    EXPECT_TRUE(pdfFiles().isEmpty());
    EXPECT_TRUE(responder_.messages.empty());
    EXPECT_FALSE(print::PEEngineIsOpen());
}

TEST_F(PrintReportTest, CancellingTheDialogPrintsNothingAndSaysNothing) {
    test::DialogDriver<frmPrintFrm> dialog(
        [](frmPrintFrm& dlg) { QTest::mouseClick(dlg.cmdCancel, Qt::LeftButton); });
    ASSERT_TRUE(OpenReportEngine());
    PrintReport(kToPrinter, QStringLiteral("Department.rpt"), QString());
    EXPECT_TRUE(pdfFiles().isEmpty());
    EXPECT_TRUE(responder_.messages.empty());
    EXPECT_FALSE(print::PEEngineIsOpen());
}

TEST_F(PrintReportTest, ASecondPrintWhileAPreviewWaitsLeavesThePreviewAlone) {
    QString secondText;
    short firstJob = 0;
    preview(QStringLiteral("Department.rpt"), QString(), [&](const print::Document&) {
        firstJob = ReportJob;
        secondText = printToPdf(QStringLiteral("Messages.rpt"));
        EXPECT_TRUE(print::PEEngineIsOpen()) << "the preview's engine is still open";
        EXPECT_NE(print::PEGetWindowHandle(firstJob), nullptr);
        ReportJob = firstJob; // for the closing lambda
    });
    EXPECT_TRUE(secondText.contains(QStringLiteral("Safety training")));
}

TEST_F(PrintReportTest, TheHolidayListAsksForTheYear) {
    db().execute(QStringLiteral(
        "INSERT INTO Holidays (HolidayName, TDate, Week) VALUES ('Founders Day', '2025-03-14', 11)"));
    responder_.inputs = {std::nullopt, QString(), QStringLiteral("20x5")};
    for (int i = 0; i < 3; ++i)
        PrintHolidayList(kToWindow);
    ASSERT_EQ(responder_.inputRequests.size(), 3u);
    EXPECT_EQ(responder_.inputRequests[0].prompt, QStringLiteral("Enter Year (yyyy) :"));
    EXPECT_EQ(responder_.inputRequests[0].title, QStringLiteral("Holidays Listing Report"));
    EXPECT_EQ(responder_.inputRequests[0].defaultText, QStringLiteral("2026"));
    EXPECT_EQ(responder_.inputRequests[0].position, QPoint(2000, 2000));
    ASSERT_EQ(responder_.messages.size(), 1u) << "Cancel and an empty answer do nothing";
    EXPECT_EQ(responder_.messages[0].text, QStringLiteral("Invalid year. Try Again!"));
    EXPECT_EQ(responder_.messages[0].icon, ui::Icon::Information);
    EXPECT_FALSE(print::PEEngineIsOpen());

    responder_.inputs = {QStringLiteral("2025")};
    bool seen = false;
    QTimer::singleShot(50, [&] {
        const print::Document* d = print::jobDocument(ReportJob);
        ASSERT_NE(d, nullptr);
        const QStringList lines = d->pages.front().lines();
        EXPECT_EQ(lines.value(2), QStringLiteral("Year 2025")) << "the year listed, under the title";
        EXPECT_TRUE(lines.contains(QStringLiteral("14 Mar 2025\tFriday\tFounders Day\t11")));
        EXPECT_TRUE(lines.contains(QStringLiteral("Holidays listed: 1")));
        seen = true;
        qobject_cast<print::PreviewWidget*>(print::PEGetWindowHandle(ReportJob))->closeWindow();
    });
    PrintHolidayList(kToWindow);
    EXPECT_TRUE(seen);
}

TEST_F(PrintReportTest, TheMenuPreviewsTheDepartmentListInADocumentWindow) {
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    setMdiArea(&area);
    registerReportScreens();
    EXPECT_TRUE(hasMenuHandler(QStringLiteral("mnuReportsHolLst")));
    QString caption;
    QTimer::singleShot(50, [&] {
        auto* w = qobject_cast<print::PreviewWidget*>(print::PEGetWindowHandle(ReportJob));
        ASSERT_NE(w, nullptr);
        auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()->parentWidget());
        ASSERT_NE(sub, nullptr);
        caption = sub->windowTitle();
        EXPECT_EQ(w->size(), w->parentWidget()->size()) << "the preview fills its window";
        w->closeButton()->click();
    });
    EXPECT_TRUE(runMenuHandler(QStringLiteral("mnuReportsDepLst")));
    EXPECT_EQ(caption, QStringLiteral("Report Preview Window"));
    EXPECT_FALSE(print::PEEngineIsOpen());
    setMdiArea(nullptr);
    clearMenuHandlers();
}

TEST_F(PrintReportTest, ThePreviewsPrintButtonGoesThroughThePrintDialog) {
    short dialogJob = 0;
    test::DialogDriver<frmPrintFrm> dialog([&](frmPrintFrm& dlg) {
        dialogJob = ReportJob;
        QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
    });
    short previewJob = 0;
    preview(QStringLiteral("Messages.rpt"), QString(), [&](const print::Document&) {
        previewJob = ReportJob;
        qobject_cast<print::PreviewWidget*>(print::PEGetWindowHandle(ReportJob))->printButton()->click();
        EXPECT_EQ(ReportJob, previewJob);
        EXPECT_NE(print::PEGetWindowHandle(ReportJob), nullptr) << "the preview stays open";
    });
    EXPECT_EQ(dialogJob, previewJob);
    ASSERT_EQ(pdfFiles().size(), 1);
    EXPECT_TRUE(pdfText(DataPath + pdfFiles().front()).contains(QStringLiteral("Staff meeting")));
}

TEST_F(PrintReportTest, APreviewThatCannotStartLeavesNoEmptyWindowBehind) {
    QMdiArea area;
    setMdiArea(&area);
    ASSERT_TRUE(OpenReportEngine());
    PrintReport(kToWindow, QStringLiteral("Department.rpt"), QStringLiteral("{Department.DepartmentNo} = 5"));
    ASSERT_EQ(responder_.messages.size(), 1u);
    EXPECT_EQ(responder_.messages[0].title, QStringLiteral("CR-514"));
    EXPECT_EQ(responder_.messages[0].text,
              QStringLiteral("Selecting records: Cannot compare text and a number (at position 27)."))
        << responder_.messages[0].text.toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_FALSE(print::PEEngineIsOpen());
    setMdiArea(nullptr);
}

TEST_F(PrintReportTest, ACompanyDatabasePathTooLongForTheLocationRecordStillPrints) {
    QString deep = AppPath;
    while (deep.size() < 280)
        deep += QStringLiteral("a-rather-long-folder-name/");
    ASSERT_TRUE(QDir().mkpath(deep));
    CompanyDb.reset();
    ASSERT_TRUE(QFile::copy(CompanyDbPath, deep + QStringLiteral("Company07.mdb")));
    CompanyDbPath = deep + QStringLiteral("Company07.mdb");
    CompanyDb = db::Database::open(CompanyDbPath);
    EXPECT_TRUE(printToPdf(QStringLiteral("Department.rpt")).contains(QStringLiteral("Warehouse")));
    for (const auto& m : responder_.messages)
        EXPECT_NE(m.title.left(3), QStringLiteral("CR-")) << m.text.toStdString();
}

TEST_F(PrintReportTest, TheStatusBoxText) {
    ReportJobInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    info.NumRecordsRead = 12;
    info.NumRecordsSelected = 10;
    info.NumRecordsPrinted = 10;
    info.DisplayPageN = 1;
    info.LatestPageN = 3;
    info.StartPageN = 1;
    info.PrintEnded = 1;
    EXPECT_EQ(reportJobStatusText(3, info), QStringLiteral("Print Status: Job Completed\n"
                                                           "Records Read        12\n"
                                                           "Records Selected    10\n"
                                                           "Records Printed     10\n"
                                                           "Display Page#       1\n"
                                                           "Latest Page#        3\n"
                                                           "Starting Page#      1\n"
                                                           "Print has ended."));
    info.PrintEnded = 0;
    EXPECT_TRUE(reportJobStatusText(1, info).startsWith(QStringLiteral("Print Status: job Not Started\n")));
    EXPECT_TRUE(reportJobStatusText(9, info).startsWith(QStringLiteral("Print Status: \n")));
    EXPECT_TRUE(reportJobStatusText(9, info).endsWith(QStringLiteral("\nPrint has not ended.")));
}

} // namespace
} // namespace plax::test
