#include "Recompute.h"

#include "core/common/Settings.h"
#include "core/types/WorkWeek.h"

#include <limits>

namespace plax::settings {
namespace {

const QString kCompanyKey = QStringLiteral("Company Settings");

// The caller hears about progress after this many rows.
constexpr int kProgressChunk = 2000;

class Ticker {
  public:
    Ticker(const RecomputeProgress& progress, int total) : progress_(progress), total_(total) {
        if (progress_)
            progress_(0, total_);
    }
    void step() {
        if (++done_ % kProgressChunk == 0 && progress_)
            progress_(done_, total_);
    }
    void finish() {
        if (progress_)
            progress_(total_, total_);
    }

  private:
    const RecomputeProgress& progress_;
    int total_;
    int done_ = 0;
};

// [Time Attendance] is read this many rows at a time: ten years of a
// company's clock data are never held whole.
constexpr int kChunkRows = 2000;

// The rows of [Time Attendance] that meet `condition`, with `columns`
// (the rowid after them), handed to `onRow` chunk by chunk in rowid order.
// `onRow` may rewrite the row it is given, never its rowid.
template <typename OnRow>
void forEachAttendanceRow(db::Database& db, const QString& columns, const QString& condition, OnRow onRow) {
    db::Query chunk =
        db.prepare(QStringLiteral("SELECT %1, rowid FROM [Time Attendance] WHERE rowid > ? %2 "
                                  "ORDER BY rowid LIMIT %3")
                       .arg(columns, condition.isEmpty() ? QString() : QStringLiteral("AND ") + condition)
                       .arg(kChunkRows));
    const int rowidField = int(columns.count(QLatin1Char(',')) + 1);
    db::Value after(std::numeric_limits<qint64>::min());
    for (;;) {
        db::Recordset rs = chunk.openRecordset({after});
        const int rows = rs.recordCount();
        for (; !rs.eof(); rs.moveNext()) {
            onRow(rs);
            after = rs.field(rowidField);
        }
        if (rows < kChunkRows)
            return;
    }
}

int attendanceRows(db::Database& db, const QString& condition = QString()) {
    return int(db.openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance]") +
                                (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition))
                   .field(0)
                   .toInt());
}

db::Recordset readDateWeeks(db::Database& db, const QString& table) {
    // Holidays has no other key than the date; absences are keyed by employee and date.
    return table == QLatin1String("Holidays")
               ? db.openRecordset(QStringLiteral("SELECT TDate, Week FROM Holidays"))
               : db.openRecordset(QStringLiteral("SELECT EmpID, TDate, Week FROM Absence"));
}

// A stored week that differs from `week` (Null differs from everything).
bool weekDiffers(const db::Value& stored, int week) {
    return stored.isNull() || stored.toInt() != week;
}

void attendanceWeeks(db::Database& db, const CompanySettings& s, Ticker& ticker, RecomputeCounts& counts) {
    db::Query update = db.prepare(QStringLiteral(
        "UPDATE [Time Attendance] SET Week = ? WHERE EmpID = ? AND TDate = ? AND ClockIn = ?"));
    forEachAttendanceRow(db, QStringLiteral("EmpID, TDate, ClockIn, Week"), QString(),
                         [&](const db::Recordset& rs) {
                             ++counts.rows;
                             ticker.step();
                             const auto tdate = rs.field(1).toDate();
                             const auto clockIn = rs.field(2).toTime();
                             if (!tdate || !clockIn)
                                 return; // no week can be told for a row without a readable date and time
                             const int week = WeekNumber(*tdate, *clockIn, s); // the week of its work date
                             if (!weekDiffers(rs.field(3), week))
                                 return;
                             update.execute({week, rs.field(0), rs.field(1), rs.field(2)});
                             ++counts.rewritten;
                         });
    db.execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 WHERE Recalculate = 0"));
}

void dateWeeks(db::Database& db, const QString& table, db::Recordset& rs, const CompanySettings& s,
               Ticker& ticker, RecomputeCounts& counts) {
    const bool holidays = table == QLatin1String("Holidays");
    db::Query update =
        db.prepare(holidays ? QStringLiteral("UPDATE Holidays SET Week = ? WHERE TDate = ?")
                            : QStringLiteral("UPDATE Absence SET Week = ? WHERE EmpID = ? AND TDate = ?"));
    const QString dateField = QStringLiteral("TDate");
    const QString weekField = QStringLiteral("Week");
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        ++counts.rows;
        ticker.step();
        const auto tdate = rs.field(dateField).toDate();
        if (!tdate)
            continue;
        const int week = WeekNumber(*tdate, s);
        if (!weekDiffers(rs.field(weekField), week))
            continue;
        if (holidays)
            update.execute({week, rs.field(dateField)});
        else
            update.execute({week, rs.field(QStringLiteral("EmpID")), rs.field(dateField)});
        ++counts.rewritten;
    }
}

