// How long a settings change holds the company file while it rewrites a
// large attendance table: 250 employees x 5 years x 5 shifts a week, plus
// absences. Each change runs in one transaction, which is also how long a
// clock terminal writing to the same file waits (its busy timeout is 5 s).
// Prints the figures; run with QT_QPA_PLATFORM=offscreen.
#include "core/settings/Recompute.h"
#include "core/types/WorkWeek.h"
#include "testing/TempCompany.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace plax;

namespace {

constexpr int kEmployees = 250, kWeeks = 260, kShifts = 5;

void fill(db::Database& db, const CompanySettings& s) {
    db::Database::Transaction tx(db);
    db::Query shift =
        db.prepare(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                  "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,0)"));
    db::Query absence =
        db.prepare(QStringLiteral("INSERT INTO Absence (EmpID, TDate, Week, Reason) VALUES (?,?,?,'Sick')"));
    const CalDate first = CalDate::ymd(2021, 1, 4); // a Monday
    for (int e = 0; e < kEmployees; ++e)
        for (int w = 0; w < kWeeks; ++w) {
            for (int i = 0; i < kShifts; ++i) {
                const CalDate d = first.addDays(w * 7 + i);
                const TimeOfDay in = TimeOfDay::fromMinutes(7 * 60 + (e + i) % 60);
                const int minutes = 8 * 60 + ((e * 7 + w * 3 + i * 11) % 150);
                const TimeOfDay out = TimeOfDay::fromMinutes(in.minutes() + minutes);
                const int m = ShiftMinutes(d, in, d, out, s);
                shift.execute({QString::number(1000 + e), d, WeekNumber(d, s), in, d, out, m / 60, m % 60});
            }
            if ((e + w) % 20 == 0)
                absence.execute({QString::number(1000 + e), first.addDays(w * 7 + 5),
                                 WeekNumber(first.addDays(w * 7 + 5), s)});
        }
    tx.commit();
}

double seconds(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    CompanySettings s;
    test::TempCompany co;
    QElapsedTimer t;
    t.start();
    fill(co.db(), s);
    const int rows = kEmployees * kWeeks * kShifts;
    std::printf("filled %d attendance rows in %.2f s\n", rows, seconds(t));

    int reports = 0;
    const settings::RecomputeProgress progress = [&reports](int, int) { ++reports; };

    s.RoundTotal = 15;
    t.restart();
    auto c = settings::RecomputeShiftTotals(co.db(), s, progress);
    std::printf("rounding 5 -> 15 min:     %.2f s  (%d closed shifts, %d rewritten)\n", seconds(t), c.rows,
                c.rewritten);

    // Every closed shift is flagged now; clear the flags to time the flag statement too.
    co.db().execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 0"));
    t.restart();
    c = settings::ApplyDayStart(co.db(), s, TimeOfDay::fromMinutes(7 * 60 + 30), progress);
    std::printf("day start 00:00 -> 07:30: %.2f s  (%d rows, %d rewritten)\n", seconds(t), c.rows,
                c.rewritten);

    co.db().execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 0"));
    t.restart();
    c = settings::ApplyWorkDay(co.db(), s, 1, progress);
    std::printf("week start Mon -> Sun:    %.2f s  (%d rows, %d rewritten)\n", seconds(t), c.rows,
                c.rewritten);
    std::printf("progress reports: %d\n", reports);
    return 0;
}
