#include "ShiftMemory.h"

#include "core/types/WorkWeek.h"

namespace plax::pairing {

ShiftMemoryStatements::ShiftMemoryStatements(db::Database& db)
    : load(db.prepare(QStringLiteral(
          "SELECT rowid, EmpID, TDate, Week, ClockIn, DateOut, ClockOut, Recalculate FROM [Time Attendance] "
          "WHERE EmpID = ?1 AND TDate BETWEEN ?2 AND ?3 UNION "
          "SELECT rowid, EmpID, TDate, Week, ClockIn, DateOut, ClockOut, Recalculate FROM [Time Attendance] "
          "WHERE EmpID = ?1 AND DateOut BETWEEN ?4 AND ?5"))),
      insert(db.prepare(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                       "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1)"))),
      update(db.prepare(QStringLiteral("UPDATE [Time Attendance] SET TDate = ?, ClockIn = ?, DateOut = ?, "
                                       "ClockOut = ?, TotalHrs = ?, TotalMin = ?, Recalculate = 1 WHERE rowid = ?"))),
      flag(db.prepare(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 WHERE rowid = ?"))) {}

namespace {

template <typename T>
T required(const std::optional<T>& v) {
    if (!v)
        throw db::typeMismatch();
    return *v;
}

// A value that may be Null, but when it is not must read as a T.
template <typename T>
std::optional<T> optional(const db::Value& v, std::optional<T> (db::Value::*read)() const) {
    if (v.isNull())
        return std::nullopt;
    return required((v.*read)());
}

} // namespace

ShiftMemory::ShiftMemory(ShiftMemoryStatements& st, const QString& id, CalDate first, CalDate last) : st_(st) {
    // A week marking reaches from the punch's work date (the day before at
    // the earliest) to the end of its work week (at most 7 days on).
    db::Recordset rs = st_.load.openRecordset({id, first.addDays(-1), last.addDays(7), first, last});
    for (; !rs.eof(); rs.moveNext()) {
        Row r;
        r.rowid = rs.field(0).toInt();
        r.empId = rs.field(1).toString();
        r.tdate = required(rs.field(2).toDate());
        if (!rs.field(3).isNull())
            r.week = rs.field(3).toInt();
        r.clockIn = required(rs.field(4).toTime());
        r.dateOut = optional(rs.field(5), &db::Value::toDate);
        r.clockOut = optional(rs.field(6), &db::Value::toTime);
        r.wasFlagged = r.flagged = rs.field(7).toBool();
        rows_.push_back(std::move(r));
        add(rows_.size() - 1);
    }
}

void ShiftMemory::count(std::unordered_map<Key, int>& m, Key k, int by) {
    if ((m[k] += by) == 0)
        m.erase(k);
}

void ShiftMemory::add(std::size_t i) {
    const Row& r = rows_[i];
    count(ins_, key(r.tdate, r.clockIn), 1);
    if (r.dateOut && r.clockOut)
        count(outs_, key(*r.dateOut, *r.clockOut), 1);
    if (!r.clockOut)
        open_.insert({key(r.tdate, r.clockIn), i});
    byDate_.insert({r.tdate.days(), i});
}

bool ShiftMemory::hasPunchAt(CalDate d, TimeOfDay t) {
    const Key k = key(d, t);
    return ins_.count(k) > 0 || outs_.count(k) > 0;
}

std::optional<OpenShift> ShiftMemory::oldestOpen(CalDate workDate, TimeOfDay dayStart) {
    // Clock-ins from the day start on the work date up to the day start of
    // the next date.
    const Key from = key(workDate, dayStart), to = from + 1440;
    const auto it = open_.lower_bound({from, 0});
    if (it == open_.end() || it->first >= to)
        return std::nullopt;
    const Row& r = rows_[it->second];
    return OpenShift{std::int64_t(it->second), r.tdate, r.clockIn};
}

void ShiftMemory::insert(CalDate d, int week, TimeOfDay t) {
    Row r;
    r.empId = punchId_;
    r.tdate = d;
    r.clockIn = t;
    r.week = week;
    r.flagged = r.changed = true;
    rows_.push_back(std::move(r));
    add(rows_.size() - 1);
}

int ShiftMemory::mark(CalDate from, CalDate to, int week) {
    int n = 0;
    for (auto it = byDate_.lower_bound({from.days(), 0}); it != byDate_.end() && it->first <= to.days(); ++it) {
        Row& r = rows_[it->second];
        if (r.week == week) {
            r.flagged = true;
            ++n;
        }
    }
    return n;
}

void ShiftMemory::close(const OpenShift& row, CalDate d, TimeOfDay t, std::int32_t minutes) {
    Row& r = rows_[std::size_t(row.handle)];
    open_.erase({key(r.tdate, r.clockIn), std::size_t(row.handle)});
    r.dateOut = d;
    r.clockOut = t;
    count(outs_, key(d, t), 1);
    r.minutes = minutes;
    r.flagged = r.changed = true;
}

void ShiftMemory::turn(const OpenShift& row, CalDate d, TimeOfDay t, std::int32_t minutes) {
    const std::size_t i = std::size_t(row.handle);
    Row& r = rows_[i];
    open_.erase({key(r.tdate, r.clockIn), i});
    count(ins_, key(r.tdate, r.clockIn), -1);
    byDate_.erase({r.tdate.days(), i});
    r.dateOut = r.tdate;
    r.clockOut = r.clockIn;
    r.tdate = d;
    r.clockIn = t;
    count(ins_, key(d, t), 1);
    count(outs_, key(*r.dateOut, *r.clockOut), 1);
    byDate_.insert({d.days(), i});
    r.minutes = minutes;
    r.flagged = r.changed = true;
}

void ShiftMemory::write() {
    for (const Row& r : rows_) {
        if (r.rowid == 0) {
            // INSERT skips a row the table refuses: here that must not happen.
            requireOneRow(st_.insert.execute({r.empId, r.tdate, r.week, r.clockIn, r.dateOut, r.clockOut,
                                              MinutesToHours(r.minutes), MinutesRemainder(r.minutes)}));
        } else if (r.changed) {
            requireOneRow(st_.update.execute({r.tdate, r.clockIn, r.dateOut, r.clockOut, MinutesToHours(r.minutes),
                                              MinutesRemainder(r.minutes), r.rowid}));
        } else if (r.flagged && !r.wasFlagged) {
            requireOneRow(st_.flag.execute({r.rowid}));
        }
    }
}

} // namespace plax::pairing
