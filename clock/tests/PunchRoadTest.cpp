// The punch road at the clock window: typed IDs, the schedule test, the
// recorded rows and the texts shown, on a real company file at set moments.
#include "ClockFixture.h"

#include <QFile>
#include <QListWidget>

using namespace plax;
using namespace plax::test;

namespace {
constexpr int Sunday = 1, Monday = 2, Saturday = 7;
const QString kCrLf = QStringLiteral("\r\n");

struct Row {
    QString empId, tdate, clockIn, dateOut, clockOut;
    int hrs = 0, min = 0, week = 0;
    bool recalc = false;
};
} // namespace

class PunchRoad : public ClockTest {
protected:
    std::vector<Row> rows() {
        std::vector<Row> out;
        auto rs = db().openRecordset(QStringLiteral("SELECT * FROM [Time Attendance] ORDER BY TDate, ClockIn"));
        for (; !rs.eof(); rs.moveNext())
            out.push_back({rs["EmpID"].toString(), rs["TDate"].toString(), rs["ClockIn"].toString(),
                           rs["DateOut"].toString(), rs["ClockOut"].toString(), int(rs["TotalHrs"].toInt()),
                           int(rs["TotalMin"].toInt()), int(rs["Week"].toInt()), rs["Recalculate"].toBool()});
        return out;
    }
};

TEST_F(PunchRoad, UnknownAndInactiveIdsAreRefused) {
    employee("1001", "Anna", QStringLiteral("000"), std::nullopt, false);
    openWindow();
    for (const char* id : {"999", "1001", ""}) {
        const int beeps = boxes.beeps;
        punch(QLatin1String(id));
        EXPECT_EQ(window->lastMessage(), "*****  Invalid ID!  *****") << id;
        EXPECT_EQ(boxes.beeps, beeps + 1);
        EXPECT_EQ(window->txtID()->text(), "");
    }
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(window->lstLog()->count(), 0);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(PunchRoad, ClockInAndOutWithMessageLogAndRoundedTotal) {
    setting("Company Settings", "RoundTotal", "15");
    message("001", "Staff meeting at 3.");
    employee("A7", "Anna", QStringLiteral("000"), QStringLiteral("001"));
    openWindow();

    setNow(2024, 1, 8, 9, 0, 42); // seconds never reach the database
    punch("A7");
    EXPECT_EQ(window->lastMessage(), "Thanks Anna.  Clocked In Sucessfully." + kCrLf + "Staff meeting at 3.");
    setNow(2024, 1, 8, 17, 7, 59);
    punch("A7");
    EXPECT_EQ(window->lastMessage(), "Thanks Anna.  Clocked Out Sucessfully." + kCrLf + "Staff meeting at 3.");

    ASSERT_EQ(window->lstLog()->count(), 2);
    EXPECT_EQ(window->lstLog()->item(0)->text(), "A7, Anna, 01/08/24, 09:00 - Clocked In");
    EXPECT_EQ(window->lstLog()->item(1)->text(), "A7, Anna, 01/08/24, 17:07 - Clocked Out");
    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].clockIn, "09:00");
    EXPECT_EQ(r[0].dateOut, "2024-01-08");
    EXPECT_EQ(r[0].clockOut, "17:07");
    EXPECT_EQ(r[0].hrs, 8); // 487 minutes round to 480
    EXPECT_EQ(r[0].min, 0);
    EXPECT_TRUE(r[0].recalc);
    EXPECT_EQ(boxes.beeps, 0);
}

TEST_F(PunchRoad, TwoEntersInOneMinuteRecordOnePunch) {
    employee("B2", "Ben", QStringLiteral("000"));
    openWindow();
    punch("B2");
    punch("B2");
    EXPECT_EQ(window->lastMessage(), "Clock In/Out record exists!" + kCrLf);
    setNow(2024, 1, 8, 12, 0);
    punch("B2");
    punch("B2"); // the clock-out minute as well
    EXPECT_EQ(window->lastMessage(), "Clock In/Out record exists!" + kCrLf);
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(window->lstLog()->count(), 2);
}

TEST_F(PunchRoad, IdInOtherCaseIsFoundAndRecordedAsTyped) {
    employee("ab12", "Cleo", QStringLiteral("000"), QStringLiteral("042")); // no such message row
    openWindow();
    punch("AB12");
    EXPECT_EQ(window->lastMessage(), "Thanks Cleo.  Clocked In Sucessfully." + kCrLf);
    EXPECT_EQ(window->currentEmployee().EmpID, "AB12");
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].empId, "AB12");
}

