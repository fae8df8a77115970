// The punch import, each figure next to the same number of rows inserted
// into a plain table in one transaction:
//  - a busy month's file: 100,000 punches of 500 employees, read, paired
//    and written (importClockFile), and the whole ImportClockData with the
//    hours engine;
//  - the same at 10,000, 100,000 and 1,000,000 punches (the cost of a punch
//    must not grow with the file);
//  - the longest wait of a clock terminal punching into the same file while
//    the 100,000 punches are imported;
//  - peak memory of the import and of the conversion for a million punches
//    and for a file of one 1 GB line, next to a process that only opens the
//    company file (each measured in a process of its own).
#include "BenchSupport.h"
#include "attendance/ClockFile.h"
#include "attendance/ClockImport.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <benchmark/benchmark.h>

#include <memory>

using namespace plax;

namespace {

constexpr int kEmployees = 500, kPunches = 100000;

// The shifts of a file of `punches` punches: each employee in and out every
// day; `shift(employee, date, in, out)`.
// In the file's order (day by day) or employee by employee (`byEmployee`).
template <typename Shift>
void forEachShift(int punches, Shift shift, bool byEmployee = false) {
    const CalDate first = CalDate::ymd(2021, 1, 4);
    const int days = (punches / 2 + kEmployees - 1) / kEmployees;
    const auto one = [&](int e, int day) {
        const int in = 6 * 60 + (e * 7 + day) % 180;
        shift(QString::number(10000 + e), first.addDays(day), TimeOfDay::fromMinutes(in),
              TimeOfDay::fromMinutes(in + 8 * 60 + (e + day * 3) % 90));
    };
    for (int i = 0; i < punches / 2; ++i)
        if (byEmployee)
            one(i / days, i % days);
        else
            one(i % kEmployees, i / kEmployees);
}

void writeClockFile(const QString& path, int punches) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    forEachShift(punches, [&f](const QString& id, CalDate d, TimeOfDay in, TimeOfDay out) {
        f.write(QStringLiteral("%1,%2,%3\r\n%1,%2,%4\r\n").arg(id, d.toMdy2(), in.toHm(), out.toHm()).toLatin1());
    });
}

// The floor under any import: the shifts of the file written straight into
// [Time Attendance] in one transaction, as the import leaves them, employee
// by employee as the import writes them.
double insertShiftsStraight(int punches) {
    test::TempCompany c;
    const CompanySettings s;
    QElapsedTimer t;
    t.start();
    db::Database::Transaction tx(c.db());
    db::Query q = c.db().prepare(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                                "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,1)"));
    forEachShift(punches, [&](const QString& id, CalDate d, TimeOfDay in, TimeOfDay out) {
        const int m = ShiftMinutes(d, in, d, out, s);
        q.execute({id, d, WeekNumber(d, in, s), in, d, out, m / 60, m % 60});
    }, true);
    tx.commit();
    return bench::seconds(t);
}

// A company with the employees of the file (and the terminal's employee T1)
// and a Clock.txt of `punches` punches.
struct Setup {
    test::TempCompany company;
    CompanySettings settings;
    QString data;
    explicit Setup(int punches) {
        data = company.dir() + QStringLiteral("Data/");
        QDir().mkpath(data);
        db::Database::Transaction tx(company.db());
        for (int e = 0; e < kEmployees; ++e)
            company.db().execute(QStringLiteral("INSERT INTO Employee (ID, Status) VALUES (?, 1)"),
                                 {QString::number(10000 + e)});
        company.db().execute(QStringLiteral("INSERT INTO Employee (ID, Status) VALUES ('T1', 1)"));
        tx.commit();
        writeClockFile(clockTxt(), punches);
    }
    QString clockTxt() const { return data + QStringLiteral("Clock.txt"); }
};

