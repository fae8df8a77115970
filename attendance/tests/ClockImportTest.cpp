#include "ImportTestSupport.h"
#include "attendance/AttendanceScreens.h"
#include "attendance/ClockImport.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <gtest/gtest.h>

using namespace plax;

namespace {
const char* const kSuccess = "Clock data was imported successfully!";
const char* const kFailure = "Clock data was NOT imported successfully!";
} // namespace

TEST(ClockImport, ReadsTheFileByPosition) {
    test::ImportCompany c;
    c.writeClockTxt("00042,01/17/05,07:58\r\nA,B,01/17/05,16:00\r\n\r\n7,01/18/05,\r\n");
    const auto punches = readClockFile(c.clockTxt());
    ASSERT_EQ(punches.size(), 3u);
    EXPECT_EQ(punches[0].id, QStringLiteral("00042"));
    EXPECT_EQ(punches[0].date, CalDate::ymd(2005, 1, 17));
    EXPECT_EQ(punches[0].time, TimeOfDay::fromHm(7, 58));
    EXPECT_EQ(punches[1].id, QStringLiteral("A,B"));
    EXPECT_FALSE(punches[2].time.has_value());

    c.writeClockTxt("1,13/45/05,07:58\r\n");
    try {
        readClockFile(c.clockTxt());
        ADD_FAILURE() << "a date that is not a date must fail";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::TypeMismatch);
    }
}

TEST(ClockImport, ImportsPairsAndRebuildsHours) {
    test::ImportCompany c;
    c.addEmployees({QStringLiteral("0042"), QStringLiteral("7")});
    c.addEmployees({QStringLiteral("9")}, false); // inactive employees are imported too
    // Out of order on purpose; the import sorts by ID, date and time.
    c.writeClockTxt("0042,01/10/24,16:30\r\n"
                    "7,01/10/24,09:00\r\n"
                    "0042,01/10/24,08:00\r\n"
                    "0042,01/10/24,08:00\r\n" // the same punch twice
                    "5555,01/10/24,08:00\r\n" // not an employee
                    "9,01/10/24,06:00\r\n"
                    "9,01/10/24,\r\n"
                    "9,01/10/24,14:00\r\n");
    ui::ScriptedResponder r;
    EXPECT_TRUE(ImportClockData(c.db(), c.settings, c.dataPath()));
    EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kSuccess)});
    EXPECT_EQ(r.messages[0].icon, ui::Icon::Information);
    EXPECT_FALSE(QFile::exists(c.clockTxt()));

    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 3);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE EmpID = '5555'")), 0);
    auto rs = c.db().openRecordset(QStringLiteral("SELECT * FROM [Time Attendance] WHERE EmpID = '0042'"));
    EXPECT_EQ(rs["ClockIn"].toString(), QStringLiteral("08:00"));
    EXPECT_EQ(rs["ClockOut"].toString(), QStringLiteral("16:30"));
    EXPECT_EQ(rs["TotalHrs"].toInt(), 8);
    EXPECT_EQ(rs["TotalMin"].toInt(), 30);
    // The hours engine ran: hours are there and no flag is left.
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE Recalculate <> 0")), 0);
    auto hw = c.db().openRecordset(QStringLiteral("SELECT [Straight Hrs] FROM [Hours Worked] WHERE EmpID = '0042'"));
    EXPECT_DOUBLE_EQ(hw.field(0).toDouble(), 8.5);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked] WHERE EmpID = '7'")), 1);
    EXPECT_FALSE(ui::waitCursorShown());
}

TEST(ClockImport, AMissingOrBadFileChangesNothing) {
    test::ImportCompany c;
    c.addEmployees({QStringLiteral("1")});
    ui::ScriptedResponder r;
    EXPECT_FALSE(ImportClockData(c.db(), c.settings, c.dataPath()));
    ASSERT_EQ(r.texts(), QStringList{QString::fromLatin1(kFailure)});
    EXPECT_EQ(r.messages[0].title, QStringLiteral("Zelto Error#: 3024"));
    EXPECT_EQ(r.messages[0].icon, ui::Icon::Critical);
    EXPECT_EQ(r.beeps, 1);

    c.writeClockTxt("1,01/10/24,08:00\r\n1,99/99/24,09:00\r\n");
    EXPECT_FALSE(ImportClockData(c.db(), c.settings, c.dataPath()));
    EXPECT_TRUE(QFile::exists(c.clockTxt()));
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 0);
}

