// The attendance report at scale, each figure next to a baseline measured in
// the same run: the same report over a company file that holds only the
// week it prints.
//  - one employee's weekly Detailed report over a 10-year company (400
//    employees, about 1,040,000 [Time Attendance] rows);
//  - the weekly Detailed report of all 500 employees of a one-year company.
// A report is what a print does: the selection, the work table of the
// attendance screen (worked hours, absences, holidays), and the print
// engine laying out every page (into a preview that is not shown). Peak
// memory is the whole process's resident high-water mark while the report
// runs. Company files are generated once into bench-data/ beside the program.
//   cmake --build build --target run_report_benchmarks
#include "CompanyGenerator.h"
#include "attendance/bench/BenchSupport.h"
#include "platform/print/Formula.h"
#include "platform/print/PageModel.h"
#include "platform/print/PrintEngine.h"
#include "reports/screens/AttendanceData.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

using namespace plax;

namespace {

CompanySettings settings() {
    CompanySettings s;
    s.CompanyName = QStringLiteral("Benchmark Manufacturing Inc.");
    return s;
}

// The week every report prints: early June of the last year.
const CalDate kWeek = CalDate::ymd(2025, 6, 2); // a Monday

struct Company {
    QString path;
    bench::CompanyPlan plan;
};

QString dataFolder() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2) +
           QStringLiteral("/bench-data/");
}

Company company(int employees, int firstYear, const char* file) {
    bench::CompanyPlan s;
    s.employees = employees;
    s.first = CalDate::ymd(firstYear, 1, 1);
    s.last = CalDate::ymd(2025, 12, 31);
    return {dataFolder() + QString::fromLatin1(file), s};
}
Company tenYears() { return company(400, 2016, "company-400-10years-v1.mdb"); }
Company oneYear() { return company(500, 2025, "company-500-1year-v1.mdb"); }
// The same company holding only the printed week.
Company weekOnly(Company c, const char* name) {
    c.plan.keepOnly = true;
    c.plan.keepFrom = kWeek;
    c.plan.keepTo = kWeek.addDays(6);
    c.path = dataFolder() + QString::fromLatin1(name);
    return c;
}

// Resident memory high-water mark of this process, in MB; reset() starts a
// new one at the present size.
struct PeakMemory {
    static void reset() { std::ofstream(QStringLiteral("/proc/self/clear_refs").toStdString()) << "5"; }
    static double megabytes() {
        std::ifstream f("/proc/self/status");
        std::string line;
        while (std::getline(f, line))
            if (line.rfind("VmHWM:", 0) == 0)
                return std::stod(line.substr(6)) / 1024.0;
        return 0;
    }
};

std::map<std::string, double>& peaks() {
    static std::map<std::string, double> m;
    return m;
}

// Prints one report as the attendance screen does, into a preview that is
// laid out to its last page and not shown. Returns the page count.
int printWeeklyReport(db::Database& db, const std::vector<reports::TreeEntry>& ticked) {
    reports::AttendancePeriod period;
    period.payPeriod = true;
    period.payPeriodText = kWeek.toShortDate();
    QString selection;
    if (reports::PrepareAttendanceReport(db, period, reports::EmpGrouping::Employee, ticked, settings(), selection) !=
        reports::AttendanceBuild::Ok)
        throw std::runtime_error("the selection failed");
    using namespace print;
    PEOpenEngine();
    const short job = PEOpenPrintJob(QStringLiteral(PLAX_SOURCE_DIR "/reports/definitions/WeeklyReport.rpt"));
    const ReportTableLocation loc = makeTableLocation(db.path());
    for (short i = 0; i < PEGetNTables(job); ++i)
        PESetNthTableLocation(job, i, &loc);
    const short sub = PEOpenSubreport(job, QStringLiteral("Time Attendance"));
    for (short i = 0; i < PEGetNTables(sub); ++i)
        PESetNthTableLocation(sub, i, &loc);
    PESetFormula(job, QStringLiteral("DisplayRate"), QStringLiteral("True"));
    PESetFormula(job, QStringLiteral("CompanyName"), formulaLiteral(settings().CompanyName));
    QWidget host;
    if (!PESetSelectionFormula(job, selection) || !PEOutputToWindow(job, QStringLiteral("Print Report"), 0, 0, 900, 700, 0, &host) ||
        !PEStartPrintJob(job, 1))
        throw std::runtime_error("the print engine failed");
    const int pages = int(jobDocument(job)->pages.size());
    PEClosePrintJob(job);
    PECloseEngine();
    return pages;
}

