#include "HoursEngine.h"

#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <QElapsedTimer>
#include <QThread>

#include <map>

namespace plax {
namespace {

constexpr double kWeeklyStraightHours = 40.0;
// A transaction is committed once it has run this long, between employees.
constexpr qint64 kTransactionMs = 50;

// The statements of one run, prepared once and reused for every employee.
struct Statements {
    explicit Statements(db::Database& db)
        : employees(db.prepare(QStringLiteral("SELECT DISTINCT EmpID FROM [Time Attendance] "
                                              "WHERE Recalculate <> 0 ORDER BY EmpID"))),
          // Every shift of each flagged (date, week) of the employee, flagged
          // or not: a flag marks its whole day.
          shifts(db.prepare(QStringLiteral(
              "SELECT t.TDate, t.Week, t.ClockIn, SUM(t.TotalHrs * 60 + t.TotalMin) "
              "FROM (SELECT DISTINCT TDate, Week FROM [Time Attendance] WHERE EmpID = ?1 AND Recalculate <> 0) f CROSS "
              "JOIN [Time Attendance] t ON t.EmpID = ?1 AND t.TDate = f.TDate AND t.Week = f.Week "
              "GROUP BY t.TDate, t.Week, t.ClockIn ORDER BY t.TDate, t.Week, t.ClockIn"))),
          // The rows of the flagged days, looked for between the first and
          // the last flagged date.
          remove(db.prepare(QStringLiteral(
              "DELETE FROM [Hours Worked] WHERE EmpID = ?1 AND TDate BETWEEN ?2 AND ?3 AND EXISTS "
              "(SELECT 1 FROM [Time Attendance] f WHERE f.EmpID = ?1 AND f.TDate = [Hours Worked].TDate "
              "AND f.Week = [Hours Worked].Week AND f.Recalculate <> 0)"))),
          recorded(db.prepare(QStringLiteral("SELECT TDate, Week, [Straight Hrs], [OT Hrs] FROM [Hours Worked] "
                                             "WHERE EmpID = ? AND TDate BETWEEN ? AND ? ORDER BY TDate, Week"))),
          insert(db.prepare(QStringLiteral("INSERT INTO [Hours Worked] "
                                           "(EmpID, TDate, Week, [Straight Hrs], [OT Hrs], [DT Hrs]) "
                                           "VALUES (?, ?, ?, ?, ?, 0)"))),
          add(db.prepare(QStringLiteral("UPDATE [Hours Worked] SET [Straight Hrs] = ? + [Straight Hrs], "
                                        "[OT Hrs] = ? + [OT Hrs] WHERE EmpID = ? AND TDate = ? AND Week = ?"))),
          clear(db.prepare(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 0 "
                                          "WHERE EmpID = ? AND Recalculate <> 0"))) {}

