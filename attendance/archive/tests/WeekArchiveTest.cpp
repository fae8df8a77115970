#include "ArchiveTestSupport.h"
#include "attendance/AttendanceScreens.h"
#include "attendance/WeekList.h"
#include "attendance/archive/WeekArchive.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::archive;
using db::Value;

namespace {

const CalDate kMon = CalDate::ymd(2024, 1, 8); // starts week 2 (WorkDay Monday)

QString entryOf(CalDate a, CalDate b) { return a.toShortDate() + QStringLiteral(" --> ") + b.toShortDate(); }

// Every row of a table in a fixed order, as text.
QStringList dump(db::Database& d, const QString& table, const QString& order) {
    db::Recordset rs = d.openRecordset(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table, order));
    QStringList out;
    for (; !rs.eof(); rs.moveNext()) {
        QStringList f;
        for (int i = 0; i < rs.fieldCount(); ++i)
            f << (rs.field(i).isNull() ? QStringLiteral("<null>") : rs.field(i).toString());
        out << f.join(QLatin1Char('|'));
    }
    return out;
}

class WeekArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        c.settings.setDayStart(*TimeOfDay::fromHm(6, 0));
        c.shift("1", kMon, "08:00", 2, kMon, "16:30", 8, 30);
        c.shift("1", kMon.addDays(1), "22:00", 2, kMon.addDays(2), "06:10", 8, 10, true);
        c.shift("2", kMon.addDays(2), "09:00", 2); // open
        // Dated on the next Monday before the day start: still week 2.
        c.shift("2", kMon.addDays(7), "03:00", 2, kMon.addDays(7), "05:00", 2, 0);
        // Dated in the week but carrying the week before: stays.
        c.shift("3", kMon, "03:00", 1, kMon, "05:00", 2, 0);
        c.shift("1", kMon.addDays(8), "08:00", 3, kMon.addDays(8), "12:00", 4, 0); // next week
        c.hoursWorked("1", kMon, 2, 8.5);
        c.hoursWorked("3", kMon, 1, 2);
        c.absence("1", kMon.addDays(3), 2, QStringLiteral("Doctor's visit"), 8);
        c.absence("2", kMon.addDays(4), 0, QStringLiteral("Sick"), 4.5); // any week number
        c.absence("2", kMon.addDays(9), 3, QStringLiteral("Sick"), 8);   // outside the dates
        week = *weekOfEntry(entryOf(kMon, kMon.addDays(7)), c.settings);
        path = archivePath(c.dir(), kMon);
        QDir().mkpath(archiveFolder(c.dir()));
    }

    test::ArchiveCompany c;
    ArchiveWeek week;
    QString path;
};

TEST_F(WeekArchiveTest, EntryNameAndWeek) {
    EXPECT_EQ(week.first, kMon);
    EXPECT_EQ(week.last, kMon.addDays(7));
    EXPECT_EQ(week.week, 2);
    EXPECT_EQ(archiveFileName(kMon), QStringLiteral("01082024.mdb"));
    EXPECT_EQ(path, c.dir() + QStringLiteral("Archive/01082024.mdb"));
    EXPECT_FALSE(weekOfEntry(QStringLiteral("01/08/2024"), c.settings));
    EXPECT_FALSE(weekOfEntry(QStringLiteral("xx --> 01/08/2024"), c.settings));
}

TEST_F(WeekArchiveTest, MovesTheWeekAndRecordsTheSettings) {
    // The next Monday ends the entry (the day starts at 06:00), but its
    // absences are of the next week.
    c.absence("3", kMon.addDays(7), 3, QStringLiteral("Personal"), 4);
    const ArchiveCounts n = archiveWeek(c.db(), c.settings, path, week);
    EXPECT_EQ(n.attendance, 4);
    EXPECT_EQ(n.absences, 2);
    EXPECT_EQ(n.hoursWorked, 1);

    auto arc = db::Database::open(path);
    EXPECT_EQ(arc->columns(QStringLiteral("Time Attendance")),
              (QStringList{"EmpID", "TDate", "Week", "ClockIn", "DateOut", "ClockOut", "TotalHrs", "TotalMin",
                           "Recalculate"}));
    EXPECT_EQ(dump(*arc, QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")),
              (QStringList{"1|2024-01-08|2|08:00|2024-01-08|16:30|8|30|0",
                           "1|2024-01-09|2|22:00|2024-01-10|06:10|8|10|1",
                           "2|2024-01-10|2|09:00|<null>|<null>|0|0|0", "2|2024-01-15|2|03:00|2024-01-15|05:00|2|0|0"}));
    EXPECT_EQ(dump(*arc, QStringLiteral("Absence"), QStringLiteral("EmpID")),
              (QStringList{"1|2024-01-11|2|Doctor's visit|8", "2|2024-01-12|0|Sick|4.5"}));
    EXPECT_EQ(dump(*arc, QStringLiteral("Info"), QStringLiteral("rowid")), (QStringList{"2|06:00|0"}));
    arc.reset();
    EXPECT_EQ(QDir(archiveFolder(c.dir())).entryList(QDir::Files), (QStringList{"01082024.mdb"}));

    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID")),
              (QStringList{"1|2024-01-16|3|08:00|2024-01-16|12:00|4|0|0",
                           "3|2024-01-08|1|03:00|2024-01-08|05:00|2|0|0"}));
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked] WHERE EmpID = '3'")), 1);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Hours Worked]")), 1);
    EXPECT_EQ(dump(c.db(), QStringLiteral("Absence"), QStringLiteral("EmpID")),
              (QStringList{"2|2024-01-17|3|Sick|8", "3|2024-01-15|3|Personal|4"}));
}

