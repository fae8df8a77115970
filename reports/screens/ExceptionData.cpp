#include "ExceptionData.h"

#include "ReportTables.h"
#include "core/types/WorkWeek.h"

#include <algorithm>

namespace plax::reports {
namespace {

const QString kTable = QStringLiteral("Exceptions");

// The employees a pass covers, as a condition on [Time Attendance].EmpID.
bool employeeCondition(const ExceptionChoice& c, QString& sql, db::Params& params) {
    switch (c.kind) {
    case ExceptionChoice::AllEmployees:
        sql = QStringLiteral(" AND EmpID IN (SELECT ID FROM Employee WHERE Status = 1)");
        return true;
    case ExceptionChoice::Employee:
        sql = QStringLiteral(" AND EmpID = ?"); // active or not
        params.push_back(c.key);
        return true;
    case ExceptionChoice::Department:
        sql = QStringLiteral(" AND EmpID IN (SELECT ID FROM Employee WHERE DepartmentNo = ? AND Status = 1)");
        params.push_back(c.key);
        return true;
    case ExceptionChoice::None:
        break;
    }
    return false;
}

// The dates and number of one week's rows whose work date lies in the
// period: with the week's last day, the shifts begun before the day start
// on the morning after.
db::Params weekRows(const ExceptionPeriod& p, const PayWeek& w) {
    return {std::max(p.first, w.first), w.lastShiftDateUpTo(p.last), w.number};
}

std::vector<ScheduleDayRow> scheduleDays(db::Database& db, const QString& scheduleNo) {
    std::vector<ScheduleDayRow> rows;
    db::Recordset rs = db.openRecordset(
        QStringLiteral(
            "SELECT TheDay, StartTime, EndTime FROM [Schedule Days] WHERE ScheduleNo = ? ORDER BY rowid"),
        {scheduleNo});
    for (; !rs.eof(); rs.moveNext()) {
        const auto start = rs["StartTime"].toTime();
        const auto end = rs["EndTime"].toTime();
        if (start && end) // a day without times is no scheduled day
            rows.push_back({int(rs["TheDay"].toInt()), *start, *end});
    }
    return rows;
}

} // namespace

void CreateExceptionsTable(db::Database& db) {
    try {
        createWorkTable(db, kTable,
                        QStringLiteral("EmpID TEXT COLLATE NOCASE, TDate TEXT, Week INTEGER, "
                                       "ClockIn TEXT, DateOut TEXT, ClockOut TEXT, "
                                       "TotalHrs INTEGER, TotalMin INTEGER, Exception TEXT, "
                                       "CONSTRAINT PrimaryKey UNIQUE (EmpID, TDate, ClockIn, Exception)"));
    } catch (const db::DbError& e) {
        if (e.number() != db::err::TableExists)
            throw;
    }
    // What "Excpt.rpt" reads: each row once, with the reason in words (two
    // kinds of row carry no code). A shift both outside its schedule and
    // spread over days is listed once, as a multi-day shift.
    db.executeStrict(
        QStringLiteral("CREATE TEMP VIEW IF NOT EXISTS ExceptionList AS SELECT DISTINCT EmpID, TDate, Week, "
                       "ClockIn, DateOut, ClockOut, TotalHrs, TotalMin, Exception, CASE "
                       "WHEN Exception = 'I' AND ClockOut IS NULL THEN 'Missing punch' "
                       "WHEN Exception = 'I' THEN 'Zero hours' "
                       "WHEN DateOut IS NOT NULL AND %1 > 1 THEN 'Multi-day shift' "
                       "ELSE 'Outside schedule' END AS Reason FROM Exceptions")
            .arg(db::sql::daysBetween(QStringLiteral("TDate"), QStringLiteral("DateOut"))));
}

bool DropExceptionsTable(db::Database& db) {
    try {
        db.executeStrict(QStringLiteral("DROP VIEW IF EXISTS temp.ExceptionList"));
    } catch (const db::DbError&) {
    }
    return dropWorkTable(db, kTable);
}

std::optional<ExceptionPeriod> payPeriodOf(const QString& payPeriodText, const CompanySettings& s) {
    const auto d = parseDate(payPeriodText);
    if (!d)
        return std::nullopt;
    const PayWeek w = PayWeekOf(*d, s);
    return ExceptionPeriod{w.first, w.lastDay(), {w}};
}

ExceptionPeriod dateRangeOf(CalDate from, CalDate to, const CompanySettings& s) {
    return {from, to, PayWeeksBetween(from, to, s)};
}

void BuildExceptions(db::Database& db, const ExceptionPeriod& period, const ExceptionChoice& choice,
                     const CompanySettings& s) {
    // Made again if the program has reopened its database since the screen
    // made it (an existing table counts as made).
    CreateExceptionsTable(db);
    db::Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM Exceptions"));
    try {
        AddIncompleteExceptions(db, period, choice);
    } catch (const db::DbError&) {
        // this pass ignores its failures
    }
    AddScheduleExceptions(db, period, choice, s);
    AddMultiDayExceptions(db);
    tx.commit();
}

void AddIncompleteExceptions(db::Database& db, const ExceptionPeriod& period, const ExceptionChoice& choice) {
    QString who;
    db::Params whom;
    if (!employeeCondition(choice, who, whom))
        return;
    db::Query insert = db.prepare(
        QStringLiteral("INSERT INTO Exceptions (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, TotalHrs, "
                       "TotalMin, Exception) SELECT EmpID, TDate, Week, ClockIn, DateOut, ClockOut, "
                       "TotalHrs, TotalMin, 'I' FROM [Time Attendance] "
                       "WHERE (TotalHrs <= 0 AND TotalMin <= 0) AND TDate BETWEEN ? AND ? AND Week = ?") +
        who);
    for (const PayWeek& w : period.weeks) {
        db::Params params = weekRows(period, w);
        params.insert(params.end(), whom.begin(), whom.end());
        insert.execute(params);
    }
}

bool shiftKeepsSchedule(const CompletedShift& shift, const std::vector<ScheduleDayRow>& days, int graceP) {
    const int d = shift.tdate.weekday();
    if (const ScheduleDayRow* row = findScheduleDay(days, d)) {
        const ScheduleWindow w = windowOf(*row, graceP);
        if (!w.overnight) {
            if (w.contains(shift.clockIn) && w.contains(shift.clockOut))
                return true;
        } else if (w.notBeforeStart(shift.clockIn)) {
            const int outDay = shift.dateOut.weekday();
            if (outDay == d && w.notBeforeStart(shift.clockOut))
                return true;
            if (outDay == nextWeekday(d) && w.notAfterEnd(shift.clockOut))
                return true;
        }
    }
    // The tail of the previous evening's overnight shift.
    if (const ScheduleDayRow* prev = findScheduleDay(days, previousWeekday(d))) {
        const ScheduleWindow w = windowOf(*prev, graceP);
        if (w.overnight && w.notAfterEnd(shift.clockIn) && w.notAfterEnd(shift.clockOut))
            return true;
    }
    return false;
}

void AddScheduleExceptions(db::Database& db, const ExceptionPeriod& period, const ExceptionChoice& choice,
                           const CompanySettings& s) {
    QString where;
    db::Params params;
    switch (choice.kind) {
    case ExceptionChoice::AllEmployees:
        where = QStringLiteral("WHERE ScheduleNo <> '000' AND Status = 1");
        break;
    case ExceptionChoice::Employee:
        where = QStringLiteral("WHERE ID = ? AND ScheduleNo <> '000'");
        params.push_back(choice.key);
        break;
    case ExceptionChoice::Department:
        where = QStringLiteral("WHERE ScheduleNo <> '000' AND Status = 1 AND DepartmentNo = ?");
        params.push_back(choice.key);
        break;
    case ExceptionChoice::None:
        return; // no choice, no scan (as for the "I" rows)
    }
    db::Recordset employees =
        db.openRecordset(QStringLiteral("SELECT ID, ScheduleNo FROM Employee ") + where, params);
    db::Query shifts = db.prepare(QStringLiteral(
        "SELECT * FROM [Time Attendance] WHERE EmpID = ? AND TDate BETWEEN ? AND ? AND Week = ? AND "
        "DateOut IS NOT NULL AND ClockOut IS NOT NULL ORDER BY TDate, ClockIn"));
    db::Query insert =
        db.prepare(QStringLiteral("INSERT INTO Exceptions (EmpID, TDate, Week, ClockIn, DateOut, "
                                  "ClockOut, TotalHrs, TotalMin) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (; !employees.eof(); employees.moveNext()) {
        const std::vector<ScheduleDayRow> days = scheduleDays(db, employees["ScheduleNo"].toString());
        for (const PayWeek& w : period.weeks) {
            db::Params params{employees["ID"]};
            const db::Params rows = weekRows(period, w);
            params.insert(params.end(), rows.begin(), rows.end());
            db::Recordset rs = shifts.openRecordset(params);
            for (; !rs.eof(); rs.moveNext()) {
                const auto tdate = rs["TDate"].toDate();
                const auto in = rs["ClockIn"].toTime();
                const auto dateOut = rs["DateOut"].toDate();
                const auto out = rs["ClockOut"].toTime();
                if (tdate && in && dateOut && out &&
                    shiftKeepsSchedule({*tdate, *in, *dateOut, *out}, days, s.GraceP))
                    continue;
                insert.execute({rs["EmpID"], rs["TDate"], w.number, rs["ClockIn"], rs["DateOut"],
                                rs["ClockOut"], rs["TotalHrs"], rs["TotalMin"]});
            }
        }
    }
}

void AddMultiDayExceptions(db::Database& db) {
    // Every such shift of the whole table, whatever the period or choice.
    db.execute(
        QStringLiteral("INSERT INTO Exceptions (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, TotalHrs, "
                       "TotalMin) SELECT EmpID, TDate, Week, ClockIn, DateOut, ClockOut, TotalHrs, TotalMin "
                       "FROM [Time Attendance] WHERE DateOut IS NOT NULL AND ") +
        db::sql::daysBetween(QStringLiteral("TDate"), QStringLiteral("DateOut")) + QStringLiteral(" > 1"));
}

} // namespace plax::reports
