#include "testing/TempCompany.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace plax;

namespace {
int openError(const QString& path, const QString& pw, bool exclusive = false) {
    try {
        db::Database::open(path, exclusive, false, QStringLiteral(";pwd=") + pw);
    } catch (const db::DbError& e) {
        return e.number();
    }
    return 0;
}

bool hasPlainHeader(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.read(15) == "SQLite format 3";
}
} // namespace

TEST(Password, SetChangeAndClearOnAnExclusiveConnection) {
    test::TempCompany c;
    c.fillDemo(CalDate::ymd(2024, 6, 12));
    const QString path = c.path();
    c.handle().reset();

    auto d = db::Database::open(path, true, false, QStringLiteral(";pwd="));
    d->newPassword(QString(), QStringLiteral("s3cret"));
    EXPECT_EQ(d->openRecordset(QStringLiteral("SELECT count(*) FROM Employee")).field(0).toInt(), 12);
    d.reset();
    EXPECT_FALSE(hasPlainHeader(path));
    EXPECT_EQ(openError(path, QString()), db::err::InvalidPassword);
    EXPECT_EQ(openError(path, QStringLiteral("wrong")), db::err::InvalidPassword);
    EXPECT_EQ(openError(path, QStringLiteral("s3cret")), 0);

    d = db::Database::open(path, true, false, QStringLiteral(";pwd=s3cret"));
    try {
        d->newPassword(QStringLiteral("guess"), QStringLiteral("other"));
        FAIL() << "a wrong old password was accepted";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::InvalidPassword);
    }
    d->newPassword(QStringLiteral("s3cret"), QStringLiteral("other"));
    d.reset();
    EXPECT_EQ(openError(path, QStringLiteral("s3cret")), db::err::InvalidPassword);
    EXPECT_EQ(openError(path, QStringLiteral("other")), 0);

    d = db::Database::open(path, true, false, QStringLiteral(";pwd=other"));
    d->newPassword(QStringLiteral("other"), QString());
    d.reset();
    EXPECT_TRUE(hasPlainHeader(path));
    EXPECT_EQ(openError(path, QString()), 0);
    // An unprotected file opens whatever password is typed.
    EXPECT_EQ(openError(path, QStringLiteral("anything")), 0);
    auto back = db::Database::open(path);
    EXPECT_EQ(back->openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance]")).field(0).toInt(), 110);
    EXPECT_EQ(back->openRecordset(QStringLiteral("PRAGMA user_version")).field(0).toInt(), 2);
}

TEST(Password, ChangeNeedsAnExclusiveOpen) {
    test::TempCompany c;
    try {
        c.db().newPassword(QString(), QStringLiteral("x"));
        FAIL();
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::InUse);
    }
}

TEST(Password, ExclusiveOpenRefusedWhileAnotherConnectionWrites) {
    test::TempCompany c;
    db::Database::Transaction tx(c.db());
    c.db().execute(QStringLiteral("INSERT INTO Department (DepartmentNo) VALUES ('A')"));
    EXPECT_EQ(openError(c.path(), QString(), true), db::err::InUse);
}