struct Open {
    std::unique_ptr<db::Database> db;
    std::vector<reports::TreeEntry> ticked;
};

Open openCompany(const Company& c, int tickedEmployees) {
    Open o;
    o.db = db::Database::open(c.path);
    reports::CreateAttendanceTable(*o.db);
    for (int e = 0; e < tickedEmployees; ++e) {
        // One employee: one from the middle of the list.
        const QString id = bench::employeeId(tickedEmployees == 1 ? 7 : e);
        o.ticked.push_back({id + QStringLiteral(",First Last"), id, false});
    }
    print::EngineHooks h;
    db::Database* raw = o.db.get();
    h.database = [raw](const QString& path) { return path == raw->path() ? raw : nullptr; };
    print::setEngineHooks(h);
    return o;
}

void runReport(benchmark::State& state, const Company& c, int ticked, const std::string& label) {
    PeakMemory::reset(); // from opening the company file on
    Open o = openCompany(c, ticked);
    printWeeklyReport(*o.db, o.ticked); // warms the file cache and the fonts
    int pages = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        pages = printWeeklyReport(*o.db, o.ticked);
        const double secs = double(t.nsecsElapsed()) / 1e9;
        state.SetIterationTime(secs);
        bench::noteSeconds(label, secs);
    }
    peaks()[label] = PeakMemory::megabytes();
    state.counters["pages"] = pages;
    state.counters["peak MB"] = peaks()[label];
    print::setEngineHooks({});
}

void BM_OneEmployee_WeekOnlyFile(benchmark::State& s) {
    runReport(s, weekOnly(tenYears(), "company-400-week-v1.mdb"), 1, "one employee, week-only file");
}
void BM_OneEmployee_TenYearFile(benchmark::State& s) {
    runReport(s, tenYears(), 1, "one employee, 10-year file");
}
void BM_AllEmployees_WeekOnlyFile(benchmark::State& s) {
    runReport(s, weekOnly(oneYear(), "company-500-week-v1.mdb"), 500, "500 employees, week-only file");
}
void BM_AllEmployees_OneYearFile(benchmark::State& s) {
    runReport(s, oneYear(), 500, "500 employees, one-year file");
}

BENCHMARK(BM_OneEmployee_WeekOnlyFile)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneEmployee_TenYearFile)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllEmployees_WeekOnlyFile)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllEmployees_OneYearFile)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void printPair(const char* what, const std::string& work, const std::string& baseline, double aimRatio,
               double aimSeconds, double aimMegabytes) {
    const auto& m = bench::bestSeconds();
    if (!m.count(work) || !m.count(baseline))
        return;
    const double w = m.at(work), b = m.at(baseline);
    std::printf("\n%s (best run of each)\n", what);
    std::printf("  %-32s %9.1f ms   peak %6.1f MB\n", work.c_str(), w * 1000, peaks()[work]);
    std::printf("  %-32s %9.1f ms   peak %6.1f MB\n", baseline.c_str(), b * 1000, peaks()[baseline]);
    std::printf("  ratio %.2fx the baseline's time", w / b);
    if (aimRatio > 0)
        std::printf(" (aim: within %.1fx)", aimRatio);
    if (aimSeconds > 0)
        std::printf("; aim: within %.0f ms", aimSeconds * 1000);
    std::printf("; aim: under %.0f MB\n", aimMegabytes);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The company files, generated (in a child process) before anything else runs.
    for (const Company& c : {weekOnly(tenYears(), "company-400-week-v1.mdb"), tenYears(),
                             weekOnly(oneYear(), "company-500-week-v1.mdb"), oneYear()})
        bench::ensureCompany(c.path, c.plan, settings());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printPair("Weekly Detailed report of one employee", "one employee, 10-year file", "one employee, week-only file",
              1.5, 0, 100);
    printPair("Weekly Detailed report of 500 employees, to its last page", "500 employees, one-year file",
              "500 employees, week-only file", 0, 1.0, 200);
    return 0;
}