TEST_F(PunchRoad, ScheduleDecidesWhoMayPunch) {
    setting("Company Settings", "GraceP", "10");
    message("001", "See HR.");
    employee("N0", "Nora", QStringLiteral("000"));
    employee("NS", "Ned", std::nullopt, QStringLiteral("001")); // no schedule number at all
    employee("D1", "Dora", QStringLiteral("001"), QStringLiteral("001"));
    employee("S7", "Sam", QStringLiteral("007"));
    scheduleDay("001", Monday, "08:00", "17:00");
    scheduleDay("007", Saturday, "22:00", "06:00");
    openWindow();

    setNow(2024, 1, 7, 3, 0); // Sunday night
    punch("N0");               // "000" is never tested
    EXPECT_EQ(window->lastMessage(), "Thanks Nora.  Clocked In Sucessfully." + kCrLf);

    setNow(2024, 1, 8, 12, 0);
    const int beeps = boxes.beeps;
    punch("NS");
    EXPECT_EQ(window->lastMessage(), "********** NOT SCHEDULED! **********" + kCrLf + "See HR.");
    EXPECT_EQ(boxes.beeps, beeps + 1);

    setNow(2024, 1, 8, 7, 49);
    punch("D1");
    EXPECT_EQ(window->lastMessage(), "********** NOT SCHEDULED! **********" + kCrLf + "See HR.");
    setNow(2024, 1, 8, 7, 50);
    punch("D1");
    EXPECT_EQ(window->lastMessage(), "Thanks Dora.  Clocked In Sucessfully." + kCrLf + "See HR.");

    // Saturday's overnight shift, seen from Sunday morning.
    setNow(2024, 1, 7, 6, 10);
    punch("S7");
    EXPECT_EQ(window->lastMessage(), "Thanks Sam.  Clocked In Sucessfully." + kCrLf);
    setNow(2024, 1, 7, 6, 11);
    punch("S7");
    EXPECT_EQ(window->lastMessage(), "********** NOT SCHEDULED! **********" + kCrLf);
    EXPECT_EQ(rowCount(), 3);
    (void)Sunday;
}

TEST_F(PunchRoad, NightShiftIsNotClosedAcrossMidnightWithDayStartAtMidnight) {
    employee("E1", "Eve", QStringLiteral("000"));
    openWindow();
    setNow(2024, 1, 8, 22, 0);
    punch("E1");
    setNow(2024, 1, 9, 6, 0);
    punch("E1");
    EXPECT_EQ(window->lastMessage(), "Thanks Eve.  Clocked In Sucessfully." + kCrLf);
    EXPECT_EQ(rowCount("ClockOut IS NULL"), 2);
}

TEST_F(PunchRoad, DayStartFiveClosesMondayNightOnTuesdayMorning) {
    setting("Company Settings", "WorkDay", "2");
    setting("Company Settings", "DayStartTime", "05:00");
    setting("Company Settings", "RoundTotal", "0");
    employee("F1", "Finn", QStringLiteral("000"));
    openWindow();
    setNow(2024, 1, 8, 22, 0);
    punch("F1");
    setNow(2024, 1, 9, 3, 0);
    punch("F1");
    EXPECT_EQ(window->lastMessage(), "Thanks Finn.  Clocked Out Sucessfully." + kCrLf);
    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].tdate, "2024-01-08");
    EXPECT_EQ(r[0].dateOut, "2024-01-09");
    EXPECT_EQ(r[0].clockOut, "03:00");
    EXPECT_EQ(r[0].hrs * 60 + r[0].min, 300);
}

TEST_F(PunchRoad, ANightShiftIsClosedAcrossTheFirstDayOfAWeek) {
    setting("Company Settings", "RoundTotal", "0");
    employee("F1", "Finn", QStringLiteral("000"));
    // Day start 05:00: Monday 28 December 2026 starts week 1 of 2027, and its
    // 03:00 belongs to Sunday's work day in week 52. Day start 00:30: Monday
    // 14 December 00:15 belongs to Sunday the 13th's work day and week.
    const struct {
        const char* dayStart;
        int day, outHour, outMinute, week, minutes;
    } nights[] = {{"05:00", 27, 3, 0, 52, 300}, {"00:30", 13, 0, 15, 50, 135}};
    for (const auto& n : nights) {
        setting("Company Settings", "DayStartTime", QString::fromLatin1(n.dayStart));
        openWindow();
        setNow(2026, 12, n.day, 22, 0);
        punch("F1");
        setNow(2026, 12, n.day + 1, n.outHour, n.outMinute);
        punch("F1");
        EXPECT_EQ(window->lastMessage(), "Thanks Finn.  Clocked Out Sucessfully." + kCrLf) << n.dayStart;
        const auto r = rows();
        ASSERT_EQ(r.size(), 1u) << n.dayStart;
        EXPECT_EQ(r[0].week, n.week);
        EXPECT_EQ(r[0].hrs * 60 + r[0].min, n.minutes);
        db().execute(QStringLiteral("DELETE FROM [Time Attendance]"));
    }
}

