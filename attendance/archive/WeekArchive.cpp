#include "WeekArchive.h"

#include "core/schema/CompanySchema.h"
#include "core/types/WorkWeek.h"

#include <QFile>
#include <QFileInfo>

namespace plax::archive {
namespace {

using db::DbError;
using db::Params;
using db::Recordset;
using db::Value;
using db::sql::placeholders;
namespace err = db::err;

const QString kAttendanceColumns =
    QStringLiteral("EmpID, TDate, Week, ClockIn, DateOut, ClockOut, TotalHrs, TotalMin, Recalculate");
const QString kAbsenceColumns = QStringLiteral("EmpID, TDate, Week, Reason, [Hours Paid]");
const QString kWeekRows = QStringLiteral("TDate BETWEEN ? AND ? AND Week = ?");
const QString kDateRows = QStringLiteral("TDate BETWEEN ? AND ?");

// An absence has a date and no time: the week holds those of its own seven
// dates, though its shifts may run to the day after.
Params absenceDates(const ArchiveWeek& w) { return {w.first, w.first.addDays(6)}; }

[[noreturn]] void fail(const QString& text) { throw DbError(err::General, text); }

Params rowValues(const Recordset& rs) {
    Params p;
    for (int i = 0; i < rs.fieldCount(); ++i)
        p.push_back(rs.field(i));
    return p;
}

void copyRows(db::Database& to, const QString& table, const QString& columns, Recordset& rows) {
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns, placeholders(rows.fieldCount()));
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        to.executeStrict(sql, rowValues(rows));
}

// The archive holds exactly the rows read from the company database.
void verifyRows(db::Database& arc, const QString& table, const QString& columns, Recordset& expected) {
    Recordset got = arc.openRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columns, table));
    if (got.recordCount() != expected.recordCount())
        fail(QStringLiteral("The archive holds %1 rows of %2 instead of %3.")
                 .arg(got.recordCount())
                 .arg(table)
                 .arg(expected.recordCount()));
    for (expected.moveFirst(); !expected.eof(); expected.moveNext(), got.moveNext())
        if (rowValues(got) != rowValues(expected))
            fail(QStringLiteral("A row of %1 was not written to the archive as it stands.").arg(table));
}

void writeArchive(const QString& file, const CompanySettings& s, Recordset& attendance, Recordset& absences) {
    std::unique_ptr<db::Database> arc = db::Database::create(file);
    // One self-contained file: no journal beside it once it is closed.
    arc->executeScript(QStringLiteral("PRAGMA journal_mode=DELETE;\nPRAGMA user_version = %1;\n")
                           .arg(schema::kSchemaVersion) +
                       archiveSchema());
    {
        db::Database::Transaction tx(*arc);
        copyRows(*arc, QStringLiteral("[Time Attendance]"), kAttendanceColumns, attendance);
        copyRows(*arc, QStringLiteral("Absence"), kAbsenceColumns, absences);
        arc->executeStrict(QStringLiteral("INSERT INTO Info (WorkDay, DayStartTime, RoundTotal) VALUES (?, ?, ?)"),
                           {s.WorkDay, s.DayStartTime, s.RoundTotal});
        tx.commit();
    }
    arc->close();

    std::unique_ptr<db::Database> check = db::Database::open(file, false, true);
    verifyRows(*check, QStringLiteral("[Time Attendance]"), kAttendanceColumns, attendance);
    verifyRows(*check, QStringLiteral("Absence"), kAbsenceColumns, absences);
}

// Inserts the rows of the archive at `path` into `company`, inside the
// caller's transaction, as a restore treats them.
RestoreResult putBack(db::Database& company, const CompanySettings& s, const QString& path);

} // namespace

