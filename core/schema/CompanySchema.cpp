#include "CompanySchema.h"

#include "core/types/WorkWeek.h"

namespace plax::schema {

void createTables(db::Database& db) {
    db::Database::Transaction tx(db);
    db.executeScript(QString::fromUtf8(companySchemaSql()));
    tx.commit();
}

std::unique_ptr<db::Database> createCompanyDatabase(const QString& path, const QString& password) {
    auto db = db::Database::create(path, password);
    createTables(*db);
    return db;
}

namespace {

// The week version 1 stored for a punch (d, t).
int version1Week(CalDate d, TimeOfDay t, const CompanySettings& s) {
    const CalDate end = WeekStart(WorkDate(d, t, s), s).addDays((167 + s.DayStartHours) / 24);
    const int w = WeekNumber(d, s);
    return d == end && t < s.DayStartTime ? w - 1 : w;
}

int repairEarlyPunchWeeks(db::Database& db, const CompanySettings& s) {
    if (s.DayStartTime.minutes() == 0)
        return 0; // no punch lies before the day start
    struct Found {
        db::Value rowid, empId;
        CalDate tdate;
        TimeOfDay clockIn;
        int stored, week;
    };
    std::vector<Found> found;
    db::Recordset rs = db.openRecordset(
        QStringLiteral("SELECT rowid, EmpID, TDate, ClockIn, Week FROM [Time Attendance] WHERE ClockIn < ?"),
        {s.DayStartTime});
    for (; !rs.eof(); rs.moveNext()) {
        const auto d = rs.field(2).toDate();
        const auto t = rs.field(3).toTime();
        if (!d || !t || rs.field(4).isNull())
            continue;
        const int stored = int(rs.field(4).toInt());
        const int week = upgradedWeek(*d, *t, stored, s);
        if (week != stored)
            found.push_back({rs.field(0), rs.field(1), *d, *t, stored, week});
    }
    db::Query hoursGone = db.prepare(
        QStringLiteral("DELETE FROM [Hours Worked] WHERE EmpID = ? AND TDate = ? AND Week = ?"));
    db::Query setWeek =
        db.prepare(QStringLiteral("UPDATE [Time Attendance] SET Week = ?, Recalculate = 1 WHERE rowid = ?"));
    db::Query mark = db.prepare(QStringLiteral(
        "UPDATE [Time Attendance] SET Recalculate = 1 WHERE EmpID = ? AND TDate BETWEEN ? AND ? AND Week = ?"));
    for (const Found& f : found) {
        // The week it leaves: its day's hours and the split of the days after.
        hoursGone.execute({f.empId, f.tdate, f.stored});
        mark.execute({f.empId, f.tdate, WeekEnd(f.tdate, s.DayStartTime, s), f.stored});
        setWeek.execute({f.week, f.rowid});
        mark.execute({f.empId, f.tdate, WeekEnd(f.tdate, f.clockIn, s), f.week});
    }
    return int(found.size());
}

} // namespace

int upgradedWeek(CalDate d, TimeOfDay t, int stored, const CompanySettings& s) {
    const int week = WeekNumber(d, t, s);
    return stored != week && stored == version1Week(d, t, s) ? week : stored;
}

int upgradeCompanyDb(db::Database& db, const CompanySettings& s) {
    const auto upToDate = [&db] {
        return db.openRecordset(QStringLiteral("PRAGMA user_version")).field(0).toInt() >= kSchemaVersion;
    };
    // A file up to date (every start but one) is only read: no write lock
    // for a clock terminal to wait on.
    if (upToDate())
        return 0;
    db::Database::Transaction tx(db);
    if (upToDate())
        return 0; // another program brought it up to date meanwhile
    const int rewritten = repairEarlyPunchWeeks(db, s);
    db.executeScript(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    tx.commit();
    return rewritten;
}

} // namespace plax::schema
