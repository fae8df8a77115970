#include "HoursEngine.h"

#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace plax {
namespace {

constexpr double kWeeklyStraightHours = 40.0;
// A transaction is committed once it has run this long, between employees.
constexpr qint64 kTransactionMs = 50;

// The statements of one run, prepared once and reused for every employee.
// The flagged rows are looked for through their own index, named here: a
// customer's file has no statistics, and without them the engine would walk
// each flagged employee's whole history by another index.
struct Statements {
    Statements(db::Database& db, const QString& flagged)
        : firstEmployee(db.prepare(QStringLiteral("SELECT EmpID FROM [Time Attendance] %1 "
                                                  "WHERE Recalculate <> 0 ORDER BY EmpID LIMIT 1")
                                       .arg(flagged))),
          // The flagged employees one by one, each found by one step through
          // the index, never by reading every flagged row of those before.
          nextEmployee(db.prepare(QStringLiteral("SELECT EmpID FROM [Time Attendance] %1 "
                                                 "WHERE Recalculate <> 0 AND EmpID > ? ORDER BY EmpID LIMIT 1")
                                      .arg(flagged))),
          // The employee's flagged shifts.
          flaggedShifts(db.prepare(QStringLiteral("SELECT TDate, Week, ClockIn, TotalHrs * 60 + TotalMin "
                                                  "FROM [Time Attendance] %1 WHERE EmpID = ? AND Recalculate <> 0")
                                       .arg(flagged))),
          // How many shifts the employee has in a range of dates (read from
          // an index alone), and the shifts themselves.
          countShifts(db.prepare(QStringLiteral("SELECT count(*) FROM [Time Attendance] "
                                                "WHERE EmpID = ? AND TDate BETWEEN ? AND ?"))),
          shifts(db.prepare(QStringLiteral("SELECT TDate, Week, ClockIn, TotalHrs * 60 + TotalMin "
                                           "FROM [Time Attendance] WHERE EmpID = ? AND TDate BETWEEN ? AND ?"))),
          remove(db.prepare(QStringLiteral("DELETE FROM [Hours Worked] WHERE EmpID = ? AND TDate = ? AND Week = ?"))),
          recorded(db.prepare(QStringLiteral("SELECT TDate, Week, [Straight Hrs], [OT Hrs] FROM [Hours Worked] "
                                             "WHERE EmpID = ? AND TDate BETWEEN ? AND ?"))),
          insert(db.prepare(QStringLiteral("INSERT INTO [Hours Worked] "
                                           "(EmpID, TDate, Week, [Straight Hrs], [OT Hrs], [DT Hrs]) "
                                           "VALUES (?, ?, ?, ?, ?, 0)"))),
          insertMany(db.prepare(QStringLiteral("INSERT INTO [Hours Worked] "
                                               "(EmpID, TDate, Week, [Straight Hrs], [OT Hrs], [DT Hrs]) VALUES ") +
                                QStringList(kRowsPerInsert, QStringLiteral("(?, ?, ?, ?, ?, 0)"))
                                    .join(QStringLiteral(", ")))),
          clear(db.prepare(QStringLiteral("UPDATE [Time Attendance] %1 SET Recalculate = 0 "
                                          "WHERE EmpID = ? AND Recalculate <> 0")
                               .arg(flagged))) {}

    // [Hours Worked] rows are written this many to a statement.
    static constexpr std::size_t kRowsPerInsert = 64;
    db::Query firstEmployee, nextEmployee, flaggedShifts, countShifts, shifts, remove, recorded, insert, insertMany, clear;
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

// Rebuilds every flagged day of one employee, in date and clock-in order,
// inside the caller's transaction (which holds the write lock, so nobody
// changes the employee's rows meanwhile).
void rebuildEmployee(Statements& st, const CompanySettings& s, const QString& id) {
    const db::Value emp(id);
    // A flag marks its whole day: every shift of a flagged date and week is
    // rebuilt, flagged or not. (TDate, ClockIn) is unique per employee, so a
    // shift is one row. The shifts are kept in date, week and clock-in
    // order: each shift's split sees the hours of those before it.
    std::map<std::tuple<std::int32_t, qint64, int>, Shift> shifts;
    std::set<std::pair<std::int32_t, qint64>> days; // the flagged days
    std::map<std::int32_t, int> flaggedOn;         // flagged rows by date
    const auto take = [&shifts](const db::Recordset& rs, CalDate date) {
        const auto clockIn = rs.field(2).toTime();
        const db::Value minutes = rs.field(3);
        if (!clockIn || minutes.isNull())
            throw db::typeMismatch();
        shifts.try_emplace({date.days(), rs.field(1).toInt(), clockIn->minutes()},
                           Shift{date, rs.field(0), rs.field(1), *clockIn, double(minutes.toInt()) / 60.0, {}, {}});
    };
    {
        db::Recordset rs = st.flaggedShifts.openRecordset({emp});
        for (; !rs.eof(); rs.moveNext()) {
            const auto date = rs.field(0).toDate();
            if (!date)
                throw db::typeMismatch();
            ++flaggedOn[date->days()];
            if (rs.field(1).isNull()) // a row without a week is no week's shift
                continue;
            days.insert({date->days(), rs.field(1).toInt()});
            take(rs, *date);
        }
    }
    // The unflagged shifts of those days, looked for by runs of flagged
    // dates at most a week apart: read only where a run holds more rows than
    // its flagged ones (after an import it seldom does).
    for (auto day = flaggedOn.begin(); day != flaggedOn.end();) {
        const std::int32_t from = day->first;
        std::int32_t to = from;
        int flaggedRows = 0;
        for (; day != flaggedOn.end() && day->first <= to + 7; ++day) {
            to = day->first;
            flaggedRows += day->second;
        }
        const db::Params range{emp, CalDate::fromDays(from), CalDate::fromDays(to)};
        if (st.countShifts.scalar(range).toInt() == flaggedRows)
            continue;
        db::Recordset rs = st.shifts.openRecordset(range);
        for (; !rs.eof(); rs.moveNext()) {
            const auto date = rs.field(0).toDate();
            if (!rs.field(1).isNull() && date && days.count({date->days(), rs.field(1).toInt()}))
                take(rs, *date);
        }
    }
    if (shifts.empty())
        return;

    // The week window of each shift. A clock-in before the day start on a
    // week's first date belongs to the week before.
    std::vector<std::pair<CalDate, CalDate>> spans; // the windows, with the shifts' own dates
    for (auto& [key, sh] : shifts) {
        sh.day1 = WeekStart(sh.date, s);
        sh.day7 = WeekEnd(sh.date, sh.clockIn, s);
        if (sh.day1 == sh.day7)
            sh.day1 = sh.day1.addDays(-7);
        spans.emplace_back(std::min(sh.day1, sh.date), std::max(sh.day7, sh.date));
    }

    // The employee's [Hours Worked] rows of all those dates (read range by
    // range, where spans overlap or touch), kept up to date below as rows
    // are written: the write lock is held, so nobody else changes them. The
    // prior hours of a shift are summed from here exactly as the rows would
    // be summed in the table (by date, straight + overtime).
    std::map<std::pair<std::int32_t, qint64>, Recorded> recorded;
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 0; i < spans.size();) {
        const CalDate from = spans[i].first;
        CalDate to = spans[i].second;
        for (++i; i < spans.size() && spans[i].first <= to.addDays(1); ++i)
            to = std::max(to, spans[i].second);
        db::Recordset rows = st.recorded.openRecordset({emp, db::Value(from), db::Value(to)});
        for (; !rows.eof(); rows.moveNext()) {
            const auto date = rows.field(0).toDate();
            if (!date)
                throw db::typeMismatch();
            recorded[{date->days(), rows.field(1).toInt()}] = {rows.field(2).toDouble(), rows.field(3).toDouble()};
        }
    }