TEST_F(WeekArchiveTest, AFailureLeavesBothSidesAsTheyWere) {
    // An earlier archive of the week, a late shift, and a delete that fails
    // half way through archiving the week again.
    archiveWeek(c.db(), c.settings, path, week);
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray earlier = old.readAll();
    old.close();
    c.shift("9", kMon.addDays(1), "07:00", 2, kMon.addDays(1), "15:00", 8, 0);
    c.db().executeScript(QStringLiteral(
        "CREATE TRIGGER stop BEFORE DELETE ON Absence BEGIN SELECT RAISE(ABORT, 'disk full'); END;"));
    const QStringList before = dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate"));
    EXPECT_THROW(archiveWeek(c.db(), c.settings, path, week), db::DbError);
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")), before);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM Absence")), 1);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), earlier);
    old.close();
    EXPECT_EQ(QDir(archiveFolder(c.dir())).entryList(QDir::Files), (QStringList{"01082024.mdb"}));

    // An earlier file that cannot be read is kept, and so is the week.
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("earlier archive");
    old.close();
    EXPECT_THROW(archiveWeek(c.db(), c.settings, path, week), db::DbError);
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")), before);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("earlier archive"));

    // A folder that cannot hold the file changes nothing either.
    EXPECT_THROW(archiveWeek(c.db(), c.settings, c.dir() + QStringLiteral("none/01082024.mdb"), week),
                 db::DbError);
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")), before);
}

TEST_F(WeekArchiveTest, ArchivingTheWeekAgainAddsItsNewRowsToTheArchive) {
    const QStringList weekRows{"1|2024-01-08|2|08:00|2024-01-08|16:30|8|30|0",
                               "1|2024-01-09|2|22:00|2024-01-10|06:10|8|10|1",
                               "2|2024-01-10|2|09:00|<null>|<null>|0|0|0",
                               "2|2024-01-15|2|03:00|2024-01-15|05:00|2|0|0"};
    archiveWeek(c.db(), c.settings, path, week);
    // A late shift of the week, an absence, and a shift the archive holds
    // already (the same punch imported again).
    c.shift("9", kMon.addDays(1), "07:00", 2, kMon.addDays(1), "15:00", 8, 0);
    c.shift("1", kMon, "08:00", 2, kMon, "16:30", 8, 30);
    c.absence("9", kMon.addDays(2), 2, QStringLiteral("Sick"), 8);
    const ArchiveCounts n = archiveWeek(c.db(), c.settings, path, week);
    EXPECT_EQ(n.attendance, 5);
    EXPECT_EQ(n.absences, 3);
    {
        auto arc = db::Database::open(path);
        EXPECT_EQ(dump(*arc, QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")),
                  weekRows + QStringList{"9|2024-01-09|2|07:00|2024-01-09|15:00|8|0|0"});
        EXPECT_EQ(dump(*arc, QStringLiteral("Absence"), QStringLiteral("EmpID")),
                  (QStringList{"1|2024-01-11|2|Doctor's visit|8", "2|2024-01-12|0|Sick|4.5", "9|2024-01-10|2|Sick|8"}));
        EXPECT_EQ(dump(*arc, QStringLiteral("Info"), QStringLiteral("rowid")), (QStringList{"2|06:00|0"}));
    }
    EXPECT_EQ(QDir(archiveFolder(c.dir())).entryList(QDir::Files), (QStringList{"01082024.mdb"}));

    // A restore brings the whole week back.
    restoreWeek(c.db(), c.settings, path, week);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE Week = 2")), 5);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM Absence")), 4);
}