void BM_ImportPunches(benchmark::State& state) {
    const int punches = int(state.range(0));
    for (auto _ : state) {
        const double baseline = bench::insertBaseline(punches);
        const double straight = punches <= kPunches ? insertShiftsStraight(punches) : 0;
        Setup s(punches);
        QElapsedTimer t;
        t.start();
        ImportCounts counts;
        importClockFile(s.company.db(), s.settings, s.clockTxt(), counts);
        const double secs = bench::seconds(t);
        state.SetIterationTime(secs);
        bench::noteRound("read + pair + insert " + std::to_string(punches), secs, baseline);
        if (straight > 0)
            bench::noteRound("read + pair + insert, beside the shifts " + std::to_string(punches), secs, straight);
        if (counts.closed != punches / 2)
            state.SkipWithError("the punches were not paired");
    }
    state.counters["punches/s"] = benchmark::Counter(punches, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ImportClockData(benchmark::State& state) {
    ui::ScriptedResponder quiet;
    for (auto _ : state) {
        const double baseline = bench::insertBaseline(kPunches);
        Setup s(kPunches);
        QElapsedTimer t;
        t.start();
        const bool ok = ImportClockData(s.company.db(), s.settings, s.data);
        const double secs = bench::seconds(t);
        state.SetIterationTime(secs);
        bench::noteRound("ImportClockData (+ hours engine)", secs, baseline);
        if (!ok)
            state.SkipWithError("the import failed");
    }
    state.counters["punches/s"] = benchmark::Counter(kPunches, benchmark::Counter::kIsIterationInvariantRate);
}

// The clock terminal's longest punch (milliseconds) while the import runs,
// next to its longest punch with nothing else running.
std::vector<std::pair<long, long>> g_terminalWaits;

long terminalLongest(const QString& dbPath, const std::function<void()>& meanwhile) {
    const QString stop = QFileInfo(dbPath).absolutePath() + QStringLiteral("/stop");
    QFile::remove(stop);
    QProcess terminal;
    terminal.start(QStringLiteral(PLAX_PUNCH_WRITER), {dbPath, QStringLiteral("T1"), stop});
    if (!terminal.waitForStarted(10000) || !terminal.waitForReadyRead(10000))
        return -1;
    terminal.readLine(); // "ready"
    meanwhile();
    QFile(stop).open(QIODevice::WriteOnly);
    terminal.waitForFinished(60000);
    const auto m = QRegularExpression(QStringLiteral("longest punch: (\\d+) ms"))
                       .match(QString::fromLatin1(terminal.readAllStandardError()));
    return m.hasMatch() ? m.captured(1).toLong() : -1;
}

void BM_TerminalDuringImport(benchmark::State& state) {
    ui::ScriptedResponder quiet;
    for (auto _ : state) {
        Setup s(kPunches);
        double secs = 0;
        const long alone = terminalLongest(s.company.path(), [] { QThread::msleep(1500); });
        const long during = terminalLongest(s.company.path(), [&] {
            QElapsedTimer t;
            t.start();
            ImportClockData(s.company.db(), s.settings, s.data);
            secs = bench::seconds(t);
        });
        state.SetIterationTime(secs);
        g_terminalWaits.emplace_back(during, alone);
    }
}

BENCHMARK(BM_ImportPunches)->Arg(kPunches)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportClockData)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPunches)->Arg(10000)->Arg(1000000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TerminalDuringImport)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// ---- peak memory, each in a process of its own --------------------------------

