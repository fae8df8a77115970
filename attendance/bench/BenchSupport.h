#pragma once
// Shared pieces of the attendance benchmarks: a fresh company database per
// run, the baseline (the same number of rows inserted into a plain table in
// one transaction), and the summary printed after the benchmark table.

#include "testing/TempCompany.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace plax::bench {

// Seconds of the fastest measured run of each benchmark, by label (the
// machine may be busy with other work; the best run is the steadiest figure).
inline std::map<std::string, double>& bestSeconds() {
    static std::map<std::string, double> m;
    return m;
}
inline void noteSeconds(const std::string& label, double secs) {
    auto& m = bestSeconds();
    if (!m.count(label) || secs < m[label])
        m[label] = secs;
}

// Inserts `rows` rows into a plain table of a fresh database inside one
// transaction; returns the seconds taken.
inline double insertBaseline(int rows) {
    test::TempCompany c;
    auto& db = c.db();
    db.executeScript(QStringLiteral("CREATE TABLE Plain (EmpID TEXT, TDate TEXT, Week INTEGER, ClockIn TEXT, "
                                    "Hours REAL)"));
    QElapsedTimer t;
    t.start();
    db::Database::Transaction tx(db);
    db::Query q = db.prepare(QStringLiteral("INSERT INTO Plain VALUES (?, ?, ?, ?, ?)"));
    const CalDate first = CalDate::ymd(2023, 1, 2);
    for (int i = 0; i < rows; ++i)
        q.execute({QString::number(1000 + i % 500), first.addDays(i / 500), i % 53, TimeOfDay::fromMinutes(i % 1440),
                   double(i % 10)});
    tx.commit();
    return double(t.nsecsElapsed()) / 1e9;
}

// The baseline as a benchmark: `rows` rows a run.
inline void runInsertBaseline(benchmark::State& state, int rows) {
    for (auto _ : state) {
        const double secs = insertBaseline(rows);
        state.SetIterationTime(secs);
        noteSeconds("baseline insert", secs);
    }
    state.counters["rows/s"] = benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate);
}

// Runs the benchmarks given on the command line; the summaries follow.
inline void runBenchmarks(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

inline void printSummary(const char* what, const char* unit, int count, const std::string& work,
                         const std::string& baseline, double aim) {
    const auto& m = bestSeconds();
    if (!m.count(work) || !m.count(baseline))
        return;
    const double w = m.at(work), b = m.at(baseline);
    std::printf("\n%s: %d %s (best run of each)\n", what, count, unit);
    std::printf("  %-28s %10.3f s %12.0f %s/s\n", work.c_str(), w, count / w, unit);
    std::printf("  %-28s %10.3f s %12.0f rows/s\n", baseline.c_str(), b, count / b);
    std::printf("  ratio %.2fx the baseline's time (aim: within %.0fx)\n", w / b, aim);
}

} // namespace plax::bench
