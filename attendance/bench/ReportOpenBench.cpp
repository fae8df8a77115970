// Opening the attendance report screen with a year of flagged shifts
// (200 employees x 52 weeks x 5 shifts): how soon the screen shows, how
// long the hours engine runs behind it, and the longest time the program
// does not paint (a timer that would fire at once measures the gaps), next
// to opening it with nothing flagged.
#include "BenchSupport.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"
#include "reports/screens/frmAttendanceRpt.h"
#include "testing/GeneratedCompany.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace plax;

namespace {

constexpr int kEmployees = 200, kWeeks = 52, kShifts = 5;

struct Opening {
    double shown = 0;   // seconds until the screen is visible
    double done = 0;    // seconds until no flag is left
    double longest = 0; // the longest gap between two timer ticks
};

int flagged() {
    return int(CompanyDb->openRecordset(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE Recalculate <> 0"))
                   .field(0)
                   .toInt());
}

Opening open() {
    Opening o;
    QElapsedTimer t, gap;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        o.longest = std::max(o.longest, bench::seconds(gap));
        gap.restart();
    });
    ticks.start(0);
    t.start();
    gap.start();
    auto* screen = new reports::frmAttendanceRpt;
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    o.shown = bench::seconds(t);
    while (flagged() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // The screen's own work after the engine: a few more events.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    o.done = bench::seconds(t);
    ticks.stop();
    screen->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return o;
}

void flagYear(db::Database& db, const CompanySettings& s) {
    db::Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM [Time Attendance]"));
    db.execute(QStringLiteral("DELETE FROM [Hours Worked]"));
    bench::insertFlaggedShifts(db, s, CalDate::ymd(2025, 1, 6), kEmployees, kWeeks, kShifts);
    tx.commit();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::ScriptedResponder quiet;
    test::TempCompany company;
    test::GeneratedCompany staff;
    staff.employees = kEmployees;
    staff.weeks = 0;
    Company = CompanySettings();
    test::fillGeneratedCompany(company.db(), Company, staff);
    CompanyDb = std::move(company.handle());

    std::printf("Opening the attendance report (%d flagged shifts beside none), round by round:\n",
                kEmployees * kWeeks * kShifts);
    std::printf("  %-10s %12s %14s %16s\n", "", "screen shown", "hours rebuilt", "longest freeze");
    double worst = 0, worstNone = 0;
    for (int round = 0; round < 3; ++round) {
        flagYear(*CompanyDb, Company);
        const Opening year = open();
        CompanyDb->execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 0"));
        const Opening none = open();
        std::printf("  %-10s %9.0f ms %11.0f ms %13.0f ms\n", "a year", year.shown * 1e3, year.done * 1e3,
                    year.longest * 1e3);
        std::printf("  %-10s %9.0f ms %11.0f ms %13.0f ms\n", "none", none.shown * 1e3, none.done * 1e3,
                    none.longest * 1e3);
        worst = std::max(worst, year.longest);
        worstNone = std::max(worstNone, none.longest);
    }
    std::printf("  longest freeze of all rounds: %.0f ms (none flagged: %.0f ms; aim: under 200 ms)\n", worst * 1e3,
                worstNone * 1e3);
    CompanyDb.reset();
    return 0;
}
