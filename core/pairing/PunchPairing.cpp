#include "PunchPairing.h"

#include "ShiftMemory.h"
#include "ShiftRows.h"
#include "core/types/WorkWeek.h"

#include <QSet>

#include <map>

namespace plax::pairing {

using db::Query;

namespace {

// The key under which the table takes two IDs for one employee.
QString tableKey(const QString& id) { return db::sql::nocaseKey(id); }

// The statements of the one-by-one road.
struct TableStatements {
    explicit TableStatements(db::Database& db)
        : // Two lookups so each can use its own index.
          duplicate(db.prepare(QStringLiteral(
              "SELECT EXISTS (SELECT 1 FROM [Time Attendance] WHERE EmpID = ?1 AND TDate = ?2 AND ClockIn = ?3) "
              "OR EXISTS (SELECT 1 FROM [Time Attendance] WHERE EmpID = ?1 AND DateOut = ?2 AND ClockOut = ?3)"))),
          // Open rows whose clock-in lies in the work day that starts at
          // DayStartTime on ?2: dated ?2 from the day start on, or dated the
          // next calendar day ?3 before it.
          openShift(db.prepare(
              QStringLiteral("SELECT rowid, TDate, ClockIn FROM [Time Attendance] "
                             "WHERE EmpID = ?1 AND TDate BETWEEN ?2 AND ?3 AND ClockOut IS NULL "
                             "AND ((TDate = ?2 AND ClockIn >= ?4) OR (TDate = ?3 AND ClockIn < ?4)) "
                             "ORDER BY TDate, ClockIn LIMIT 1"))),
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

    Query duplicate, openShift, insert, close, turn, mark;
};

// The employee's rows in the table, one statement a question.
class TableRows final : public ShiftRows {
public:
    TableRows(TableStatements& st, const QString& id, const db::Value& dayStart)
        : st_(st), id_(id), dayStart_(dayStart) {}

    bool hasPunchAt(CalDate d, TimeOfDay t) override { return st_.duplicate.scalar({id_, d, t}).toBool(); }

    std::optional<OpenShift> oldestOpen(CalDate workDate, TimeOfDay) override {
        const db::Recordset open = st_.openShift.openRecordset({id_, workDate, workDate.addDays(1), dayStart_});
        if (open.eof())
            return std::nullopt;
        return OpenShift{open.field(0).toInt(), open.field(1).toDate().value(), open.field(2).toTime().value()};
    }

    void insert(CalDate d, int week, TimeOfDay t) override { st_.insert.execute({id_, d, week, t}); }

    int mark(CalDate from, CalDate to, int week) override { return st_.mark.execute({id_, from, to, week}); }

    void close(const OpenShift& row, CalDate d, TimeOfDay t, std::int32_t m) override {
        requireOneRow(st_.close.execute({d, t, MinutesToHours(m), MinutesRemainder(m), row.handle}));
    }

    void turn(const OpenShift& row, CalDate d, TimeOfDay t, std::int32_t m) override {
        requireOneRow(st_.turn.execute(
            {d, t, row.tdate, row.clockIn, MinutesToHours(m), MinutesRemainder(m), row.handle}));
    }

private:
    TableStatements& st_;
    const db::Value id_;
    const db::Value& dayStart_;
};

} // namespace

struct PunchRecorder::Impl {
    Impl(db::Database& database, const CompanySettings& s, PairingOptions o)
        : db(database), settings(s), options(o),
          employee(db.prepare(QStringLiteral("SELECT Status FROM Employee WHERE ID = ?"))), table(db) {}

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

    PunchResult apply(ShiftRows& rows, const QString& id, CalDate d, TimeOfDay t);
    PunchResult applyToTable(const QString& id, CalDate d, TimeOfDay t);
    void applyBatch(const std::vector<Punch>& punches, std::vector<PunchResult>& results);

