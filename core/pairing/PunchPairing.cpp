#include "PunchPairing.h"

#include "core/types/WorkWeek.h"

#include <QSet>

namespace plax::pairing {

using db::Query;

struct PunchRecorder::Impl {
    Impl(db::Database& database, const CompanySettings& s, PairingOptions o)
        : db(database), settings(s), options(o),
          employee(db.prepare(QStringLiteral("SELECT Status FROM Employee WHERE ID = ?"))),
          // Two lookups so each can use its own index.
          duplicate(db.prepare(QStringLiteral(
              "SELECT EXISTS (SELECT 1 FROM [Time Attendance] WHERE EmpID = ?1 AND TDate = ?2 AND ClockIn = ?3) "
              "OR EXISTS (SELECT 1 FROM [Time Attendance] WHERE EmpID = ?1 AND DateOut = ?2 AND ClockOut = ?3)"))),
          // Open rows whose clock-in lies in the work day that starts at
          // DayStartTime on ?2: dated ?2 from the day start on, or dated the
          // next calendar day ?3 before it.
          openShift(db.prepare(
              QStringLiteral("SELECT rowid, TDate, ClockIn FROM [Time Attendance] "
                             "WHERE EmpID = ?1 AND TDate BETWEEN ?2 AND ?3 AND ClockOut IS NULL "
                             "AND ((TDate = ?2 AND ClockIn >= ?4) OR (TDate = ?3 AND ClockIn < ?4)) %1"
                             "ORDER BY TDate, ClockIn LIMIT 1")
                  .arg(o.requireSameWeek ? QStringLiteral("AND Week = ?5 ") : QString()))),
          insert(db.prepare(QStringLiteral("INSERT INTO [Time Attendance] "
                                           "(EmpID, TDate, Week, ClockIn, TotalHrs, TotalMin, Recalculate) "
                                           "VALUES (?, ?, ?, ?, 0, 0, 1)"))),
          close(db.prepare(QStringLiteral("UPDATE [Time Attendance] SET DateOut = ?, ClockOut = ?, TotalHrs = ?, "
                                          "TotalMin = ?, Recalculate = 1 WHERE rowid = ?"))),
          turn(db.prepare(QStringLiteral("UPDATE [Time Attendance] SET TDate = ?, ClockIn = ?, DateOut = ?, "
                                         "ClockOut = ?, TotalHrs = ?, TotalMin = ?, Recalculate = 1 "
                                         "WHERE rowid = ?"))),
          mark(db.prepare(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 "
                                         "WHERE EmpID = ? AND TDate BETWEEN ? AND ? AND Week = ?"))) {}

    // True when the ID is in table Employee, as the table stood at the first
    // test (the import reads it once, as one snapshot).
    bool employeeExists(const QString& id) {
        if (!employeeIds) {
            employeeIds.emplace();
            db::Recordset rs = db.openRecordset(QStringLiteral("SELECT ID FROM Employee"));
            for (; !rs.eof(); rs.moveNext())
                employeeIds->insert(rs.field(0).toString().toCaseFolded());
        }
        return employeeIds->contains(id.toCaseFolded());
    }

    // The value of Employee.Status for the ID, or nullopt when there is no such employee.
    std::optional<bool> employeeStatus(const QString& id) {
        const db::Value v = employee.scalar({id});
        if (v.isNull())
            return std::nullopt;
        return v.toBool();
    }

    PunchResult apply(const QString& id, CalDate d, TimeOfDay t);

    db::Database& db;
    const CompanySettings settings;
    const db::Value dayStart{settings.DayStartTime};
    const PairingOptions options;
    Query employee, duplicate, openShift, insert, close, turn, mark;
    std::optional<QSet<QString>> employeeIds;
};

namespace {
// An update by row id must change its row; anything else means the row went
// away or would clash with another one.
void requireOneRow(int changed) {
    if (changed != 1)
        throw db::DbError(db::err::Locked, QStringLiteral("Could not update; currently locked."));
}
} // namespace