TEST_F(PunchRoad, AForgottenEarlierPunchTurnsTheRow) {
    employee("G1", "Gus", QStringLiteral("000"));
    openWindow();
    punch("G1"); // 09:00
    setNow(2024, 1, 8, 8, 30);
    punch("G1");
    EXPECT_EQ(window->lastMessage(), "Thanks Gus.  Clocked In Sucessfully." + kCrLf);
    EXPECT_EQ(window->lstLog()->item(1)->text(), "G1, Gus, 01/08/24, 08:30 - Clocked In");
    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].clockIn, "08:30");
    EXPECT_EQ(r[0].clockOut, "09:00");
    EXPECT_EQ(r[0].hrs * 60 + r[0].min, 30);
}

TEST_F(PunchRoad, AFailedRecordShowsTheErrorBoxAndKeepsTheId) {
    employee("H1", "Hal", QStringLiteral("000"));
    openWindow();
    db().execute("ALTER TABLE [Time Attendance] RENAME TO Hidden");
    punch("H1");
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, "An error occurred.  Please try again!");
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 0");
    EXPECT_EQ(window->txtID()->text(), "H1");
    EXPECT_EQ(window->lstLog()->count(), 0);

    db().execute("ALTER TABLE Hidden RENAME TO [Time Attendance]");
    QTest::keyClick(window->txtID(), Qt::Key_Return); // the same ID again
    EXPECT_EQ(window->lastMessage(), "Thanks Hal.  Clocked In Sucessfully." + kCrLf);
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(PunchRoad, ABusyDatabaseIsWaitedFor) {
    employee("J1", "Jo", QStringLiteral("000"));
    openWindow();
    // The office program holds a write for a moment.
    OtherWriter office(company->path());
    office.releaseIn(std::chrono::milliseconds(400));
    punch("J1");
    office.join();
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(window->lastMessage(), "Thanks Jo.  Clocked In Sucessfully." + kCrLf);
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(PunchRoad, ADatabaseBusyBeyondTheTimeoutGivesTheErrorBoxAndNoHalfPunch) {
    employee("K1", "Kai", QStringLiteral("000"));
    openWindow();
    punch("K1"); // an open shift to close
    setNow(2024, 1, 8, 17, 0);
    OtherWriter office(company->path());
    punch("K1");
    office.release();
    office.join();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, "An error occurred.  Please try again!");
    EXPECT_EQ(rowCount("ClockOut IS NULL"), 1);

    QTest::keyClick(window->txtID(), Qt::Key_Return);
    EXPECT_EQ(window->lastMessage(), "Thanks Kai.  Clocked Out Sucessfully." + kCrLf);
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(rowCount("ClockOut = '17:00'"), 1);
}

TEST_F(PunchRoad, ADatabaseThatDisappearsGivesTheErrorBoxUntilItIsBack) {
    employee("L1", "Lea", QStringLiteral("000"));
    openWindow();
    const QString path = company->path();
    const QString away = path + ".away";
    ASSERT_TRUE(QFile::rename(path, away));
    punch("L1");
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_TRUE(boxes.messages[0].title.endsWith("3024")) << boxes.messages[0].title.toStdString();
    EXPECT_EQ(window->txtID()->text(), "L1");

    ASSERT_TRUE(QFile::rename(away, path));
    QTest::keyClick(window->txtID(), Qt::Key_Return);
    EXPECT_EQ(window->lastMessage(), "Thanks Lea.  Clocked In Sucessfully." + kCrLf);
    auto fresh = db::Database::open(path);
    EXPECT_EQ(fresh->openRecordset("SELECT count(*) FROM [Time Attendance]").field(0).toInt(), 1);
}

TEST_F(PunchRoad, AFileReplacedInItsPlaceIsOpenedAfresh) {
    employee("M1", "Mo", QStringLiteral("000"));
    openWindow();
    punch("M1");
    const QString path = company->path();
    const QString copy = path + ".restored";
    db().executeScript("PRAGMA wal_checkpoint(TRUNCATE);");
    ASSERT_TRUE(QFile::copy(path, copy));
    {
        auto restored = db::Database::open(copy);
        restored->execute("INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('Restored', 'x', 'y')");
    }
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::rename(copy, path));

    setNow(2024, 1, 8, 12, 0);
    punch("M1");
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(window->lastMessage(), "Thanks Mo.  Clocked Out Sucessfully." + kCrLf);
    auto fresh = db::Database::open(path);
    EXPECT_EQ(fresh->openRecordset("SELECT count(*) FROM Registry WHERE RegKey = 'Restored'").field(0).toInt(), 1);
    EXPECT_EQ(fresh->openRecordset("SELECT count(*) FROM [Time Attendance] WHERE ClockOut = '12:00'").field(0).toInt(),
              1);
}