std::optional<ArchiveWeek> weekOfEntry(const QString& entry, const CompanySettings& s) {
    const int arrow = entry.indexOf(QStringLiteral("-->"));
    if (arrow < 0)
        return std::nullopt;
    const auto first = parseDate(entry.left(arrow).trimmed());
    const auto last = parseDate(entry.mid(arrow + 4).trimmed());
    if (!first || !last)
        return std::nullopt;
    return ArchiveWeek{*first, *last, WeekNumber(first->addDays(1), s)};
}

QString archiveSchema() {
    return QStringLiteral(
        "CREATE TABLE [Time Attendance] (EmpID TEXT, TDate TEXT, Week INTEGER, ClockIn TEXT, DateOut TEXT,\n"
        "    ClockOut TEXT, TotalHrs INTEGER, TotalMin INTEGER, Recalculate INTEGER);\n"
        "CREATE TABLE Absence (EmpID TEXT, TDate TEXT, Week INTEGER, Reason TEXT, [Hours Paid] REAL);\n"
        "CREATE TABLE Info (WorkDay INTEGER, DayStartTime TEXT, RoundTotal INTEGER);\n");
}

ArchiveCounts archiveWeek(db::Database& company, const CompanySettings& s, const QString& path,
                          const ArchiveWeek& w) {
    const Params week{w.first, w.last, w.week};
    const Params dates = absenceDates(w);
    const QString side = newArchiveOf(path);
    // A move of the week cut off earlier is finished or undone first.
    settleArchiveMoves(company, QFileInfo(path).absolutePath());

    std::optional<PendingMove> move;
    ArchiveCounts counts;
    try {
        // The write lock keeps the clock terminal from adding rows to the
        // week between the copy and the delete.
        db::Database::Transaction tx(company);
        // An earlier archive of the week: its rows come back first (a row
        // the company database holds again is not doubled), so the new file
        // holds the whole week.
        if (QFile::exists(path))
            putBack(company, s, path);
        Recordset attendance = company.openRecordset(QStringLiteral("SELECT %1 FROM [Time Attendance] WHERE %2 "
                                                                    "ORDER BY EmpID, TDate, ClockIn")
                                                         .arg(kAttendanceColumns, kWeekRows),
                                                     week);
        Recordset absences = company.openRecordset(
            QStringLiteral("SELECT %1 FROM Absence WHERE %2 ORDER BY EmpID, TDate").arg(kAbsenceColumns, kDateRows),
            dates);
        writeArchive(side, s, attendance, absences);
        moveStep(MoveStep::FileWritten);

        counts.hoursWorked = company.executeStrict(QStringLiteral("DELETE FROM [Hours Worked] WHERE ") + kWeekRows, week);
        counts.attendance =
            company.executeStrict(QStringLiteral("DELETE FROM [Time Attendance] WHERE ") + kWeekRows, week);
        counts.absences = company.executeStrict(QStringLiteral("DELETE FROM Absence WHERE ") + kDateRows, dates);
        if (counts.attendance != attendance.recordCount() || counts.absences != absences.recordCount())
            fail(QStringLiteral("The rows of the week changed while they were archived."));

        // The commit decides: the new file takes the old one's place after
        // it, and is dropped when there is none.
        move.emplace(company, path, Move::Archive);
        tx.commit();
    } catch (...) {
        if (move)
            move->abandon();
        QFile::remove(side);
        throw;
    }
    move->finish();
    return counts;
}

