#include "core/schema/CompanySchema.h"
#include "testing/TempCompany.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace plax;

TEST(Schema, HasEveryPermanentTable) {
    test::TempCompany c;
    for (const char* t : {"Employee", "Department", "Schedule", "Schedule Days", "Holidays", "Absence", "Messages",
                          "Registry", "Time Attendance", "Hours Worked"})
        EXPECT_TRUE(c.db().tableExists(QString::fromLatin1(t))) << t;
    EXPECT_TRUE(c.db().columns(QStringLiteral("Employee")).contains(QStringLiteral("Hire Date")));
    EXPECT_TRUE(c.db().columns(QStringLiteral("Employee")).contains(QStringLiteral("Other ID")));
}

TEST(Schema, RulesOfTheColumns) {
    test::TempCompany c;
    auto& d = c.db();
    auto strict = [&](const QString& sql) {
        try {
            d.executeStrict(sql);
        } catch (const db::DbError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO Schedule (ScheduleNo) VALUES ('0001')")), 3163);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO Schedule (ScheduleNo) VALUES ('1a2')")), 3464);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO Schedule (ScheduleNo) VALUES ('001')")), 0);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO Department (DepartmentNo) VALUES ('A B')")), 3464);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO [Schedule Days] VALUES ('001', 8, '08:00', '16:00')")), 3464);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO [Schedule Days] VALUES ('001', 2, '08:00', '16:00')")), 0);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO [Schedule Days] VALUES ('001', 2, '09:00', '17:00')")), 3022);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO Holidays VALUES ('New Year', '2024-01-01', 1)")), 0);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO Holidays VALUES ('Again', '2024-01-01', 1)")), 3022);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO Absence VALUES ('e1', '2024-01-02', 1, 'Sick', 8)")), 0);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO Absence VALUES ('E1', '2024-01-02', 1, 'Sick', 8)")), 3022);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week) VALUES ('1', '2024-01-02', 1)")), 0);
    EXPECT_EQ(strict(QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week) VALUES ('1', '2024-01-02', 1)")),
              3022);
    // An open shift: no clock-out, zero totals, marked for the hours engine.
    d.execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) VALUES ('1', '2024-01-02', 1, '08:00')"));
    auto rs = d.openRecordset(QStringLiteral("SELECT * FROM [Time Attendance]"));
    EXPECT_TRUE(rs["ClockOut"].isNull());
    EXPECT_TRUE(rs["DateOut"].isNull());
    EXPECT_EQ(rs["TotalHrs"].toInt(), 0);
    EXPECT_EQ(rs["TotalMin"].toInt(), 0);
    EXPECT_TRUE(rs["Recalculate"].toBool());
}

TEST(Schema, DemoCompanyIsConsistent) {
    test::TempCompany c;
    c.fillDemo(CalDate::ymd(2024, 6, 12));
    auto& d = c.db();
    EXPECT_EQ(d.openRecordset(QStringLiteral("SELECT count(*) FROM Employee")).field(0).toInt(), 12);
    EXPECT_EQ(d.openRecordset(QStringLiteral("SELECT count(*) FROM Employee WHERE Status = 0")).field(0).toInt(), 2);
    // Every punch row is closed and belongs to a known employee.
    EXPECT_EQ(d.openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance] t LEFT JOIN Employee e "
                                             "ON e.ID = t.EmpID WHERE e.ID IS NULL OR t.ClockOut IS NULL"))
                  .field(0)
                  .toInt(),
              0);
    EXPECT_EQ(d.openRecordset(QStringLiteral("SELECT count(*) FROM [Schedule Days] WHERE EndTime <= StartTime"))
                  .field(0)
                  .toInt(),
              5);
}

