// The punch import of a busy month's file: 100,000 punches of 500 employees,
// next to the same number of rows inserted into a plain table.
#include "BenchSupport.h"
#include "attendance/ClockImport.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

using namespace plax;

namespace {

constexpr int kEmployees = 500, kPunches = 100000;
constexpr int kDays = kPunches / kEmployees / 2; // an in and an out per day

QByteArray clockFile() {
    QByteArray out;
    out.reserve(kPunches * 20);
    const CalDate first = CalDate::ymd(2024, 1, 1);
    for (int day = 0; day < kDays; ++day)
        for (int e = 0; e < kEmployees; ++e) {
            const QString d = first.addDays(day).toMdy2();
            const int in = 6 * 60 + (e * 7 + day) % 180;
            const int leave = in + 8 * 60 + (e + day * 3) % 90;
            out += QStringLiteral("%1,%2,%3\r\n%1,%2,%4\r\n")
                       .arg(QString::number(10000 + e), d, TimeOfDay::fromMinutes(in).toHm(),
                            TimeOfDay::fromMinutes(leave).toHm())
                       .toLatin1();
        }
    return out;
}

struct Setup {
    test::TempCompany company;
    CompanySettings settings;
    QString data;
    Setup() {
        data = company.dir() + QStringLiteral("Data/");
        QDir().mkpath(data);
        db::Database::Transaction tx(company.db());
        for (int e = 0; e < kEmployees; ++e)
            company.db().execute(QStringLiteral("INSERT INTO Employee (ID, Status) VALUES (?, 1)"),
                                 {QString::number(10000 + e)});
        tx.commit();
        QFile f(data + QStringLiteral("Clock.txt"));
        f.open(QIODevice::WriteOnly);
        f.write(clockFile());
    }
};

void BM_ImportPunches(benchmark::State& state) {
    for (auto _ : state) {
        Setup s;
        QElapsedTimer t;
        t.start();
        ImportCounts counts;
        importClockFile(s.company.db(), s.settings, s.data + QStringLiteral("Clock.txt"), counts);
        const double secs = double(t.nsecsElapsed()) / 1e9;
        state.SetIterationTime(secs);
        bench::noteSeconds("pairing (read + pair)", secs);
        if (counts.closed != kPunches / 2)
            state.SkipWithError("the punches were not paired");
    }
    state.counters["punches/s"] = benchmark::Counter(kPunches, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ImportClockData(benchmark::State& state) {
    ui::ScriptedResponder quiet;
    for (auto _ : state) {
        Setup s;
        QElapsedTimer t;
        t.start();
        const bool ok = ImportClockData(s.company.db(), s.settings, s.data);
        const double secs = double(t.nsecsElapsed()) / 1e9;
        state.SetIterationTime(secs);
        bench::noteSeconds("ImportClockData (+ hours)", secs);
        if (!ok)
            state.SkipWithError("the import failed");
    }
    state.counters["punches/s"] = benchmark::Counter(kPunches, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_InsertBaseline(benchmark::State& state) { bench::runInsertBaseline(state, kPunches); }

BENCHMARK(BM_InsertBaseline)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPunches)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportClockData)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::runBenchmarks(argc, argv);
    bench::printSummary("Punch import", "punches", kPunches, "pairing (read + pair)", "baseline insert", 10);
    bench::printSummary("Punch import with the hours engine", "punches", kPunches, "ImportClockData (+ hours)",
                        "baseline insert", 10);
    return 0;
}