    db::Database& db;
    const CompanySettings settings;
    const db::Value dayStart{settings.DayStartTime};
    const PairingOptions options;
    Query employee;
    TableStatements table;
    std::optional<QSet<QString>> employeeIds;
    std::optional<ShiftMemoryStatements> batch; // prepared at the first batch
};


PunchResult PunchRecorder::Impl::apply(ShiftRows& rows, const QString& id, CalDate d, TimeOfDay t) {
    PunchResult r;
    if (options.employeeCheck == EmployeeCheck::ActiveOnly && !employeeStatus(id).value_or(false)) {
        r.outcome = PunchOutcome::UnknownEmployee;
        return r;
    }
    if (rows.hasPunchAt(d, t)) {
        r.outcome = PunchOutcome::Duplicate;
        return r;
    }

    r.weekEnd = WeekEnd(d, t, settings);
    r.week = WeekNumber(d, t, settings);

    const std::optional<OpenShift> open = rows.oldestOpen(WorkDate(d, t, settings), settings.DayStartTime);
    if (!open) {
        if (options.employeeCheck == EmployeeCheck::ExistsForNewRow && !employeeExists(id)) {
            r.outcome = PunchOutcome::UnknownEmployee;
            r.week = 0;
            r.weekEnd = CalDate();
            return r;
        }
        rows.insert(d, r.week, t);
        r.outcome = PunchOutcome::NewShift;
        r.tdate = d;
        r.clockIn = t;
        return r;
    }

    const int dayDiff = d - open->tdate;
    const int minuteDiff = t.minutes() - open->clockIn.minutes();

    // The week is marked before the shift changes: a failure between the two
    // statements then leaves extra flags only (the hours engine recomputes the
    // same hours), never a changed shift whose week is not marked.
    if (dayDiff > 0 || (dayDiff == 0 && minuteDiff > 0)) {
        const std::int32_t m = ShiftMinutes(open->tdate, open->clockIn, d, t, settings);
        r.rowsFlagged = rows.mark(open->tdate, r.weekEnd, r.week);
        rows.close(*open, d, t, m);
        r.outcome = PunchOutcome::Closed;
        r.tdate = open->tdate;
        r.clockIn = open->clockIn;
        r.dateOut = d;
        r.clockOut = t;
        r.totalMinutes = m;
    } else if (dayDiff < 0 || minuteDiff < 0) {
        // The earlier punch becomes the clock-in, the old clock-in the clock-out.
        const std::int32_t m = ShiftMinutes(d, t, open->tdate, open->clockIn, settings);
        r.rowsFlagged = rows.mark(d, r.weekEnd, r.week);
        rows.turn(*open, d, t, m);
        r.outcome = PunchOutcome::Turned;
        r.tdate = d;
        r.clockIn = t;
        r.dateOut = open->tdate;
        r.clockOut = open->clockIn;
        r.totalMinutes = m;
    } else {
        r.outcome = PunchOutcome::SameMinute;
        r.tdate = open->tdate;
        r.clockIn = open->clockIn;
    }
    return r;
}

PunchResult PunchRecorder::Impl::applyToTable(const QString& id, CalDate d, TimeOfDay t) {
    TableRows rows(table, id, dayStart);
    return apply(rows, id, d, t);
}

void PunchRecorder::Impl::applyBatch(const std::vector<Punch>& punches, std::vector<PunchResult>& results) {
    std::vector<PunchResult> done;
    done.reserve(punches.size());
    try {
        if (!batch)
            batch.emplace(db);
        db::Database::Transaction savepoint(db);
        // The dates each employee's punches span, then one copy of the rows
        // they can meet per employee.
        std::vector<QString> keys;
        keys.reserve(punches.size());
        std::map<QString, std::pair<CalDate, CalDate>> spans;
        for (const Punch& p : punches) {
            // A batch mostly holds one ID: each run of it is folded once.
            const bool sameId = !keys.empty() && p.id == punches[keys.size() - 1].id;
            keys.push_back(sameId ? keys.back() : tableKey(p.id));
            const auto [it, isNew] = spans.try_emplace(keys.back(), p.date, p.date);
            it->second.first = std::min(it->second.first, p.date);
            it->second.second = std::max(it->second.second, p.date);
        }
        std::map<QString, ShiftMemory> memories;
        for (std::size_t i = 0; i < punches.size(); ++i) {
            const Punch& p = punches[i];
            const QString& key = keys[i];
            auto it = memories.find(key);
            if (it == memories.end()) {
                const auto& [first, last] = spans.at(key);
                it = memories.try_emplace(key, *batch, p.id, first, last).first;
            }
            it->second.setPunchId(p.id);
            done.push_back(apply(it->second, p.id, p.date, p.time));
        }
        for (auto& [key, memory] : memories)
            memory.write();
        savepoint.commit();
    } catch (const std::exception&) {
        // The savepoint is undone. Anything unexpected (a row the copy could
        // not read, a write the table refused) is left to the one-by-one road,
        // which meets it exactly as it always did.
        if (!db.inTransaction())
            throw;
        for (const Punch& p : punches)
            results.push_back(applyToTable(p.id, p.date, p.time));
        return;
    }
    results.insert(results.end(), done.begin(), done.end());
}

PunchRecorder::PunchRecorder(db::Database& db, const CompanySettings& settings, PairingOptions options)
    : d_(std::make_unique<Impl>(db, settings, options)) {}

PunchRecorder::~PunchRecorder() = default;

PunchResult PunchRecorder::record(const QString& id, CalDate d, TimeOfDay t) {
    // Inside the caller's transaction the write lock is held already and the
    // order of the writes keeps a failed punch harmless (see apply).
    if (d_->db.inTransaction())
        return d_->applyToTable(id, d, t);
    // Alone: read and write under one write lock, undone if anything raises.
    db::Database::Transaction tx(d_->db);
    PunchResult r = d_->applyToTable(id, d, t);
    tx.commit();
    return r;
}

void PunchRecorder::recordBatch(const std::vector<Punch>& punches, std::vector<PunchResult>& results) {
    if (punches.empty())
        return;
    if (d_->db.inTransaction()) {
        d_->applyBatch(punches, results);
        return;
    }
    db::Database::Transaction tx(d_->db);
    d_->applyBatch(punches, results);
    tx.commit();
}

PunchResult recordPunch(db::Database& db, const CompanySettings& settings, PairingOptions options,
                        const QString& id, CalDate d, TimeOfDay t) {
    PunchRecorder recorder(db, settings, options);
    return recorder.record(id, d, t);
}

} // namespace plax::pairing
