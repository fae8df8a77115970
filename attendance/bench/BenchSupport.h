#pragma once
// Shared pieces of the attendance benchmarks: fresh company databases, the
// baseline (the same number of rows inserted into a plain table in one
// transaction), and the summaries printed after the benchmark table.
//
// Every figure is measured beside its baseline in the same round (one
// after the other), so a machine busy with other work slows both alike;
// the summaries give the best round of each and the spread of the ratio
// over the rounds.

#include "core/types/WorkWeek.h"
#include "testing/GeneratedCompany.h"
#include "testing/TempCompany.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace plax::bench {

inline double seconds(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

// One figure and its baseline, round by round.
struct Rounds {
    std::vector<double> work, baseline;
};
inline std::map<std::string, Rounds>& rounds() {
    static std::map<std::string, Rounds> m;
    return m;
}
// Records one round of `label`: the work's seconds and its baseline's.
inline void noteRound(const std::string& label, double work, double baseline) {
    rounds()[label].work.push_back(work);
    rounds()[label].baseline.push_back(baseline);
}

// The best (lowest) seconds seen for each label, for figures measured
// without a baseline of their own in the same round.
inline std::map<std::string, double>& bestSeconds() {
    static std::map<std::string, double> m;
    return m;
}
inline void noteSeconds(const std::string& label, double secs) {
    auto [it, added] = bestSeconds().emplace(label, secs);
    if (!added)
        it->second = std::min(it->second, secs);
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
    return seconds(t);
}

// Writes `weeks` weeks of `shifts` generated shifts a week for employees 0
// to `employees` - 1 from `firstMonday` on, each flagged for the hours
// engine as an import leaves it, in one transaction.
inline void insertFlaggedShifts(db::Database& db, const CompanySettings& s, CalDate firstMonday, int employees,
                                int weeks, int shifts) {
    db::Database::Transaction tx(db);
    db::Query q = db.prepare(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                            "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,1)"));
    for (int e = 0; e < employees; ++e)
        for (int w = 0; w < weeks; ++w)
            for (int i = 0; i < shifts; ++i) {
                const CalDate d = firstMonday.addDays(w * 7 + i);
                const TimeOfDay in = test::GeneratedCompany::clockIn(e, i);
                const int m = test::GeneratedCompany::minutes(e, w, i); // some weeks pass 40 hours
                q.execute({test::GeneratedCompany::employeeId(e), d, WeekNumber(d, s), in, d,
                           TimeOfDay::fromMinutes(in.minutes() + m), m / 60, m % 60});
            }
    tx.commit();
}

// Runs the benchmarks given on the command line; the summaries follow.
inline void runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

// "work: best s (count/s)  baseline: best s  ratio of the bests, and the
// lowest and highest ratio of a round" (with the aim when there is one).
inline void printSummary(const std::string& label, const char* what, const char* unit, long count,
                         const char* baselineName, double aim) {
    const auto it = rounds().find(label);
    if (it == rounds().end() || it->second.work.empty())
        return;
    const Rounds& r = it->second;
    const double w = *std::min_element(r.work.begin(), r.work.end());
    const double b = *std::min_element(r.baseline.begin(), r.baseline.end());
    double lo = 1e300, hi = 0;
    for (std::size_t i = 0; i < r.work.size(); ++i) {
        lo = std::min(lo, r.work[i] / r.baseline[i]);
        hi = std::max(hi, r.work[i] / r.baseline[i]);
    }
    std::printf("\n%s: %ld %s (best of %zu rounds)\n", what, count, unit, r.work.size());
    std::printf("  %-34s %9.3f s %12.0f %s/s\n", label.c_str(), w, count / w, unit);
    std::printf("  %-34s %9.3f s\n", baselineName, b);
    std::printf("  ratio %.2fx (rounds %.2fx to %.2fx", w / b, lo, hi);
    if (aim > 0)
        std::printf("; aim: within %.1fx", aim);
    std::printf(")\n");
}

} // namespace plax::bench
