#include "core/pairing/PunchPairing.h"
#include "core/types/WorkWeek.h"
#include "testing/TempCompany.h"

#include <gtest/gtest.h>

using namespace plax;
using namespace plax::pairing;

namespace {

TimeOfDay hm(int h, int m) { return *TimeOfDay::fromHm(h, m); }
CalDate ymd(int y, int m, int d) { return CalDate::ymd(y, m, d); }

struct Shift {
    QString tdate, clockIn, dateOut, clockOut;
    int week = 0, hrs = 0, min = 0;
    bool flagged = false;
};

class Pairing : public ::testing::Test {
protected:
    void SetUp() override {
        settings.WorkDay = 2;
        settings.RoundTotal = 0;
        addEmployee(QStringLiteral("E1"), true);
        addEmployee(QStringLiteral("E2"), false);
    }
    void addEmployee(const QString& id, bool active) {
        db().execute(QStringLiteral("INSERT INTO Employee (ID, Status) VALUES (?, ?)"), {id, active});
    }
    db::Database& db() { return company.db(); }
    PunchResult punch(const QString& id, CalDate d, TimeOfDay t, PairingOptions o = PairingOptions::forImport()) {
        return recordPunch(db(), settings, o, id, d, t);
    }
    void addRow(const QString& id, CalDate d, TimeOfDay in, int week, bool flagged,
                std::optional<CalDate> dateOut = {}, std::optional<TimeOfDay> out = {}) {
        db().execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, "
                                    "Recalculate) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                     {id, d, week, in, dateOut, out, flagged});
    }
    std::vector<Shift> rows(const QString& id = QStringLiteral("E1")) {
        auto rs = db().openRecordset(QStringLiteral("SELECT * FROM [Time Attendance] WHERE EmpID = ? "
                                                    "ORDER BY TDate, ClockIn"),
                                     {id});
        std::vector<Shift> out;
        for (; !rs.eof(); rs.moveNext())
            out.push_back({rs["TDate"].toString(), rs["ClockIn"].toString(), rs["DateOut"].toString(),
                           rs["ClockOut"].toString(), int(rs["Week"].toInt()), int(rs["TotalHrs"].toInt()),
                           int(rs["TotalMin"].toInt()), rs["Recalculate"].toBool()});
        return out;
    }
    void clearFlags() { db().execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 0")); }

    test::TempCompany company;
    CompanySettings settings;
};

} // namespace

TEST_F(Pairing, ClockInThenClockOutMakeOneClosedShift) {
    const CalDate wed = ymd(2024, 1, 10);
    auto in = punch(QStringLiteral("E1"), wed, hm(8, 0));
    EXPECT_EQ(in.outcome, PunchOutcome::NewShift);
    EXPECT_EQ(in.week, 2);
    settings.RoundTotal = 15;
    auto out = punch(QStringLiteral("E1"), wed, hm(16, 7));
    EXPECT_EQ(out.outcome, PunchOutcome::Closed);
    EXPECT_EQ(out.totalMinutes, 480); // 487 rounded to the quarter hour
    auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].dateOut, QStringLiteral("2024-01-10"));
    EXPECT_EQ(r[0].clockOut, QStringLiteral("16:07"));
    EXPECT_EQ(r[0].hrs, 8);
    EXPECT_EQ(r[0].min, 0);
    EXPECT_TRUE(r[0].flagged);
}

TEST_F(Pairing, DuplicatesAndPunchesEqualToAClockOutAreIgnored) {
    const CalDate d = ymd(2024, 1, 10);
    punch(QStringLiteral("E1"), d, hm(8, 0));
    EXPECT_EQ(punch(QStringLiteral("E1"), d, hm(8, 0)).outcome, PunchOutcome::Duplicate);
    punch(QStringLiteral("E1"), d, hm(12, 0));
    // Equal to the stored clock-out, in any letter case of the ID.
    EXPECT_EQ(punch(QStringLiteral("e1"), d, hm(12, 0)).outcome, PunchOutcome::Duplicate);
    EXPECT_EQ(rows().size(), 1u);
    // The terminal gets the same answer and reports it itself.
    EXPECT_EQ(punch(QStringLiteral("E1"), d, hm(8, 0), PairingOptions::forTerminal()).outcome,
              PunchOutcome::Duplicate);
}

