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

TEST(Schema, ProgramsLinkSqlcipherOnly) {
    const QString bin = QStringLiteral(PLAX_PROGRAM_DIR) + QStringLiteral("/mkcompany");
    if (!QFile::exists(bin))
        GTEST_SKIP() << "mkcompany not built";
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {bin});
    ASSERT_TRUE(ldd.waitForFinished());
    const QString out = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("libsqlcipher")));
    EXPECT_FALSE(out.contains(QStringLiteral("libsqlite3")));
}
