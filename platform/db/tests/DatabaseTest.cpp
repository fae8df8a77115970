#include "testing/TempCompany.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace plax;
using db::DbError;
using db::Value;

namespace {
int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const DbError& e) {
        return e.number();
    }
    return 0;
}

void addEmployee(db::Database& d, const QString& id, const QString& last = QStringLiteral("Smith")) {
    d.execute(QStringLiteral("INSERT INTO Employee (ID, LastName) VALUES (?, ?)"), {id, last});
}
} // namespace

TEST(Database, KeysAndComparesIgnoreLetterCase) {
    test::TempCompany c;
    addEmployee(c.db(), QStringLiteral("AB12"));
    auto rs = c.db().openRecordset(QStringLiteral("SELECT ID FROM Employee WHERE ID = ?"), {"ab12"});
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs["id"].toString(), QStringLiteral("AB12"));
    // A second ID differing only in case breaks the unique key: skipped silently.
    EXPECT_EQ(c.db().execute(QStringLiteral("INSERT INTO Employee (ID) VALUES (?)"), {"aB12"}), 0);
    EXPECT_EQ(errorNumber([&] { c.db().executeStrict(QStringLiteral("INSERT INTO Employee (ID) VALUES ('ab12')")); }),
              db::err::DuplicateKey);
}

TEST(Database, ActionStatementsSkipRowsThatBreakAUniqueIndex) {
    test::TempCompany c;
    auto& d = c.db();
    const QString ins = QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) VALUES (?,?,?,?)");
    EXPECT_EQ(d.execute(ins, {"7", CalDate::ymd(2024, 1, 8), 2, TimeOfDay::fromMinutes(480)}), 1);
    EXPECT_EQ(d.execute(ins, {"7", CalDate::ymd(2024, 1, 8), 2, TimeOfDay::fromMinutes(480)}), 0);
    EXPECT_EQ(d.execute(ins, {"7", CalDate::ymd(2024, 1, 8), 2, TimeOfDay::fromMinutes(540)}), 1);
    // An UPDATE that would collide leaves that row alone and reports nothing.
    EXPECT_EQ(d.execute(QStringLiteral("UPDATE [Time Attendance] SET ClockIn = '08:00' WHERE ClockIn = '09:00'")), 0);
    // INSERT ... SELECT keeps the rows that fit.
    d.execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) "
                             "SELECT EmpID, TDate, Week, '10:00' FROM [Time Attendance]"));
    EXPECT_EQ(d.openRecordset(QStringLiteral("SELECT count(*) AS n FROM [Time Attendance]"))["n"].toInt(), 3);
}

TEST(Database, ErrorNumbersForTheSituationsScreensHandle) {
    test::TempCompany c;
    auto& d = c.db();
    EXPECT_EQ(errorNumber([&] { db::Database::open(c.dir() + QStringLiteral("nothere.mdb")); }), 3024);
    EXPECT_EQ(errorNumber([&] { d.executeScript(QStringLiteral("CREATE TABLE Employee (x)")); }), 3010);
    EXPECT_EQ(errorNumber([&] { d.openRecordset(QStringLiteral("SELECT * FROM Nowhere")); }), 3078);
    EXPECT_EQ(errorNumber([&] { d.executeStrict(QStringLiteral("INSERT INTO Employee (ID) VALUES ('ABCDEFGHIJKLM')")); }),
              3163);
    EXPECT_EQ(errorNumber([&] {
                  d.executeStrict(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, ClockIn) "
                                                 "VALUES ('1', 'tomorrow', '08:00')"));
              }),
              3464);
    EXPECT_EQ(errorNumber([&] { d.executeStrict(QStringLiteral("INSERT INTO Employee (ID) VALUES ('')")); }), 3315);
    EXPECT_EQ(errorNumber([&] { d.executeStrict(QStringLiteral("INSERT INTO Employee (LastName) VALUES ('x')")); }),
              3058);

    // A damaged file and an empty one.
    const QString junk = c.dir() + QStringLiteral("junk.mdb");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(5000, 'x'));
    f.close();
    EXPECT_EQ(errorNumber([&] { db::Database::open(junk); }), 3049);
    const QString empty = c.dir() + QStringLiteral("empty.mdb");
    QFile e(empty);
    ASSERT_TRUE(e.open(QIODevice::WriteOnly));
    e.close();
    EXPECT_EQ(errorNumber([&] { db::Database::open(empty); }), 3049);
    // Opening never creates a file.
    EXPECT_FALSE(QFile::exists(c.dir() + QStringLiteral("nothere.mdb")));
}

TEST(Database, MessagesMatchTheEditorsPatterns) {
    test::TempCompany c;
    auto& d = c.db();
    addEmployee(d, QStringLiteral("1"));
    try {
        d.executeStrict(QStringLiteral("INSERT INTO Employee (ID) VALUES ('1')"));
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("The changes you requested to the table")));
    }
    try {
        d.executeStrict(QStringLiteral("UPDATE Employee SET Rate = 'lots'"));
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("Data type")));
    }
    try {
        d.executeStrict(QStringLiteral("UPDATE Employee SET ID = '1234567890123'"));
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("The field is too small")));
    }
}