    // Every flagged day starts from zero, so no stale hours count as prior:
    // its row goes, from the table and from the copy.
    for (const auto& [key, sh] : shifts)
        if (recorded.erase({sh.date.days(), sh.week.toInt()}) > 0)
            st.remove.execute({emp, sh.dateValue, sh.week});

    // Each shift's split, in order. The first shift of a day makes the day's
    // row; a later shift of the same day adds its hours to it (the second
    // shift's hours first, as the table's "x + [Straight Hrs]" would). The
    // rows are written once every shift is added.
    std::vector<std::pair<const Shift*, const Recorded*>> rebuilt;
    for (const auto& [key, sh] : shifts) {
        const qint64 week = sh.week.toInt();
        std::optional<double> prior;
        for (CalDate d = sh.day1; d <= sh.day7; d = d.addDays(1))
            if (const auto it = recorded.find({d.days(), week}); it != recorded.end())
                prior = prior.value_or(0.0) + (it->second.straight + it->second.overtime);
        const HoursSplit split = splitWeekHours(sh.hours, prior);

        const auto [it, isNew] = recorded.try_emplace({sh.date.days(), week});
        if (isNew) {
            it->second = {split.straight, split.overtime};
            rebuilt.emplace_back(&sh, &it->second);
        } else {
            it->second = {split.straight + it->second.straight, split.overtime + it->second.overtime};
        }
    }
    // Whole statements of kRowsPerInsert rows, then the rest a row each.
    const auto rowOf = [&](std::size_t i) {
        const auto& [sh, hours] = rebuilt[i];
        return db::Params{emp, sh->dateValue, sh->week, hours->straight, hours->overtime};
    };
    constexpr std::size_t kMany = Statements::kRowsPerInsert;
    std::size_t i = 0;
    for (; rebuilt.size() - i >= kMany; i += kMany) {
        db::Params rows;
        for (std::size_t j = i; j < i + kMany; ++j) {
            const db::Params row = rowOf(j);
            rows.insert(rows.end(), row.begin(), row.end());
        }
        st.insertMany.execute(rows);
    }
    for (; i < rebuilt.size(); ++i)
        st.insert.execute(rowOf(i));
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

bool RecalcHoursWorked(db::Database& db, const CompanySettings& settings, const HoursProgress& progress) {
    ui::WaitCursor wait;
    // A rebuilt day whose commit a power cut undoes keeps its flags, and the
    // next run rebuilds it: the commits need no flush of their own (over a
    // long history the flushes of the scattered pages it writes would cost
    // more than the work).
    db::Database::RedoableWork redoable(db);
    std::optional<db::Database::Transaction> tx;
    try {
        Statements st(db, db::sql::indexedBy(db, QStringLiteral("TimeAttendance_Flagged")));
        QStringList employees;
        for (db::Value emp = st.firstEmployee.scalar(); !emp.isNull(); emp = st.nextEmployee.scalar({emp}))
            employees << emp.toString();
        const int total = int(employees.size());
        if (progress && total > 0)
            progress(0, total);
        QElapsedTimer timer;
        int done = 0;
        for (const QString& emp : employees) {
            if (!tx) {
                tx.emplace(db);
                timer.start();
            }
            rebuildEmployee(st, settings, emp);
            ++done;
            if (timer.elapsed() >= kTransactionMs) {
                tx->commit();
                tx.reset();
                // Time for a waiting writer (a clock terminal, which tries
                // again every millisecond) to take the lock first.
                QThread::msleep(5);
                if (progress)
                    progress(done, total);
            }
        }
        if (tx)
            tx->commit();
        if (progress && total > 0)
            progress(total, total);
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