TEST_F(Pairing, WorkDayDecidesWhichOpenShiftAPunchCloses) {
    // Day start 06:00: yesterday 22:00 and today 05:30 are one work day.
    settings.setDayStart(hm(6, 0));
    const CalDate tue = ymd(2024, 1, 9), wed = tue.addDays(1);
    punch(QStringLiteral("E1"), tue, hm(22, 0));
    auto out = punch(QStringLiteral("E1"), wed, hm(5, 30));
    EXPECT_EQ(out.outcome, PunchOutcome::Closed);
    EXPECT_EQ(out.totalMinutes, 450);
    auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].hrs * 60 + r[0].min, 450);
    EXPECT_EQ(r[0].dateOut, QStringLiteral("2024-01-10"));

    // Day start 00:00: a 06:00 punch the next morning is another work day.
    db().execute(QStringLiteral("DELETE FROM [Time Attendance]"));
    settings.setDayStart(hm(0, 0));
    punch(QStringLiteral("E1"), tue, hm(22, 0));
    EXPECT_EQ(punch(QStringLiteral("E1"), wed, hm(6, 0)).outcome, PunchOutcome::NewShift);
    r = rows();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_TRUE(r[0].clockOut.isEmpty());
    EXPECT_TRUE(r[1].clockOut.isEmpty());
}

TEST_F(Pairing, TheOlderOfTwoOpenShiftsIsClosedFirst) {
    const CalDate d = ymd(2024, 1, 10);
    addRow(QStringLiteral("E1"), d, hm(13, 0), 2, false);
    addRow(QStringLiteral("E1"), d, hm(8, 0), 2, false);
    EXPECT_EQ(punch(QStringLiteral("E1"), d, hm(17, 0)).outcome, PunchOutcome::Closed);
    auto r = rows();
    EXPECT_EQ(r[0].clockOut, QStringLiteral("17:00"));
    EXPECT_EQ(r[0].hrs, 9);
    EXPECT_TRUE(r[1].clockOut.isEmpty());
}

TEST_F(Pairing, AnEarlierPunchTurnsTheOpenShift) {
    const CalDate d = ymd(2024, 1, 10);
    punch(QStringLiteral("E1"), d, hm(9, 0));
    clearFlags();
    auto r0 = punch(QStringLiteral("E1"), d, hm(8, 0));
    EXPECT_EQ(r0.outcome, PunchOutcome::Turned);
    auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].clockIn, QStringLiteral("08:00"));
    EXPECT_EQ(r[0].clockOut, QStringLiteral("09:00"));
    EXPECT_EQ(r[0].dateOut, QStringLiteral("2024-01-10"));
    EXPECT_EQ(r[0].hrs, 1);
    EXPECT_EQ(r[0].week, 2);
    EXPECT_TRUE(r[0].flagged);
    // The same minute again changes nothing.
    punch(QStringLiteral("E1"), d.addDays(1), hm(9, 0));
    EXPECT_EQ(punch(QStringLiteral("E1"), d.addDays(1), hm(9, 0)).outcome, PunchOutcome::Duplicate);
}

TEST_F(Pairing, AnOpenRowDatedTheNextMorningBelongsToThePunchsWorkDay) {
    // Day start 06:00: a row dated Thursday 05:00 belongs to Wednesday's work
    // day, so a Wednesday 07:00 punch is earlier and turns it.
    settings.setDayStart(hm(6, 0));
    const CalDate wed = ymd(2024, 1, 10);
    addRow(QStringLiteral("E1"), wed.addDays(1), hm(5, 0), 2, false);
    auto r = punch(QStringLiteral("E1"), wed, hm(7, 0));
    EXPECT_EQ(r.outcome, PunchOutcome::Turned);
    EXPECT_EQ(rows()[0].hrs * 60 + rows()[0].min, 22 * 60);
}

