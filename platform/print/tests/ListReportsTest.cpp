#include "EngineFixture.h"

#include "platform/print/PreviewWidget.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>

namespace plax::print {
namespace {

class ListReports : public EngineFixture {
protected:
    // Every text item lies on the paper, inside the margins.
    static void expectOnPaper(const Document& d) {
        for (const Page& p : d.pages)
            for (const PageItem& it : p.items) {
                EXPECT_GE(it.rect.left(), 600);
                EXPECT_LE(it.rect.right(), d.width - 600);
                EXPECT_GE(it.rect.top(), 600);
                EXPECT_LE(it.rect.bottom(), d.height - 600) << it.text.toStdString();
            }
    }
    // The lines of every page that match `pattern`.
    static QStringList rowsMatching(const Document& d, const QString& pattern) {
        const QRegularExpression re(pattern);
        QStringList out;
        for (const QString& l : allLines(d))
            if (re.match(l).hasMatch())
                out << l;
        return out;
    }
};

TEST_F(ListReports, DepartmentsRunOverPagesInOrderWithHeaderAndFooterOnEachPage) {
    for (int i = 299; i >= 0; --i)
        company_.db().execute(QStringLiteral("INSERT INTO Department (DepartmentNo, Description) VALUES (?, ?)"),
                              {QStringLiteral("D%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Department %1").arg(i)});
    const short job = open(shipped(QStringLiteral("Department.rpt")));
    ASSERT_TRUE(PESetFormula(job, QStringLiteral("CompanyName"), QStringLiteral("'Northwind Fixtures Ltd.'")));
    const Document& d = run(job);
    const int n = int(d.pages.size());
    ASSERT_GE(n, 5);
    for (int p = 0; p < n; ++p) {
        const QStringList lines = d.pages[size_t(p)].lines();
        EXPECT_EQ(lines.value(0), QStringLiteral("Northwind Fixtures Ltd.\tDate printed: 8 Dec 2026 14:05"));
        EXPECT_EQ(lines.value(1), QStringLiteral("Departments Listing"));
        EXPECT_EQ(lines.value(2), QStringLiteral("Department#\tDescription"));
        EXPECT_EQ(lines.last(), QStringLiteral("Departments Listing\tPage %1 of %2").arg(p + 1).arg(n));
    }
    const QStringList rows = rowsMatching(d, QStringLiteral("^D\\d{3}\t"));
    ASSERT_EQ(rows.size(), 300);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(rows[i], QStringLiteral("D%1\tDepartment %2").arg(i, 3, 10, QLatin1Char('0')).arg(i));
    EXPECT_TRUE(d.pages.back().lines().contains(QStringLiteral("Departments listed: 303")));
    const QStringList first = d.pages.front().lines();
    EXPECT_EQ(first.value(3), QStringLiteral("ADM\tAdministration")) << "text sorts without regard to case";
    expectOnPaper(d);
}

TEST_F(ListReports, HolidaysOfTheYearChosenByTheSelection) {
    company_.db().execute(QStringLiteral("DELETE FROM Holidays"));
    const struct {
        const char* name;
        const char* date;
    } days[] = {{"Christmas Day", "2025-12-25"}, {"New Year's Day", "2025-01-01"},
                {"Independence Day", "2025-07-04"}, {"Christmas Day", "2024-12-25"}, {"New Year's Day", "2026-01-01"}};
    for (const auto& h : days)
        company_.db().execute(QStringLiteral("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES (?, ?, 1)"),
                              {h.name, h.date});
    const short job = open(shipped(QStringLiteral("Holiday.rpt")));
    ASSERT_TRUE(PESetSelectionFormula(job, QStringLiteral("Year ({Holidays.TDate}) = 2025")));
    const Document& d = run(job);
    const QStringList rows = rowsMatching(d, QStringLiteral("^\\d+ \\w+ \\d{4}\t"));
    EXPECT_EQ(rows, (QStringList{QStringLiteral("1 Jan 2025\tWednesday\tNew Year's Day\t1"),
                                 QStringLiteral("4 Jul 2025\tFriday\tIndependence Day\t1"),
                                 QStringLiteral("25 Dec 2025\tThursday\tChristmas Day\t1")}));
    EXPECT_TRUE(allLines(d).contains(QStringLiteral("Holidays listed: 3")));

    const short none = open(shipped(QStringLiteral("Holiday.rpt")));
    ASSERT_TRUE(PESetSelectionFormula(none, QStringLiteral("Year ({Holidays.TDate}) = 1999")));
    EXPECT_TRUE(allLines(run(none)).contains(QStringLiteral("No holidays have been set up for this year.")));
}

TEST_F(ListReports, SchedulesListTheirDaysAndCarryTheirHeaderOntoTheNextPage) {
    for (int s = 3; s <= 80; ++s) {
        const QString no = QStringLiteral("%1").arg(s, 3, 10, QLatin1Char('0'));
        company_.db().execute(QStringLiteral("INSERT INTO Schedule (ScheduleNo, Description) VALUES (?, ?)"),
                              {no, QStringLiteral("Rota %1").arg(s)});
        for (int day = 7; day >= 1; --day)
            company_.db().execute(QStringLiteral("INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) "
                                                 "VALUES (?, ?, '07:00', '15:30')"),
                                  {no, day});
    }
    const Document& d = run(open(shipped(QStringLiteral("Schedule.rpt"))));
    ASSERT_GE(d.pages.size(), 6u);
    const QStringList lines = allLines(d);
    const int at = int(lines.indexOf(QStringLiteral("Schedule 002   Night shift")));
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines.mid(at + 1, 2), (QStringList{QStringLiteral("Monday\t22:00\t06:00\tends the next day"),
                                                 QStringLiteral("Tuesday\t22:00\t06:00\tends the next day")}));
    const int s10 = int(lines.indexOf(QStringLiteral("Schedule 010   Rota 10")));
    ASSERT_GE(s10, 0);
    EXPECT_EQ(lines.value(s10 + 1), QStringLiteral("Sunday\t07:00\t15:30"));
    EXPECT_EQ(lines.value(s10 + 7), QStringLiteral("Saturday\t07:00\t15:30"));
    int continued = 0;
    for (size_t p = 1; p < d.pages.size(); ++p)
        for (const QString& l : d.pages[p].lines())
            if (l.endsWith(QStringLiteral(" (continued)"))) {
                ++continued;
                EXPECT_EQ(l, d.pages[p].lines().value(3)) << "first line under the headings";
            }
    EXPECT_GE(continued, 1) << "some schedule is split over two pages";
    EXPECT_TRUE(lines.contains(QStringLiteral("Schedules listed: 80")));
    expectOnPaper(d);
}

TEST_F(ListReports, LongMessagesWrapInsideTheirColumn) {
    const QString longText = QStringLiteral("Remember to wear your safety glasses and gloves in the production hall, "
                                            "and report every accident to the shift supervisor before you leave.");
    company_.db().execute(QStringLiteral("INSERT INTO Messages (MessageNo, Message) VALUES ('900', ?)"), {longText});
    const Document& d = run(open(shipped(QStringLiteral("Messages.rpt"))));
    const QStringList lines = allLines(d);
    const int at = int(lines.indexOf(QRegularExpression(QStringLiteral("^900\t.*"))));
    ASSERT_GE(at, 0);
    QString joined = lines[at].section(QLatin1Char('\t'), 1);
    for (int i = at + 1; i < lines.size() && !lines[i].contains(QLatin1Char('\t')) && !lines[i].startsWith(QStringLiteral("Messages")); ++i)
        joined += QLatin1Char(' ') + lines[i];
    EXPECT_EQ(joined, longText);
    EXPECT_GT(lines.size(), 0);
    expectOnPaper(d);
}

TEST_F(ListReports, ASubreportPrintsTheLinkedRowsUnderEachRecord) {
    const QString path = write(QStringLiteral("Punches.rpt"), QStringLiteral(R"(title "Punches"
table Employee
where {Employee.ID} = '1001' OR {Employee.ID} = '0999'
sort {Employee.ID}
column "ID" {Employee.ID} width 8
column "Name" {Employee.LastName} width 20
subreport "Time Attendance"
  table "Time Attendance"
  link {Time Attendance.EmpID} = {Employee.ID}
  sort {Time Attendance.TDate}
  column "Date" {Time Attendance.TDate} width 12 format date
  column "In" {Time Attendance.ClockIn} width 8
  summary "Shifts: " count
end
)"));
    company_.db().execute(QStringLiteral("INSERT INTO Employee (ID, LastName) VALUES ('0999', 'Newman')"));
    const short job = open(path);
    const short sub = PEOpenSubreport(job, QStringLiteral("Time Attendance"));
    ASSERT_NE(sub, 0);
    EXPECT_EQ(PEOpenSubreport(job, QStringLiteral("time attendance")), sub);
    const ReportTableLocation loc = makeTableLocation(company_.path());
    ASSERT_TRUE(PESetNthTableLocation(sub, 0, &loc));
    const Document& d = run(job);
    const QStringList lines = allLines(d);
    const int anna = int(lines.indexOf(QStringLiteral("1001\tBerger")));
    const int newman = int(lines.indexOf(QStringLiteral("0999\tNewman")));
    ASSERT_GE(newman, 0);
    ASSERT_GT(anna, newman);
    const int shifts = int(company_.db()
                               .openRecordset(QStringLiteral("SELECT count(*) AS n FROM [Time Attendance] WHERE EmpID = '1001'"))
                               .field(0)
                               .toInt());
    ASSERT_GT(shifts, 0);
    EXPECT_EQ(lines.value(anna + 1), QStringLiteral("Date\tIn"));
    EXPECT_EQ(lines.value(anna + 2 + shifts), QStringLiteral("Shifts: %1").arg(shifts));
    EXPECT_EQ(lines.value(newman + 1), QStringLiteral("1001\tBerger")) << "an employee without punches gets no subreport";
}

TEST_F(ListReports, ARecordIsNotSplitFromItsSubreportAcrossAPageBreak) {
    const QString path = write(QStringLiteral("Shifts.rpt"), QStringLiteral(R"(title "Shifts"
table Employee
where {Employee.ID} >= 'E000'
sort {Employee.ID}
column "ID" {Employee.ID} width 8
column "Name" {Employee.LastName} width 20
subreport "Time Attendance"
  table "Time Attendance"
  link {Time Attendance.EmpID} = {Employee.ID}
  headings off
  column "In" {Time Attendance.ClockIn} width 8
end
)"));
    for (int i = 0; i < 120; ++i) {
        const QString id = QStringLiteral("E%1").arg(i, 3, 10, QLatin1Char('0'));
        company_.db().execute(QStringLiteral("INSERT INTO Employee (ID, LastName) VALUES (?, 'Worker')"), {id});
        company_.db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) "
                                             "VALUES (?, '2026-12-07', 50, '08:00')"),
                              {id});
    }
    const short job = open(path);
    const short sub = PEOpenSubreport(job, QStringLiteral("Time Attendance"));
    const ReportTableLocation loc = makeTableLocation(company_.path());
    ASSERT_TRUE(PESetNthTableLocation(sub, 0, &loc));
    const Document& d = run(job);
    ASSERT_GE(d.pages.size(), 3u);
    int records = 0;
    for (const Page& p : d.pages) {
        const QStringList lines = p.lines();
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].startsWith(QLatin1Char('E')) && lines[i].endsWith(QStringLiteral("\tWorker"))) {
                ++records;
                EXPECT_EQ(lines.value(i + 1), QStringLiteral("08:00")) << "record " << lines[i].toStdString();
            }
    }
    EXPECT_EQ(records, 120);
    expectOnPaper(d);
}