TEST_F(WeekArchiveTest, RestoreUnchangedSettingsBringsRowsBackAsStored) {
    const QStringList before = dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate"));
    const QStringList absBefore = dump(c.db(), QStringLiteral("Absence"), QStringLiteral("EmpID, TDate"));
    archiveWeek(c.db(), c.settings, path, week);
    const RestoreResult r = restoreWeek(c.db(), c.settings, path, week);
    EXPECT_EQ(r.way, RestoreWay::D);
    EXPECT_EQ(r.attendance, 4);
    EXPECT_EQ(r.absences, 2);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(archiveFolder(c.dir())).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(dump(c.db(), QStringLiteral("Absence"), QStringLiteral("EmpID, TDate")), absBefore);
    // Everything as it was, except that the week is marked.
    QStringList expected = before;
    for (QString& row : expected)
        if (row.section(QLatin1Char('|'), 2, 2) == QLatin1String("2"))
            row = row.left(row.size() - 1) + QLatin1Char('1');
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")), expected);
}

TEST_F(WeekArchiveTest, RestoreFollowsChangedRoundingOrWeekSettings) {
    archiveWeek(c.db(), c.settings, path, week);
    QFile::copy(path, path + QStringLiteral(".copy"));

    CompanySettings rounded = c.settings;
    rounded.RoundTotal = 15; // 8:30 stays, 8:10 -> 8:15, 2:00 stays
    EXPECT_EQ(restoreWeek(c.db(), rounded, path, week).way, RestoreWay::C);
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")).mid(0, 4),
              (QStringList{"1|2024-01-08|2|08:00|2024-01-08|16:30|8|30|1",
                           "1|2024-01-09|2|22:00|2024-01-10|06:10|8|15|1",
                           "1|2024-01-16|3|08:00|2024-01-16|12:00|4|0|0", "2|2024-01-10|2|09:00|<null>|<null>|0|0|1"}));

    // Week from Sunday: the rows get new weeks, totals stay as archived.
    archiveWeek(c.db(), rounded, path, week);
    CompanySettings sunday = rounded;
    sunday.WorkDay = 1;
    EXPECT_EQ(restoreWeek(c.db(), sunday, path, week).way, RestoreWay::B);
    // 2024-01-15 03:00 is a Monday: no longer the first day of a week.
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")),
              (QStringList{"1|2024-01-08|2|08:00|2024-01-08|16:30|8|30|1",
                           "1|2024-01-09|2|22:00|2024-01-10|06:10|8|15|1",
                           "1|2024-01-16|3|08:00|2024-01-16|12:00|4|0|0", "2|2024-01-10|2|09:00|<null>|<null>|0|0|1",
                           "2|2024-01-15|3|03:00|2024-01-15|05:00|2|0|1", "3|2024-01-08|1|03:00|2024-01-08|05:00|2|0|0"}));
    EXPECT_EQ(dump(c.db(), QStringLiteral("Absence"), QStringLiteral("EmpID, TDate")),
              (QStringList{"1|2024-01-11|2|Doctor's visit|8", "2|2024-01-12|2|Sick|4.5", "2|2024-01-17|3|Sick|8"}));
}

TEST_F(WeekArchiveTest, RestoreWithoutInfoRecomputesAndKeepsAbsences) {
    archiveWeek(c.db(), c.settings, path, week);
    {
        auto arc = db::Database::open(path);
        arc->execute(QStringLiteral("DROP TABLE Info"));
    }
    CompanySettings five = c.settings;
    five.RoundTotal = 5;
    const RestoreResult r = restoreWeek(c.db(), five, path, week);
    EXPECT_TRUE(r.noInfo);
    EXPECT_EQ(r.way, RestoreWay::A);
    EXPECT_EQ(r.absences, 2); // not thrown away with the file
    EXPECT_EQ(c.count(QStringLiteral("SELECT TotalMin FROM [Time Attendance] WHERE EmpID = '1' AND ClockIn = '22:00'")),
              10);
    EXPECT_EQ(c.count(QStringLiteral("SELECT Week FROM Absence WHERE EmpID = '2' AND TDate = '2024-01-12'")), 2);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(WeekArchiveTest, RestoreSkipsClashesAndFailsWithoutChange) {
    archiveWeek(c.db(), c.settings, path, week);
    // A live row with the key of an archived one wins.
    c.shift("1", kMon, "08:00", 2, kMon, "09:00", 1, 0);
    const RestoreResult r = restoreWeek(c.db(), c.settings, path, week);
    EXPECT_EQ(r.attendance, 3);
    EXPECT_EQ(c.count(QStringLiteral("SELECT TotalHrs FROM [Time Attendance] WHERE EmpID = '1' AND TDate = ?"),
                      {kMon}),
              1);

    // An archive with Info but without Absence fails and changes nothing.
    archiveWeek(c.db(), c.settings, path, week);
    {
        auto arc = db::Database::open(path);
        arc->execute(QStringLiteral("DROP TABLE Absence"));
    }
    const QStringList before = dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate"));
    try {
        restoreWeek(c.db(), c.settings, path, week);
        FAIL() << "restored";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::NoSuchTable);
    }
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")), before);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_THROW(restoreWeek(c.db(), c.settings, path + QStringLiteral("x"), week), db::DbError);
}