    db::Query employees, shifts, remove, recorded, insert, add, clear;
};

struct Shift {
    CalDate date;
    db::Value dateValue; // the date as stored, converted once
    db::Value week;
    TimeOfDay clockIn;
    double hours = 0;
    CalDate day1, day7; // the window of its week
};

// One [Hours Worked] row of the employee.
struct Recorded {
    double straight = 0;
    double overtime = 0;
};

[[noreturn]] void typeMismatch() {
    throw db::DbError(db::err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
}

// Rebuilds every flagged day of one employee, in date and clock-in order,
// inside the caller's transaction (which holds the write lock, so nobody
// changes the employee's rows meanwhile).
void rebuildEmployee(Statements& st, const CompanySettings& s, const QString& id) {
    const db::Value emp(id);
    std::vector<Shift> shifts;
    db::Recordset rs = st.shifts.openRecordset({emp});
    for (; !rs.eof(); rs.moveNext()) {
        const auto date = rs.field(0).toDate();
        const auto clockIn = rs.field(2).toTime();
        const db::Value minutes = rs.field(3);
        if (!date || !clockIn || minutes.isNull())
            typeMismatch();
        shifts.push_back({*date, rs.field(0), rs.field(1), *clockIn, double(minutes.toInt()) / 60.0, {}, {}});
    }
    if (shifts.empty())
        return;

    // Every flagged day starts from zero, so no stale hours count as prior.
    st.remove.execute({emp, shifts.front().dateValue, shifts.back().dateValue});

    // The week window of each shift. A clock-in before the day start on a
    // week's first date belongs to the week before.
    CalDate first, last;
    for (Shift& sh : shifts) {
        sh.day1 = WeekStart(sh.date, s);
        sh.day7 = WeekEnd(sh.date, sh.clockIn, s);
        if (sh.day1 == sh.day7)
            sh.day1 = sh.day1.addDays(-7);
        if (&sh == &shifts.front() || sh.day1 < first)
            first = sh.day1;
        if (&sh == &shifts.front() || sh.day7 > last)
            last = sh.day7;
    }

    // The employee's [Hours Worked] rows of all those windows, kept up to date
    // below as rows are written: the write lock is held, so nobody else
    // changes them. The prior hours of a shift are summed from here exactly as
    // the rows would be summed in the table (by date, straight + overtime).
    std::map<std::pair<std::int32_t, qint64>, Recorded> recorded;
    db::Recordset rows = st.recorded.openRecordset({emp, db::Value(first), db::Value(last)});
    for (; !rows.eof(); rows.moveNext()) {
        const auto date = rows.field(0).toDate();
        if (!date)
            typeMismatch();
        recorded[{date->days(), rows.field(1).toInt()}] = {rows.field(2).toDouble(), rows.field(3).toDouble()};
    }

    for (const Shift& sh : shifts) {
        const qint64 week = sh.week.toInt();
        std::optional<double> prior;
        for (CalDate d = sh.day1; d <= sh.day7; d = d.addDays(1))
            if (const auto it = recorded.find({d.days(), week}); it != recorded.end())
                prior = prior.value_or(0.0) + (it->second.straight + it->second.overtime);
        const HoursSplit split = splitWeekHours(sh.hours, prior);

        // The day's row exists when it was left alone or an earlier shift of
        // the day was written in this run: then the hours are added to it.
        const auto [it, isNew] = recorded.try_emplace({sh.date.days(), week});
        if (isNew) {
            st.insert.execute({emp, sh.dateValue, sh.week, split.straight, split.overtime});
            it->second = {split.straight, split.overtime};
        } else {
            st.add.execute({split.straight, split.overtime, emp, sh.dateValue, sh.week});
            it->second = {split.straight + it->second.straight, split.overtime + it->second.overtime};
        }
    }
    // All of the employee's flagged days are rebuilt now.
    st.clear.execute({emp});
}

} // namespace

HoursSplit splitWeekHours(double h, std::optional<double> prior) {
    if (!prior || h + *prior < kWeeklyStraightHours)
        return {h, 0.0};
    const double rest = kWeeklyStraightHours - *prior;
    if (rest <= 0)
        return {0.0, h};
    return {rest, h - rest};
}

bool RecalcHoursWorked(db::Database& db, const CompanySettings& settings, const KeepAlive& keepAlive) {
    ui::WaitCursor wait;
    std::optional<db::Database::Transaction> tx;
    try {
        Statements st(db);
        QStringList employees;
        {
            db::Recordset rs = st.employees.openRecordset();
            for (; !rs.eof(); rs.moveNext())
                employees << rs.field(0).toString();
        }
        QElapsedTimer timer;
        for (const QString& emp : employees) {
            if (!tx) {
                tx.emplace(db);
                timer.start();
            }
            rebuildEmployee(st, settings, emp);
            if (timer.elapsed() >= kTransactionMs) {
                tx->commit();
                tx.reset();
                // Time for a waiting writer (a clock terminal, which tries
                // again every millisecond) to take the lock first.
                QThread::msleep(2);
                if (keepAlive)
                    keepAlive();
            }
        }
        if (tx)
            tx->commit();
        return true;
    } catch (const std::exception&) {
        // What was done stays done: keep it, never roll it back.
        try {
            if (tx && db.inTransaction())
                tx->commit();
        } catch (const std::exception&) {
        }
        return false;
    }
}

} // namespace plax