const QString kClosedShifts = QStringLiteral("DateOut IS NOT NULL AND ClockOut IS NOT NULL");

// Closed shifts get their totals under s.RoundTotal and the recalculation
// flag; inside the caller's transaction.
void shiftTotals(db::Database& db, const CompanySettings& s, Ticker& ticker, RecomputeCounts& counts) {
    db::Query update = db.prepare(QStringLiteral("UPDATE [Time Attendance] SET TotalHrs = ?, TotalMin = ? "
                                                 "WHERE EmpID = ? AND TDate = ? AND ClockIn = ?"));
    forEachAttendanceRow(
        db, QStringLiteral("EmpID, TDate, ClockIn, DateOut, ClockOut, TotalHrs, TotalMin"), kClosedShifts,
        [&](const db::Recordset& rs) {
            ++counts.rows;
            ticker.step();
            const auto tdate = rs.field(1).toDate();
            const auto clockIn = rs.field(2).toTime();
            const auto dateOut = rs.field(3).toDate();
            const auto clockOut = rs.field(4).toTime();
            if (!tdate || !clockIn || !dateOut || !clockOut)
                return; // a length cannot be told; the row keeps its totals
            // 32-bit minutes: a shift of any length keeps hours and minutes that agree.
            const std::int32_t m = ShiftMinutes(*tdate, *clockIn, *dateOut, *clockOut, s);
            const std::int32_t hrs = MinutesToHours(m);
            const std::int32_t min = MinutesRemainder(m);
            if (rs.field(5).toInt() == hrs && rs.field(6).toInt() == min)
                return;
            update.execute({qint64(hrs), qint64(min), rs.field(0), rs.field(1), rs.field(2)});
            ++counts.rewritten;
        });
    db.execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 WHERE %1 AND Recalculate = 0")
                   .arg(kClosedShifts));
}

} // namespace

RecomputeCounts RecomputeShiftTotals(db::Database& db, const CompanySettings& s,
                                     const RecomputeProgress& progress) {
    RecomputeCounts counts;
    db::Database::Transaction tx(db);
    Ticker ticker(progress, attendanceRows(db, kClosedShifts));
    shiftTotals(db, s, ticker, counts);
    tx.commit();
    ticker.finish();
    return counts;
}

RecomputeCounts ApplyRoundTotal(db::Database& db, CompanySettings& s, const QString& typed, int unit,
                                const RecomputeProgress& progress) {
    CompanySettings next = s;
    next.RoundTotal = unit;
    RecomputeCounts counts;
    {
        db::Database::Transaction tx(db);
        SaveRegValue(db, kCompanyKey, QStringLiteral("RoundTotal"), typed);
        Ticker ticker(progress, attendanceRows(db, kClosedShifts));
        shiftTotals(db, next, ticker, counts);
        tx.commit();
        ticker.finish();
    }
    s.RoundTotal = unit;
    return counts;
}

RecomputeCounts ApplyWorkDay(db::Database& db, CompanySettings& s, int workDay,
                             const RecomputeProgress& progress) {
    CompanySettings next = s;
    next.WorkDay = workDay;
    RecomputeCounts counts;
    {
        db::Database::Transaction tx(db);
        SaveRegValue(db, kCompanyKey, QStringLiteral("WorkDay"), QString::number(workDay));
        db::Recordset absence = readDateWeeks(db, QStringLiteral("Absence"));
        db::Recordset holidays = readDateWeeks(db, QStringLiteral("Holidays"));
        Ticker ticker(progress, attendanceRows(db) + absence.recordCount() + holidays.recordCount());
        attendanceWeeks(db, next, ticker, counts);
        dateWeeks(db, QStringLiteral("Absence"), absence, next, ticker, counts);
        dateWeeks(db, QStringLiteral("Holidays"), holidays, next, ticker, counts);
        db.execute(QStringLiteral("DELETE FROM [Hours Worked]"));
        tx.commit();
        ticker.finish();
    }
    s.WorkDay = workDay;
    return counts;
}

RecomputeCounts ApplyDayStart(db::Database& db, CompanySettings& s, TimeOfDay dayStart,
                              const RecomputeProgress& progress) {
    CompanySettings next = s;
    next.setDayStart(dayStart);
    RecomputeCounts counts;
    {
        db::Database::Transaction tx(db);
        SaveRegValue(db, kCompanyKey, QStringLiteral("DayStartTime"), dayStart.toHm());
        Ticker ticker(progress, attendanceRows(db));
        attendanceWeeks(db, next, ticker, counts);
        db.execute(QStringLiteral("DELETE FROM [Hours Worked]"));
        tx.commit();
        ticker.finish();
    }
    s.setDayStart(dayStart);
    return counts;
}

} // namespace plax::settings