// A clock hands over every punch since it was last cleared: importing its
// download again after the week was archived records none of the punches
// the archive holds (whatever the letter case of the ID), only the new
// ones; the archive stays as it was.
TEST(ArchivedWeek, ImportingItsPunchesAgainAddsNothing) {
    test::ArchiveCompany c;
    c.settings.setDayStart(*TimeOfDay::fromHm(5, 0));
    c.db().execute(QStringLiteral("INSERT INTO Employee (ID) VALUES ('1006'), ('J1')"));
    QDir().mkpath(c.dir() + "Data");
    const QString download = c.dir() + "Data/download.txt";
    const auto importFile = [&c, &download](const QByteArray& lines) {
        QFile f(download);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(lines);
        f.close();
        ui::ScriptedResponder r;
        r.files.push_back(download);
        std::swap(CompanyDb, c.handle());
        AppPath = c.dir();
        DataPath = c.dir() + "Data/";
        Company = c.settings;
        registerAttendanceScreens();
        runMenuHandler(QStringLiteral("mnuUtilitiesImportAtt"));
        clearMenuHandlers();
        std::swap(CompanyDb, c.handle());
        CompanyDb.reset();
        return r.texts();
    };
    const QByteArray week52 = "12/21/26 08:00    1006\r\n12/21/26 16:00    1006\r\n"
                              "12/23/26 22:00    J1\r\n12/24/26 04:30    J1\r\n" // ends in the work day begun the 23rd
                              "12/27/26 09:00    J1\r\n";                        // open
    const QByteArray week1 = "12/28/26 08:00    1006\r\n12/28/26 12:00    1006\r\n";
    ASSERT_EQ(importFile(week52 + week1), QStringList{"Clock data was imported successfully!"});
    const QStringList before = dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate"));
    ASSERT_EQ(before.size(), 4);

    const ArchiveWeek w =
        *weekOfEntry(entryOf(CalDate::ymd(2026, 12, 21), CalDate::ymd(2026, 12, 28)), c.settings);
    QDir().mkpath(archiveFolder(c.dir()));
    const QString path = archivePath(c.dir(), w.first);
    archiveWeek(c.db(), c.settings, path, w);
    const QStringList archived = dump(*db::Database::open(path), "[Time Attendance]", "EmpID, TDate");
    ASSERT_EQ(archived.size(), 3);

    QByteArray again = week52 + week1 + "12/22/26 07:00    1006\r\n12/22/26 15:00    1006\r\n";
    again.replace("J1", "j1");
    EXPECT_EQ(importFile(again), QStringList{"Clock data was imported successfully!"});
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("EmpID, TDate")),
              (QStringList{"1006|2026-12-22|52|07:00|2026-12-22|15:00|8|0|0", before[1]}));
    EXPECT_EQ(dump(*db::Database::open(path), "[Time Attendance]", "EmpID, TDate"), archived);
}

