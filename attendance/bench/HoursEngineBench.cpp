// The hours engine over a year of flagged shifts: 200 employees x 52 weeks
// x 5 shifts, next to the same number of rows inserted into a plain table.
#include "BenchSupport.h"
#include "attendance/HoursEngine.h"
#include "core/types/WorkWeek.h"

#include <benchmark/benchmark.h>

using namespace plax;

namespace {

constexpr int kEmployees = 200, kWeeks = 52, kShifts = 5;
constexpr int kRows = kEmployees * kWeeks * kShifts;

void fillShifts(db::Database& db, const CompanySettings& s) {
    db::Database::Transaction tx(db);
    db::Query q = db.prepare(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                            "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,1)"));
    const CalDate first = CalDate::ymd(2023, 1, 2); // a Monday
    for (int e = 0; e < kEmployees; ++e)
        for (int w = 0; w < kWeeks; ++w)
            for (int i = 0; i < kShifts; ++i) {
                const CalDate d = first.addDays(w * 7 + i);
                const TimeOfDay in = TimeOfDay::fromMinutes(7 * 60 + (e + i) % 60);
                const int minutes = 8 * 60 + ((e * 7 + w * 3 + i * 11) % 150); // some weeks pass 40 hours
                const TimeOfDay out = TimeOfDay::fromMinutes(in.minutes() + minutes);
                q.execute({QString::number(1000 + e), d, WeekNumber(d, s), in, d, out, minutes / 60, minutes % 60});
            }
    tx.commit();
}

void BM_HoursEngine(benchmark::State& state) {
    CompanySettings s;
    for (auto _ : state) {
        test::TempCompany c;
        fillShifts(c.db(), s);
        QElapsedTimer t;
        t.start();
        const bool ok = RecalcHoursWorked(c.db(), s);
        const double secs = double(t.nsecsElapsed()) / 1e9;
        state.SetIterationTime(secs);
        bench::noteSeconds("RecalcHoursWorked", secs);
        if (!ok)
            state.SkipWithError("the hours engine failed");
    }
    state.counters["shifts/s"] = benchmark::Counter(kRows, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_InsertBaseline(benchmark::State& state) { bench::runInsertBaseline(state, kRows); }

BENCHMARK(BM_InsertBaseline)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoursEngine)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::runBenchmarks(argc, argv);
    bench::printSummary("Hours engine", "shifts", kRows, "RecalcHoursWorked", "baseline insert", 5);
    return 0;
}