PunchResult PunchRecorder::Impl::apply(const QString& id, CalDate d, TimeOfDay t) {
    PunchResult r;
    if (options.employeeCheck == EmployeeCheck::ActiveOnly && !employeeStatus(id).value_or(false)) {
        r.outcome = PunchOutcome::UnknownEmployee;
        return r;
    }
    // Each date and time is turned into its stored text once.
    const db::Value idV(id), dV(d), tV(t);
    if (duplicate.scalar({idV, dV, tV}).toBool()) {
        r.outcome = PunchOutcome::Duplicate;
        return r;
    }

    r.weekEnd = WeekEnd(d, t, settings);
    r.week = d == r.weekEnd ? WeekNumber(d, t, settings) : WeekNumber(d, settings);

    const CalDate workDate = WorkDate(d, t, settings);
    db::Params find{idV, workDate == d ? dV : db::Value(workDate), db::Value(workDate.addDays(1)), dayStart};
    if (options.requireSameWeek)
        find.push_back(r.week);
    const db::Recordset open = openShift.openRecordset(find);

    if (open.eof()) {
        if (options.employeeCheck == EmployeeCheck::ExistsForNewRow && !employeeExists(id)) {
            r.outcome = PunchOutcome::UnknownEmployee;
            r.week = 0;
            r.weekEnd = CalDate();
            return r;
        }
        insert.execute({idV, dV, r.week, tV});
        r.outcome = PunchOutcome::NewShift;
        r.tdate = d;
        r.clockIn = t;
        return r;
    }

    const qint64 rowid = open.field(0).toInt();
    const CalDate inDate = open.field(1).toDate().value();
    const TimeOfDay inTime = open.field(2).toTime().value();
    const int dayDiff = d - inDate;
    const int minuteDiff = t.minutes() - inTime.minutes();

    // The week is marked before the shift changes: a failure between the two
    // statements then leaves extra flags only (the hours engine recomputes the
    // same hours), never a changed shift whose week is not marked.
    if (dayDiff > 0 || (dayDiff == 0 && minuteDiff > 0)) {
        const std::int32_t m = ShiftMinutes(inDate, inTime, d, t, settings);
        r.rowsFlagged = mark.execute({idV, open.field(1), r.weekEnd, r.week});
        requireOneRow(close.execute({dV, tV, MinutesToHours(m), MinutesRemainder(m), rowid}));
        r.outcome = PunchOutcome::Closed;
        r.tdate = inDate;
        r.clockIn = inTime;
        r.dateOut = d;
        r.clockOut = t;
        r.totalMinutes = m;
    } else if (dayDiff < 0 || minuteDiff < 0) {
        // The earlier punch becomes the clock-in, the old clock-in the clock-out.
        const std::int32_t m = ShiftMinutes(d, t, inDate, inTime, settings);
        r.rowsFlagged = mark.execute({idV, dV, r.weekEnd, r.week});
        requireOneRow(
            turn.execute({dV, tV, open.field(1), open.field(2), MinutesToHours(m), MinutesRemainder(m), rowid}));
        r.outcome = PunchOutcome::Turned;
        r.tdate = d;
        r.clockIn = t;
        r.dateOut = inDate;
        r.clockOut = inTime;
        r.totalMinutes = m;
    } else {
        r.outcome = PunchOutcome::SameMinute;
        r.tdate = inDate;
        r.clockIn = inTime;
    }
    return r;
}

PunchRecorder::PunchRecorder(db::Database& db, const CompanySettings& settings, PairingOptions options)
    : d_(std::make_unique<Impl>(db, settings, options)) {}

PunchRecorder::~PunchRecorder() = default;

PunchResult PunchRecorder::record(const QString& id, CalDate d, TimeOfDay t) {
    // Inside the caller's transaction the write lock is held already and the
    // order of the writes keeps a failed punch harmless (see apply).
    if (d_->db.inTransaction())
        return d_->apply(id, d, t);
    // Alone: read and write under one write lock, undone if anything raises.
    db::Database::Transaction tx(d_->db);
    PunchResult r = d_->apply(id, d, t);
    tx.commit();
    return r;
}

PunchResult recordPunch(db::Database& db, const CompanySettings& settings, PairingOptions options,
                        const QString& id, CalDate d, TimeOfDay t) {
    PunchRecorder recorder(db, settings, options);
    return recorder.record(id, d, t);
}

} // namespace plax::pairing