TEST(ClockImport, AFailureHalfWayKeepsWhatWasRecordedAndARetryAddsNothingTwice) {
    test::ImportCompany c;
    QStringList ids;
    QByteArray file;
    for (int e = 0; e < 40; ++e) {
        ids << QString::number(100 + e);
        for (int day = 8; day <= 12; ++day)
            file += QStringLiteral("%1,01/%2/24,08:00\r\n%1,01/%2/24,16:00\r\n").arg(100 + e).arg(day).toLatin1();
    }
    c.addEmployees(ids);
    c.writeClockTxt(file);
    // Employee 120's Wednesday clock-out cannot be written.
    c.db().executeScript(QStringLiteral(
        "CREATE TRIGGER fail_close BEFORE UPDATE ON [Time Attendance] "
        "WHEN NEW.EmpID = '120' AND NEW.TDate = '2024-01-10' AND NEW.ClockOut IS NOT NULL "
        "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END"));
    {
        ui::ScriptedResponder r;
        EXPECT_FALSE(ImportClockData(c.db(), c.settings, c.dataPath()));
        EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kFailure)});
    }
    EXPECT_FALSE(c.db().inTransaction());
    EXPECT_TRUE(QFile::exists(c.clockTxt()));
    // Everything up to the failing punch stays: employees 100..119 completely,
    // 120 up to its open Wednesday shift.
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE ClockOut IS NOT NULL")), 20 * 5 + 2);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE ClockOut IS NULL")), 1);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked]")), 0); // the engine did not run

    c.db().executeScript(QStringLiteral("DROP TRIGGER fail_close"));
    ui::ScriptedResponder r;
    EXPECT_TRUE(ImportClockData(c.db(), c.settings, c.dataPath()));
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 40 * 5);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE ClockOut IS NULL")), 0);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE TotalHrs <> 8")), 0);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked]")), 40 * 5);
}

TEST(ClockImport, TheMenuCommandConvertsAndImports) {
    test::ImportCompany c;
    c.addEmployees({QStringLiteral("1042")});
    QFile dl(c.dataPath() + QStringLiteral("download.log"));
    ASSERT_TRUE(dl.open(QIODevice::WriteOnly));
    dl.write("1042,01/17/05 07:58:30\r\n1042,01/17/05 16:03:10\r\n");
    dl.close();

    std::swap(CompanyDb, c.handle());
    AppPath = c.dir();
    DataPath = c.dataPath();
    Company = c.settings;
    clearMenuHandlers();
    registerAttendanceScreens();
    ui::ScriptedResponder r;
    r.files.push_back(dl.fileName());
    EXPECT_TRUE(runMenuHandler(QStringLiteral("mnuUtilitiesImportAtt")));
    std::swap(CompanyDb, c.handle());
    CompanyDb.reset();

    EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kSuccess)});
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE TDate = '2005-01-17' AND "
                                     "ClockOut = '16:03'")),
              1);

    // Cancelled conversion and no Clock.txt: the import still runs, and fails.
    std::swap(CompanyDb, c.handle());
    ui::ScriptedResponder again;
    runMenuHandler(QStringLiteral("mnuUtilitiesImportAtt"));
    std::swap(CompanyDb, c.handle());
    CompanyDb.reset();
    EXPECT_EQ(again.fileRequests.size(), 1u);
    EXPECT_EQ(again.texts(), QStringList{QString::fromLatin1(kFailure)});
    clearMenuHandlers();
}

TEST(ClockImport, ALargeFileShowsProgressAndKeepsTheWindowPainting) {
    test::ImportCompany c;
    QStringList ids;
    QByteArray file;
    for (int e = 0; e < 200; ++e) {
        ids << QString::number(300 + e);
        for (int day = 1; day <= 31; ++day)
            file += QStringLiteral("%1,01/%2/24,07:00\r\n%1,01/%2/24,15:00\r\n")
                        .arg(300 + e)
                        .arg(day, 2, 10, QLatin1Char('0'))
                        .toLatin1();
    }
    c.addEmployees(ids);
    c.writeClockTxt(file);

    std::swap(CompanyDb, c.handle());
    AppPath = c.dir();
    DataPath = c.dataPath();
    Company = c.settings;
    // Timers stand for the window's painting: they must keep running.
    int ticks = 0;
    bool sawProgress = false, sawWaitCursor = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        sawWaitCursor = sawWaitCursor || ui::waitCursorShown();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(w) && w->isVisible())
                sawProgress = true;
    });
    timer.start(0);
    ui::ScriptedResponder r; // cancels the file dialog: Clock.txt is imported as it is
    ImportAttendanceData();
    timer.stop();
    std::swap(CompanyDb, c.handle());
    CompanyDb.reset();

    EXPECT_EQ(r.texts(), QStringList{QString::fromLatin1(kSuccess)});
    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(sawProgress);
    EXPECT_TRUE(sawWaitCursor);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked]")), 200 * 31);
}
