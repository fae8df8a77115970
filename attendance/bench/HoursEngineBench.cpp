// The hours engine.
//  - A year of flagged shifts (200 employees x 52 weeks x 5 shifts), next
//    to the same number of rows inserted into a plain table.
//  - A week of newly flagged shifts (400 employees x 5 shifts = 2,000) over
//    ten years of history that the engine has processed already (1,040,000
//    rows, a generated company), next to the same week over no history:
//    the history must not slow the engine down.
#include "BenchSupport.h"
#include "attendance/HoursEngine.h"
#include "core/types/WorkWeek.h"
#include "testing/GeneratedCompany.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace plax;

namespace {

constexpr int kEmployees = 200, kWeeks = 52, kShifts = 5;
constexpr int kRows = kEmployees * kWeeks * kShifts;

void BM_HoursEngineYear(benchmark::State& state) {
    CompanySettings s;
    for (auto _ : state) {
        const double baseline = bench::insertBaseline(kRows);
        test::TempCompany c;
        bench::insertFlaggedShifts(c.db(), s, CalDate::ymd(2023, 1, 2), kEmployees, kWeeks, kShifts);
        QElapsedTimer t;
        t.start();
        const bool ok = RecalcHoursWorked(c.db(), s);
        const double secs = bench::seconds(t);
        state.SetIterationTime(secs);
        bench::noteRound("RecalcHoursWorked", secs, baseline);
        if (!ok)
            state.SkipWithError("the hours engine failed");
    }
    state.counters["shifts/s"] = benchmark::Counter(kRows, benchmark::Counter::kIsIterationInvariantRate);
}

// The history case: two companies with the same 400 employees, one with ten
// years behind it.
const test::GeneratedCompany kHistory;
constexpr int kNewShifts = 5;

struct HistoryCompanies {
    CompanySettings settings;
    test::TempCompany empty, history;
    int historyRows = 0;
    HistoryCompanies() {
        test::GeneratedCompany none = kHistory;
        none.weeks = 0;
        test::fillGeneratedCompany(empty.db(), settings, none);
        historyRows = test::fillGeneratedCompany(history.db(), settings, kHistory);
    }
    // The week after the history, flagged as an import leaves it; whatever
    // an earlier round left of that week goes first.
    void flagNewWeek(db::Database& db) {
        const CalDate monday = kHistory.endMonday();
        db::Database::Transaction tx(db);
        db::Query dropShifts =
            db.prepare(QStringLiteral("DELETE FROM [Time Attendance] WHERE EmpID = ? AND TDate >= ?"));
        db::Query dropHours = db.prepare(QStringLiteral("DELETE FROM [Hours Worked] WHERE EmpID = ? AND TDate >= ?"));
        db::Query add = db.prepare(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, "
                                                  "DateOut, ClockOut, TotalHrs, TotalMin, Recalculate) "
                                                  "VALUES (?,?,?,?,?,?,?,?,1)"));
        for (int e = 0; e < kHistory.employees; ++e) {
            const QString id = test::GeneratedCompany::employeeId(e);
            dropShifts.execute({id, monday});
            dropHours.execute({id, monday});
            for (int i = 0; i < kNewShifts; ++i) {
                const CalDate d = monday.addDays(i);
                const TimeOfDay in = test::GeneratedCompany::clockIn(e, i);
                const int m = test::GeneratedCompany::minutes(e, kHistory.weeks, i);
                const TimeOfDay out = TimeOfDay::fromMinutes(in.minutes() + m);
                add.execute({id, d, WeekNumber(d, settings), in, d, out, m / 60, m % 60});
            }
        }
        tx.commit();
    }
    double run(db::Database& db) {
        flagNewWeek(db);
        // The journal of the writes above is copied into the file first, so
        // that no run pays for what the one before it wrote.
        db.idle();
        QElapsedTimer t;
        t.start();
        if (!RecalcHoursWorked(db, settings))
            return -1;
        return bench::seconds(t);
    }
};

void BM_HoursEngineOverHistory(benchmark::State& state) {
    static std::unique_ptr<HistoryCompanies> c;
    if (!c) {
        QElapsedTimer t;
        t.start();
        c = std::make_unique<HistoryCompanies>();
        std::printf("generated a company of %d employees with %d attendance rows in %.1f s\n", kHistory.employees,
                    c->historyRows, bench::seconds(t));
    }
    for (auto _ : state) {
        const double none = c->run(c->empty.db());
        const double secs = c->run(c->history.db());
        if (none < 0 || secs < 0)
            state.SkipWithError("the hours engine failed");
        state.SetIterationTime(secs);
        bench::noteRound("RecalcHoursWorked over history", secs, none);
    }
    state.counters["shifts/s"] =
        benchmark::Counter(kHistory.employees * kNewShifts, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_HoursEngineYear)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoursEngineOverHistory)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    bench::printSummary("RecalcHoursWorked", "Hours engine, a year of flagged shifts", "shifts", kRows,
                        "baseline insert", 0);
    bench::printSummary("RecalcHoursWorked over history", "Hours engine, a new week over ten years of history",
                        "shifts", kHistory.employees * kNewShifts, "the same week over no history", 1.5);
    return 0;
}