TEST_F(ListReports, PreviewFillsItsParentAndPagesThroughTheReport) {
    for (int i = 0; i < 150; ++i)
        company_.db().execute(QStringLiteral("INSERT INTO Department (DepartmentNo, Description) VALUES (?, 'x')"),
                              {QStringLiteral("Z%1").arg(i, 3, 10, QLatin1Char('0'))});
    QWidget host;
    host.resize(700, 500);
    const short job = open(shipped(QStringLiteral("Department.rpt")));
    ASSERT_TRUE(PEOutputToWindow(job, QStringLiteral("Print Report"), 0, 0, 700, 500, kVisibleWindowStyle, &host));
    ASSERT_TRUE(PEStartPrintJob(job, 1));
    host.show();
    auto* w = qobject_cast<PreviewWidget*>(PEGetWindowHandle(job));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), &host);
    EXPECT_EQ(w->geometry(), host.rect());
    host.resize(900, 650);
    EXPECT_EQ(w->geometry(), host.rect()) << "the preview follows its window's size";

    ASSERT_GE(w->pageCount(), 3);
    EXPECT_FALSE(w->previousButton()->isEnabled());
    w->nextButton()->click();
    EXPECT_EQ(w->currentPage(), 1);
    EXPECT_EQ(w->pageLabel()->text(), QStringLiteral("Page 2 of %1").arg(w->pageCount()));
    w->lastButton()->click();
    EXPECT_EQ(w->currentPage(), w->pageCount() - 1);
    EXPECT_FALSE(w->nextButton()->isEnabled());
    w->firstButton()->click();
    EXPECT_EQ(w->currentPage(), 0);

    const double fit = w->effectiveScale();
    w->zoomBox()->setCurrentIndex(w->zoomBox()->findData(200));
    EXPECT_EQ(w->zoom(), 200);
    EXPECT_GT(w->effectiveScale(), fit);

    ReportJobInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    info.StructSize = 24;
    w->nextButton()->click();
    PEGetJobStatus(job, &info);
    EXPECT_EQ(info.DisplayPageN, 2);

    // Printed later than the preview opened: the pages say when they were printed.
    Clock::advanceSecs(35 * 60);
    w->printButton()->click();
    EXPECT_EQ(pdfs_.size(), 1) << "without a print hook the button prints at once";
    const QString printed = pdfText(pdfs_.value(0));
    EXPECT_EQ(printed.count(QStringLiteral("Date printed: 8 Dec 2026 14:40")), w->pageCount()) << printed.toStdString();

    host.close();
    EXPECT_EQ(PEGetWindowHandle(job), nullptr) << "closing the window ends the preview";
}