TEST(Database, LikeUsesStarAndQuestionMark) {
    test::TempCompany c;
    for (const char* n : {"Smith", "Smyth", "Smithers", "50%_off", "Jones"})
        addEmployee(c.db(), QString::fromLatin1(n), QString::fromLatin1(n));
    auto count = [&](const QString& pattern) {
        return c.db()
            .openRecordset(QStringLiteral("SELECT count(*) FROM Employee WHERE ") + db::sql::likeClause("LastName"),
                           {db::sql::jetLike(pattern)})
            .field(0)
            .toInt();
    };
    EXPECT_EQ(count(QStringLiteral("Sm?th")), 2);
    EXPECT_EQ(count(QStringLiteral("sm*")), 3);
    EXPECT_EQ(count(QStringLiteral("50%*")), 1);
    EXPECT_EQ(count(QStringLiteral("5_%*")), 0); // % and _ are literal
    EXPECT_EQ(count(QStringLiteral("*")), 5);
}

TEST(Database, ValuesWithQuotesAreStoredAsTyped) {
    test::TempCompany c;
    addEmployee(c.db(), QStringLiteral("X1"), QStringLiteral("O'Brien'); DROP TABLE Employee; --"));
    auto rs = c.db().openRecordset(QStringLiteral("SELECT LastName FROM Employee WHERE LastName LIKE ?"), {"O'B%"});
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs["LastName"].toString(), QStringLiteral("O'Brien'); DROP TABLE Employee; --"));
}

TEST(Recordset, NavigatesFindsAndReportsNull) {
    test::TempCompany c;
    for (const char* id : {"A", "B", "C"})
        addEmployee(c.db(), QString::fromLatin1(id));
    auto rs = c.db().openRecordset(QStringLiteral("SELECT ID, DepartmentNo FROM Employee ORDER BY ID"));
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_TRUE(rs["DepartmentNo"].isNull());
    EXPECT_EQ(rs["DepartmentNo"].toString(), QString());
    rs.moveLast();
    EXPECT_EQ(rs["ID"].toString(), QStringLiteral("C"));
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorNumber([&] { rs["ID"]; }), 3021);
    EXPECT_TRUE(rs.findFirst(QStringLiteral("ID"), QStringLiteral("b")));
    EXPECT_EQ(rs["ID"].toString(), QStringLiteral("B"));
    EXPECT_FALSE(rs.findFirst(QStringLiteral("ID"), QStringLiteral("Z")));
    EXPECT_TRUE(rs.noMatch());
    EXPECT_EQ(errorNumber([&] { rs["Nope"]; }), 3265);
    auto none = c.db().openRecordset(QStringLiteral("SELECT ID FROM Employee WHERE 0"));
    EXPECT_TRUE(none.eof());
    EXPECT_TRUE(none.bof());
}

TEST(Recordset, DynasetWritesThrough) {
    test::TempCompany c;
    auto& d = c.db();
    auto rs = d.openDynaset(QStringLiteral("Department"), QString(), {}, QStringLiteral("DepartmentNo"));
    rs.addNew();
    rs.setField(QStringLiteral("DepartmentNo"), QStringLiteral("PRD"));
    rs.setField(QStringLiteral("Description"), QStringLiteral("Production"));
    rs.update();
    rs.addNew();
    rs.setField(QStringLiteral("DepartmentNo"), QStringLiteral("prd"));
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3022);
    rs.cancelUpdate();
    ASSERT_TRUE(rs.moveToRowId(rs.lastModified()));
    rs.edit();
    rs.setField(QStringLiteral("Description"), QStringLiteral("Plant"));
    rs.update();
    EXPECT_EQ(d.openRecordset(QStringLiteral("SELECT Description FROM Department"))["Description"].toString(),
              QStringLiteral("Plant"));
    rs.deleteCurrent();
    rs.requery();
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_EQ(errorNumber([&] { rs.update(); }), 3020);
}

TEST(Query, PreparedOnceRunManyTimes) {
    test::TempCompany c;
    auto ins = c.db().prepare(QStringLiteral("INSERT INTO Messages (MessageNo, Message) VALUES (?, ?)"));
    for (int i = 0; i < 50; ++i)
        ins.execute({QStringLiteral("%1").arg(i % 25, 3, 10, QLatin1Char('0')), QStringLiteral("m")});
    auto cnt = c.db().prepare(QStringLiteral("SELECT count(*) FROM Messages WHERE MessageNo < ?"));
    EXPECT_EQ(cnt.scalar({"010"}).toInt(), 10);
    EXPECT_EQ(cnt.scalar({"100"}).toInt(), 25);
    EXPECT_EQ(errorNumber([&] { cnt.scalar({}); }), db::err::General);
}

TEST(Database, TransactionsRollBackUnlessCommitted) {
    test::TempCompany c;
    {
        db::Database::Transaction tx(c.db());
        addEmployee(c.db(), QStringLiteral("T1"));
        {
            db::Database::Transaction inner(c.db());
            addEmployee(c.db(), QStringLiteral("T2"));
        } // inner rolled back
        tx.commit();
    }
    {
        db::Database::Transaction tx(c.db());
        addEmployee(c.db(), QStringLiteral("T3"));
    }
    auto rs = c.db().openRecordset(QStringLiteral("SELECT ID FROM Employee"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs["ID"].toString(), QStringLiteral("T1"));
}