// The process's peak resident memory in kB (VmHWM: unlike the resource
// usage's maximum, it starts afresh with the program, not with the fork).
long peakKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// import_bench --peak idle|import|convert <arguments>: does the one thing and
// prints its peak resident memory in kB.
int peakChild(const QStringList& args) {
    try {
        if (args.value(0) == QLatin1String("convert")) {
            convertPunchFile(args.value(1), args.value(2));
        } else {
            auto db = db::Database::open(args.value(1));
            if (args.value(0) == QLatin1String("import")) {
                ImportCounts counts;
                importClockFile(*db, CompanySettings(), args.value(2), counts);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%ld\n", peakKb());
    return 0;
}

long runPeak(const QStringList& args) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--peak")} + args);
    p.waitForFinished(-1);
    return p.exitCode() == 0 ? p.readAllStandardOutput().trimmed().toLong() : -1;
}

// A downloaded file of `lines` layout B lines, or of one line of `bytes`.
void writeDownload(const QString& path, int lines, qint64 bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (bytes > 0) {
        const QByteArray block(1 << 20, '7');
        for (qint64 n = 0; n < bytes; n += block.size())
            f.write(block);
        f.write(",01/17/05 07:58:30\r\n");
        return;
    }
    for (int i = 0; i < lines; ++i)
        f.write(QStringLiteral("%1,01/%2/21 %3:00\r\n")
                    .arg(10000 + i % kEmployees)
                    .arg(1 + i / kEmployees % 28, 2, 10, QLatin1Char('0'))
                    .arg(TimeOfDay::fromMinutes(i % 1440).toHm())
                    .toLatin1());
}

void printMemory() {
    Setup s(1000000);
    const QString dir = s.company.dir();
    const long idle = runPeak({QStringLiteral("idle"), s.company.path()});
    const long import = runPeak({QStringLiteral("import"), s.company.path(), s.clockTxt()});
    writeDownload(dir + QStringLiteral("download.txt"), 1000000, 0);
    const long convert = runPeak({QStringLiteral("convert"), dir + QStringLiteral("download.txt"),
                                  dir + QStringLiteral("converted.txt")});
    writeDownload(dir + QStringLiteral("oneline.txt"), 0, qint64(1) << 30);
    const long convertLine = runPeak({QStringLiteral("convert"), dir + QStringLiteral("oneline.txt"),
                                      dir + QStringLiteral("converted.txt")});
    const long importLine = runPeak({QStringLiteral("import"), s.company.path(), dir + QStringLiteral("oneline.txt")});
    QFile::remove(dir + QStringLiteral("oneline.txt"));
    std::printf("\nPeak memory (resident, each in a process of its own; aim: under 80 MB)\n");
    std::printf("  %-46s %8.1f MB\n", "baseline: the company file opened", idle / 1024.0);
    std::printf("  %-46s %8.1f MB\n", "import of 1,000,000 punches", import / 1024.0);
    std::printf("  %-46s %8.1f MB\n", "conversion of 1,000,000 downloaded lines", convert / 1024.0);
    std::printf("  %-46s %8.1f MB\n", "conversion of a file of one 1 GB line", convertLine / 1024.0);
    std::printf("  %-46s %8.1f MB\n", "import of a Clock.txt of one 1 GB line", importLine / 1024.0);
}

void printTerminalWaits() {
    if (g_terminalWaits.empty())
        return;
    std::printf("\nClock terminal punching during an import of %d punches (aim: longest wait under 250 ms)\n",
                kPunches);
    for (const auto& [during, alone] : g_terminalWaits)
        std::printf("  longest punch during the import %4ld ms, with nothing else running %4ld ms\n", during, alone);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--peak") {
        QCoreApplication app(argc, argv);
        return peakChild(app.arguments().mid(2));
    }
    QCoreApplication app(argc, argv);
    // With a filter only the benchmarks chosen run, without the memory figures.
    const bool all = !app.arguments().join(QLatin1Char(' ')).contains(QLatin1String("--benchmark_filter"));
    bench::runBenchmarks(argc, argv);
    for (const int n : {10000, kPunches, 1000000})
        bench::printSummary("read + pair + insert " + std::to_string(n), "Punch import (read, pair, insert)",
                            "punches", n, "baseline insert", 4);
    bench::printSummary("read + pair + insert, beside the shifts " + std::to_string(kPunches),
                        "Punch import beside its floor", "punches", kPunches,
                        "its 50,000 shifts written straight in", 0);
    bench::printSummary("ImportClockData (+ hours engine)", "Punch import with the hours engine", "punches", kPunches,
                        "baseline insert", 5);
    printTerminalWaits();
    if (all)
        printMemory();
    return 0;
}