// A file of version 1 holds the week numbers that version gave punches
// before the day start; the upgrade mends those rows and no other.
TEST(Schema, UpgradeGivesEarlyPunchesTheWeekOfTheirWorkDate) {
    const auto company = [](int dayStart) {
        auto c = std::make_unique<test::TempCompany>();
        c->db().executeScript(QStringLiteral("PRAGMA user_version = 1"));
        CompanySettings s;
        s.WorkDay = 2;
        s.setDayStart(TimeOfDay::fromMinutes(dayStart));
        return std::make_pair(std::move(c), s);
    };
    const auto row = [](test::TempCompany& c, const char* date, const char* in, int week) {
        c.db().executeStrict(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, "
                                            "Recalculate) VALUES ('A', ?, ?, ?, 0)"),
                             {QString::fromLatin1(date), week, QString::fromLatin1(in)});
        c.db().executeStrict(
            QStringLiteral("INSERT OR IGNORE INTO [Hours Worked] (EmpID, TDate, Week, [Straight Hrs]) VALUES ('A', ?, ?, 8)"),
            {QString::fromLatin1(date), week});
    };
    const auto state = [](test::TempCompany& c) {
        QStringList out;
        db::Recordset rs = c.db().openRecordset(QStringLiteral(
            "SELECT TDate, ClockIn, Week, Recalculate, (SELECT count(*) FROM [Hours Worked] h WHERE h.EmpID = t.EmpID "
            "AND h.TDate = t.TDate AND h.Week = t.Week) FROM [Time Attendance] t ORDER BY TDate, ClockIn"));
        for (; !rs.eof(); rs.moveNext())
            out << QStringLiteral("%1 %2 w%3 r%4 h%5")
                       .arg(rs.field(0).toString(), rs.field(1).toString(), rs.field(2).toString(),
                            rs.field(3).toString(), rs.field(4).toString());
        return out;
    };

    // Day start 06:00: the Monday that starts week 1 of 2027 gave week 0.
    auto [six, sixSettings] = company(6 * 60);
    row(*six, "2026-12-24", "08:00", 52);
    row(*six, "2026-12-28", "03:00", 0);
    row(*six, "2026-12-28", "07:00", 1);
    row(*six, "2026-03-11", "03:00", 0); // a week typed in the editor
    EXPECT_EQ(schema::upgradeCompanyDb(six->db(), sixSettings), 1);
    EXPECT_EQ(state(*six), (QStringList{"2026-03-11 03:00 w0 r0 h1", "2026-12-24 08:00 w52 r0 h1",
                                        "2026-12-28 03:00 w52 r1 h0", "2026-12-28 07:00 w1 r0 h1"}));
    EXPECT_EQ(six->db().openRecordset(QStringLiteral("SELECT count(*) FROM [Hours Worked] WHERE Week = 0"))
                  .field(0).toInt(), 1); // only the typed row's
    EXPECT_EQ(six->db().openRecordset(QStringLiteral("PRAGMA user_version")).field(0).toInt(), 2);

    // Day start 00:30: 00:15 on a Monday gave Monday's week (51), on a Sunday
    // the week before (49); both belong to Sunday's week, 50. The rest of
    // the week the Monday row leaves is marked for the hours engine.
    auto [half, halfSettings] = company(30);
    row(*half, "2026-12-13", "00:15", 49);
    row(*half, "2026-12-14", "00:15", 51);
    row(*half, "2026-12-15", "09:00", 51);
    row(*half, "2026-12-22", "09:00", 52);
    EXPECT_EQ(schema::upgradeCompanyDb(half->db(), halfSettings), 2);
    EXPECT_EQ(state(*half), (QStringList{"2026-12-13 00:15 w50 r1 h0", "2026-12-14 00:15 w50 r1 h0",
                                         "2026-12-15 09:00 w51 r1 h1", "2026-12-22 09:00 w52 r0 h1"}));

    // Once upgraded, a file is left alone.
    half->db().executeStrict(QStringLiteral("UPDATE [Time Attendance] SET Week = 51 WHERE TDate = '2026-12-14'"));
    EXPECT_EQ(schema::upgradeCompanyDb(half->db(), halfSettings), 0);
    EXPECT_EQ(half->db().openRecordset(QStringLiteral("SELECT Week FROM [Time Attendance] WHERE TDate = '2026-12-14'"))
                  .field(0).toInt(), 51);
}

TEST(Schema, ProgramsLinkSqlcipherOnly) {
    const QString bin = QStringLiteral(PLAX_PROGRAM_DIR) + QStringLiteral("/mkcompany");
    if (!QFile::exists(bin))
        GTEST_SKIP() << "mkcompany not built";
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {bin});
    ASSERT_TRUE(ldd.waitForFinished(-1));
    const QString out = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("libsqlcipher")));
    EXPECT_FALSE(out.contains(QStringLiteral("libsqlite3")));
}