namespace {

struct InfoFlags {
    bool noInfo = false;
    bool weekChanged = false;
    bool roundingChanged = false;
};

InfoFlags readInfo(db::Database& arc, const CompanySettings& s) {
    InfoFlags f;
    Recordset info;
    try {
        info = arc.openRecordset(QStringLiteral("SELECT * FROM Info"));
    } catch (const DbError& e) {
        if (e.number() != err::NoSuchTable)
            throw;
        f.noInfo = true;
        return f;
    }
    info.moveFirst();
    const Value workDay = info.field(QStringLiteral("WorkDay"));
    const Value dayStart = info.field(QStringLiteral("DayStartTime"));
    const Value rounding = info.field(QStringLiteral("RoundTotal"));
    // A Null value counts as no difference.
    bool startChanged = false;
    if (!dayStart.isNull()) {
        const auto t = dayStart.toTime();
        if (!t)
            throw DbError(err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
        startChanged = *t != s.DayStartTime;
    }
    f.weekChanged = (!workDay.isNull() && workDay.toInt() != s.WorkDay) || startChanged;
    f.roundingChanged = !rounding.isNull() && rounding.toInt() != s.RoundTotal;
    return f;
}

CalDate dateOf(const Value& v) {
    const auto d = v.toDate();
    if (!d)
        throw DbError(err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
    return *d;
}

TimeOfDay timeOf(const Value& v) {
    const auto t = v.toTime();
    if (!t)
        throw DbError(err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
    return *t;
}

// A row that would duplicate a live row is left out; anything else fails.
int insertRow(db::Database& company, const QString& sql, const Params& values) {
    try {
        return company.executeStrict(sql, values);
    } catch (const DbError& e) {
        if (e.number() == err::DuplicateKey)
            return 0;
        throw;
    }
}

// A row of an archive of the older layout whose week the upgrade changes:
// the week it now belongs to, where it starts being marked.
struct MovedRow {
    Value empId;
    CalDate tdate;
    TimeOfDay clockIn;
    int week;
};

// The archived week of a row kept as stored (ways C and D); in an archive
// of the older layout, the week the company file's upgrade gives it.
Value keptWeek(const Recordset& rows, const CompanySettings& s, bool olderLayout, std::vector<MovedRow>& moved) {
    Value week = rows.field(QStringLiteral("Week"));
    if (!olderLayout || week.isNull())
        return week;
    const CalDate d = dateOf(rows.field(QStringLiteral("TDate")));
    const TimeOfDay in = timeOf(rows.field(QStringLiteral("ClockIn")));
    const int upgraded = schema::upgradedWeek(d, in, int(week.toInt()), s);
    if (upgraded == week.toInt())
        return week;
    moved.push_back({rows.field(QStringLiteral("EmpID")), d, in, upgraded});
    return upgraded;
}

int restoreAttendance(db::Database& company, const CompanySettings& s, Recordset& rows, RestoreWay way,
                      bool olderLayout) {
    const bool newWeeks = way == RestoreWay::A || way == RestoreWay::B;
    const bool newTotals = way == RestoreWay::A || way == RestoreWay::C;
    std::vector<MovedRow> moved;
    int written = 0;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        const Value empId = rows.field(QStringLiteral("EmpID"));
        if (way == RestoreWay::D) {
            Params all;
            for (const QString& c : kAttendanceColumns.split(QStringLiteral(", ")))
                all.push_back(rows.field(c));
            if (const Value week = keptWeek(rows, s, olderLayout, moved); !(week == all[2])) {
                all[2] = week;
                all[8] = 1; // its hours count in another week now
            }
            written += insertRow(company,
                                 QStringLiteral("INSERT INTO [Time Attendance] (%1) VALUES (%2)")
                                     .arg(kAttendanceColumns, placeholders(9)),
                                 all);
            continue;
        }
        const CalDate d = dateOf(rows.field(QStringLiteral("TDate")));
        const TimeOfDay in = timeOf(rows.field(QStringLiteral("ClockIn")));
        const Value week = newWeeks ? Value(WeekNumber(d, in, s)) : keptWeek(rows, s, olderLayout, moved);
        const Value dateOut = rows.field(QStringLiteral("DateOut"));
        const Value clockOut = rows.field(QStringLiteral("ClockOut"));
        // Recalculate is left to its default: every restored row is marked.
        if (dateOut.isNull() || clockOut.isNull()) {
            written += insertRow(company,
                                 QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, ClockIn, Week, "
                                                "TotalHrs, TotalMin) VALUES (?, ?, ?, ?, 0, 0)"),
                                 {empId, d, in, week});
            continue;
        }
        const CalDate out = dateOf(dateOut);
        const TimeOfDay outTime = timeOf(clockOut);
        Value hours = rows.field(QStringLiteral("TotalHrs"));
        Value minutes = rows.field(QStringLiteral("TotalMin"));
        if (newTotals) {
            const std::int32_t m = ShiftMinutes(d, in, out, outTime, s);
            hours = MinutesToHours(m);
            minutes = MinutesRemainder(m);
        }
        written += insertRow(company,
                             QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, ClockIn, DateOut, ClockOut, "
                                            "Week, TotalHrs, TotalMin) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                             {empId, d, in, out, outTime, week, hours, minutes});
    }
    // The hours engine splits the rest of the week a row moved into again.
    for (const MovedRow& m : moved)
        company.executeStrict(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 WHERE EmpID = ? AND ") +
                                  kWeekRows,
                              {m.empId, m.tdate, WeekEnd(m.tdate, m.clockIn, s), m.week});
    return written;
}

int restoreAbsences(db::Database& company, const CompanySettings& s, Recordset& rows, bool newWeeks) {
    int written = 0;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        Params p = rowValues(rows);
        if (newWeeks)
            p[2] = WeekNumber(dateOf(p[1]), s);
        written += insertRow(
            company, QStringLiteral("INSERT INTO Absence (%1) VALUES (%2)").arg(kAbsenceColumns, placeholders(5)), p);
    }
    return written;
}

RestoreResult putBack(db::Database& company, const CompanySettings& s, const QString& path) {
    std::unique_ptr<db::Database> arc = db::Database::open(path, false, true);
    RestoreResult r;
    const InfoFlags f = readInfo(*arc, s);
    r.noInfo = f.noInfo;
    r.way = f.noInfo || (f.weekChanged && f.roundingChanged) ? RestoreWay::A
            : f.weekChanged                                   ? RestoreWay::B
            : f.roundingChanged                               ? RestoreWay::C
                                                              : RestoreWay::D;
    const bool olderLayout =
        arc->openRecordset(QStringLiteral("PRAGMA user_version")).field(0).toInt() < schema::kSchemaVersion;
    Recordset attendance = arc->openRecordset(QStringLiteral("SELECT * FROM [Time Attendance] ORDER BY rowid"));
    // An archive without Info may lack the absence table; one with Info
    // must have it.
    std::optional<Recordset> absences;
    if (!f.noInfo || arc->tableExists(QStringLiteral("Absence")))
        absences = arc->openRecordset(QStringLiteral("SELECT %1 FROM Absence ORDER BY rowid").arg(kAbsenceColumns));
    arc->close();

    r.attendance = restoreAttendance(company, s, attendance, r.way, olderLayout);
    if (absences)
        r.absences = restoreAbsences(company, s, *absences, r.way == RestoreWay::A || r.way == RestoreWay::B);
    return r;
}

} // namespace

RestoreResult restoreWeek(db::Database& company, const CompanySettings& s, const QString& path,
                          const ArchiveWeek& w) {
    // A move of the week cut off earlier is finished or undone first.
    settleArchiveMoves(company, QFileInfo(path).absolutePath());
    if (!QFile::exists(path))
        throw DbError(err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    std::optional<PendingMove> move;
    RestoreResult r;
    try {
        db::Database::Transaction tx(company);
        r = putBack(company, s, path);
        company.executeStrict(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 WHERE ") + kWeekRows,
                              {w.first, w.last, w.week});
        // The commit decides: the file is deleted after it, and stays when
        // there is none.
        move.emplace(company, path, Move::Restore);
        tx.commit();
    } catch (...) {
        if (move)
            move->abandon();
        throw;
    }
    move->finish();
    return r;
}

} // namespace plax::archive