// An archive of the older layout (no version) numbered a punch before a
// day start between 00:01 and 00:59 by its calendar date: it comes back
// with the week of its work date, as the company file's upgrade gives it,
// whether its weeks are kept as stored (way D) or only its totals change
// (way C).
TEST(ArchiveOfTheOlderLayout, RestoresTheWeeksTheUpgradeGives) {
    for (const int rounding : {0, 15}) {
        SCOPED_TRACE(rounding);
        test::ArchiveCompany c;
        c.settings.setDayStart(*TimeOfDay::fromHm(0, 30));
        c.settings.RoundTotal = rounding;
        const CalDate mon = CalDate::ymd(2027, 1, 4); // starts week 2; its 00:05 is Sunday's, week 1
        c.shift("1007", mon.addDays(-2), "08:00", 1, mon.addDays(-2), "16:00", 8, 0); // the week it joins
        const QString path = archivePath(c.dir(), mon);
        QDir().mkpath(archiveFolder(c.dir()));
        {
            auto arc = db::Database::create(path);
            arc->executeScript(archiveSchema());
            arc->execute(QStringLiteral("INSERT INTO Info VALUES (2, '00:30', 0)"));
            arc->execute(QStringLiteral("INSERT INTO [Time Attendance] VALUES "
                                        "('1007', '2027-01-04', 2, '00:05', '2027-01-04', '00:25', 0, 20, 0), "
                                        "('1007', '2027-01-05', 2, '08:00', '2027-01-05', '16:00', 8, 0, 0)"));
        }
        const RestoreResult r =
            restoreWeek(c.db(), c.settings, path, *weekOfEntry(entryOf(mon, mon.addDays(7)), c.settings));
        EXPECT_EQ(r.way, rounding ? RestoreWay::C : RestoreWay::D);
        EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("TDate")),
                  (QStringList{"1007|2027-01-02|1|08:00|2027-01-02|16:00|8|0|0",
                               QStringLiteral("1007|2027-01-04|1|00:05|2027-01-04|00:25|0|%1|1").arg(rounding ? 15 : 20),
                               "1007|2027-01-05|2|08:00|2027-01-05|16:00|8|0|1"}));
    }
}

// The week around New Year is archived whole: its days of both years, and
// the Monday shift before the day start that belongs to the week before.
TEST(ArchiveNewYear, EveryEntryOfTheListTakesItsWholeWeek) {
    test::ArchiveCompany c;
    c.settings.setDayStart(*TimeOfDay::fromHm(6, 0));
    const auto d = [](int y, int m, int day) { return CalDate::ymd(y, m, day); };
    c.shift("1", d(2026, 1, 2), "08:00", 1);   // week 1 of 2026
    c.shift("1", d(2026, 12, 21), "08:00", 52);
    c.shift("1", d(2026, 12, 28), "03:00", 52); // Sunday's work day
    c.shift("1", d(2026, 12, 28), "08:00", 1);  // week 1 of 2027
    c.shift("1", d(2027, 1, 1), "08:00", 1);
    c.shift("1", d(2027, 1, 4), "03:00", 1);
    c.shift("1", d(2027, 1, 4), "08:00", 2);
    const QStringList entries = weekListEntries(c.db(), c.settings);
    ASSERT_EQ(entries, (QStringList{entryOf(d(2025, 12, 29), d(2026, 1, 5)), entryOf(d(2026, 12, 21), d(2026, 12, 28)),
                                    entryOf(d(2026, 12, 28), d(2027, 1, 4)), entryOf(d(2027, 1, 4), d(2027, 1, 11))}));
    QDir().mkpath(archiveFolder(c.dir()));
    for (const int i : {1, 2}) {
        const ArchiveWeek w = *weekOfEntry(entries[i], c.settings);
        archiveWeek(c.db(), c.settings, archivePath(c.dir(), w.first), w);
    }
    EXPECT_EQ(dump(c.db(), QStringLiteral("[Time Attendance]"), QStringLiteral("TDate")),
              (QStringList{"1|2026-01-02|1|08:00|<null>|<null>|0|0|0", "1|2027-01-04|2|08:00|<null>|<null>|0|0|0"}));
    auto year = db::Database::open(archivePath(c.dir(), d(2026, 12, 28)));
    EXPECT_EQ(dump(*year, QStringLiteral("[Time Attendance]"), QStringLiteral("TDate, ClockIn")).size(), 3);
}

TEST(ArchiveList, EntriesFromFileNames) {
    test::ArchiveCompany c;
    const QString folder = archiveFolder(c.dir());
    EXPECT_TRUE(archiveEntries(c.dir(), c.settings).isEmpty()); // no folder yet
    QDir().mkpath(folder);
    for (const char* name : {"01082024.mdb", "12302024.mdb", "abcdefgh.mdb", "0108202.mdb", "13012024.mdb"}) {
        QFile f(folder + QLatin1Char('/') + QString::fromLatin1(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const CalDate a = CalDate::ymd(2024, 1, 8), b = CalDate::ymd(2024, 12, 30), m13 = CalDate::ymd(2025, 1, 1);
    EXPECT_EQ(archiveEntries(c.dir(), c.settings),
              (QStringList{entryOf(a, a.addDays(6)), entryOf(b, b.addDays(6)), entryOf(m13, m13.addDays(6))}));
    c.settings.setDayStart(*TimeOfDay::fromHm(0, 1));
    EXPECT_EQ(archiveEntries(c.dir(), c.settings).first(), entryOf(a, a.addDays(7)));
}

} // namespace