TEST_F(Pairing, EmployeeChecksOfImportAndTerminal) {
    const CalDate d = ymd(2024, 1, 10);
    EXPECT_EQ(punch(QStringLiteral("NOBODY"), d, hm(8, 0)).outcome, PunchOutcome::UnknownEmployee);
    EXPECT_TRUE(rows(QStringLiteral("NOBODY")).empty());
    // The import keeps inactive employees; the terminal refuses them.
    EXPECT_EQ(punch(QStringLiteral("E2"), d, hm(8, 0)).outcome, PunchOutcome::NewShift);
    EXPECT_EQ(punch(QStringLiteral("E2"), d, hm(9, 0), PairingOptions::forTerminal()).outcome,
              PunchOutcome::UnknownEmployee);
    EXPECT_EQ(punch(QStringLiteral("NOBODY"), d, hm(9, 0), PairingOptions::forTerminal()).outcome,
              PunchOutcome::UnknownEmployee);
    EXPECT_EQ(punch(QStringLiteral("e1"), d, hm(9, 0), PairingOptions::forTerminal()).outcome,
              PunchOutcome::NewShift);
    // Written as given.
    EXPECT_EQ(db().openRecordset(QStringLiteral("SELECT EmpID FROM [Time Attendance] WHERE ClockIn = '09:00'"))
                  .field(0)
                  .toString(),
              QStringLiteral("e1"));
}

TEST_F(Pairing, ClosingAndTurningMarkTheRestOfTheWeek) {
    // Monday 8 to Sunday 14 January 2024 is week 2; week 3 starts on the 15th.
    const CalDate mon = ymd(2024, 1, 8);
    for (int i = 1; i < 7; ++i)
        addRow(QStringLiteral("E1"), mon.addDays(i), hm(8, 0), 2, false, mon.addDays(i), hm(16, 0));
    addRow(QStringLiteral("E1"), mon.addDays(7), hm(8, 0), 3, false, mon.addDays(7), hm(16, 0));
    addRow(QStringLiteral("E2"), mon.addDays(3), hm(8, 0), 2, false, mon.addDays(3), hm(16, 0));

    // A new clock-in marks nothing else.
    auto in = punch(QStringLiteral("E1"), mon.addDays(2), hm(18, 0));
    EXPECT_EQ(in.rowsFlagged, 0);
    int flagged = 0;
    for (const Shift& s : rows())
        flagged += s.flagged;
    EXPECT_EQ(flagged, 1);

    // Closing it marks Wednesday to Sunday of week 2 (5 rows + the evening shift).
    auto out = punch(QStringLiteral("E1"), mon.addDays(2), hm(20, 0));
    EXPECT_EQ(out.outcome, PunchOutcome::Closed);
    EXPECT_EQ(out.weekEnd, mon.addDays(6));
    auto r = rows();
    for (const Shift& s : r) {
        const bool inRange = s.tdate >= QStringLiteral("2024-01-10") && s.tdate <= QStringLiteral("2024-01-14");
        EXPECT_EQ(s.flagged, inRange) << s.tdate.toStdString() << " " << s.clockIn.toStdString();
    }
    EXPECT_FALSE(rows(QStringLiteral("E2"))[0].flagged);

    // Turning marks from the punch's own date.
    clearFlags();
    punch(QStringLiteral("E1"), mon.addDays(4), hm(19, 0));
    auto turned = punch(QStringLiteral("E1"), mon.addDays(4), hm(17, 0));
    EXPECT_EQ(turned.outcome, PunchOutcome::Turned);
    for (const Shift& s : rows()) {
        const bool inRange = s.tdate >= QStringLiteral("2024-01-12") && s.tdate <= QStringLiteral("2024-01-14");
        EXPECT_EQ(s.flagged, inRange) << s.tdate.toStdString() << " " << s.clockIn.toStdString();
    }
}