TEST_F(ListReports, EachListPrintsIntoAReadablePdf) {
    company_.db().execute(QStringLiteral("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES ('Founders Day', '2026-03-14', 11)"));
    const struct {
        const char* file;
        const char* title;
        const char* row;
    } lists[] = {{"Department.rpt", "Departments Listing", "PRD  Production"},
                 {"Holiday.rpt", "Holidays Listing", "14 Mar 2026  Saturday  Founders Day"},
                 {"Schedule.rpt", "Schedules Listing", "Monday  08:00  16:30"},
                 {"Messages.rpt", "Clock Messages Listing", "002  Please see the supervisor about your badge."}};
    for (const auto& l : lists) {
        pdfs_.clear();
        run(open(shipped(QString::fromLatin1(l.file))));
        ASSERT_EQ(pdfs_.size(), 1) << l.file;
        const QString text = pdfText(pdfs_[0]);
        EXPECT_TRUE(text.contains(QString::fromLatin1(l.title))) << l.file;
        EXPECT_TRUE(text.contains(QString::fromLatin1(l.row))) << l.file << "\n" << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 1"))) << l.file;
    }
}

TEST_F(ListReports, APreviewWithoutAParentIsAWindowOfItsOwn) {
    const short job = open(shipped(QStringLiteral("Messages.rpt")));
    ASSERT_TRUE(PEOutputToWindow(job, QStringLiteral("Print Report"), 0, 0, 640, 480, kVisibleWindowStyle, nullptr));
    ASSERT_TRUE(PEStartPrintJob(job, 1));
    QWidget* w = PEGetWindowHandle(job);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isWindow());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Print Report"));
    w->close();
    EXPECT_EQ(PEGetWindowHandle(job), nullptr);
}

} // namespace
} // namespace plax::print