TEST_F(Pairing, APunchBeforeTheDayStartOnTheMondayOfWeekOneClosesSundaysShiftInItsWeek) {
    // Day start 06:00, weeks from Monday. Monday 28 December 2026 starts
    // week 1 of 2027, so a punch there at 05:30 belongs to Sunday the 27th's
    // work day and to its week, 52 of 2026.
    settings.setDayStart(hm(6, 0));
    const CalDate sun = ymd(2026, 12, 27), mon = ymd(2026, 12, 28);
    for (const PairingOptions o : {PairingOptions::forImport(), PairingOptions::forTerminal()}) {
        db().execute(QStringLiteral("DELETE FROM [Time Attendance]"));
        EXPECT_EQ(punch(QStringLiteral("E1"), sun, hm(22, 0), o).week, 52);
        const PunchResult out = punch(QStringLiteral("E1"), mon, hm(5, 30), o);
        EXPECT_EQ(out.outcome, PunchOutcome::Closed);
        EXPECT_EQ(out.week, 52);
        EXPECT_EQ(out.totalMinutes, 450);
        // A shift opened before the day start on that Monday carries week 52.
        const PunchResult early = punch(QStringLiteral("E1"), mon, hm(5, 40), o);
        EXPECT_EQ(early.outcome, PunchOutcome::NewShift);
        EXPECT_EQ(early.week, 52);
        EXPECT_EQ(rows().back().week, 52);
    }

    // Rows carrying another week number (written by an earlier version as
    // week 0, or typed in the editor) are closed all the same by a punch of
    // their work day.
    for (const PairingOptions o : {PairingOptions::forImport(), PairingOptions::forTerminal()}) {
        db().execute(QStringLiteral("DELETE FROM [Time Attendance]"));
        addRow(QStringLiteral("E1"), mon, hm(3, 0), 0, false);
        const PunchResult out = punch(QStringLiteral("E1"), mon, hm(5, 0), o);
        EXPECT_EQ(out.outcome, PunchOutcome::Closed);
        EXPECT_EQ(rows().size(), 1u);
    }
}

TEST_F(Pairing, AFailedPunchNeverLeavesAChangedShiftWithItsWeekUnmarked) {
    const CalDate d = ymd(2024, 1, 10);
    addRow(QStringLiteral("E1"), d, hm(8, 0), 2, false);
    addRow(QStringLiteral("E1"), d.addDays(1), hm(8, 0), 2, false, d.addDays(1), hm(16, 0));
    // Closing the open shift fails.
    db().executeScript(QStringLiteral(
        "CREATE TRIGGER fail_close BEFORE UPDATE ON [Time Attendance] "
        "WHEN OLD.ClockOut IS NULL AND NEW.ClockOut IS NOT NULL "
        "BEGIN SELECT RAISE(ABORT, 'injected failure'); END"));

    // Alone, the punch is undone as a whole.
    EXPECT_THROW(punch(QStringLiteral("E1"), d, hm(16, 0)), db::DbError);
    auto r = rows();
    EXPECT_TRUE(r[0].clockOut.isEmpty());
    EXPECT_FALSE(r[0].flagged);
    EXPECT_FALSE(r[1].flagged);
    EXPECT_FALSE(db().inTransaction());

    // Inside a caller's transaction the week was marked first: the shift is
    // unchanged and only flags were added.
    {
        PunchRecorder rec(db(), settings, PairingOptions::forImport());
        db::Database::Transaction tx(db());
        EXPECT_THROW(rec.record(QStringLiteral("E1"), d, hm(16, 0)), db::DbError);
        tx.commit();
    }
    r = rows();
    EXPECT_TRUE(r[0].clockOut.isEmpty());
    EXPECT_EQ(r[0].hrs, 0);
    EXPECT_TRUE(r[1].flagged);

    db().executeScript(QStringLiteral("DROP TRIGGER fail_close"));
    EXPECT_EQ(punch(QStringLiteral("E1"), d, hm(16, 0)).outcome, PunchOutcome::Closed);
}
