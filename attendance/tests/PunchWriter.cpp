// Test helper: a second process that records punches into a company
// database the way the clock terminal does, one transaction per punch,
// until the stop file exists (or after 20,000 punches).
//   punch_writer <database> <employee ID> <stop file>
// Prints "ready" once the database is open and the number of punches
// recorded at the end; exits 0 when every punch was recorded as expected,
// else prints the failures on stderr and exits 1.
#include "core/pairing/PunchPairing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>

using namespace plax;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: punch_writer <database> <employee ID> <stop file>\n");
        return 2;
    }
    const QString id = QString::fromLocal8Bit(argv[2]);
    const QString stopFile = QString::fromLocal8Bit(argv[3]);
    int failures = 0, i = 0;
    qint64 longest = 0; // the longest single punch, in milliseconds
    try {
        auto db = db::Database::open(QString::fromLocal8Bit(argv[1]));
        CompanySettings settings;
        pairing::PunchRecorder recorder(*db, settings, pairing::PairingOptions::forTerminal());
        std::printf("ready\n");
        std::fflush(stdout);
        const CalDate first = CalDate::ymd(2030, 1, 7);
        for (; i < 20000 && !QFile::exists(stopFile); ++i) {
            const CalDate d = first.addDays(i / 2);
            const TimeOfDay t = TimeOfDay::fromMinutes(i % 2 == 0 ? 8 * 60 : 16 * 60);
            try {
                QElapsedTimer wait;
                wait.start();
                const auto r = recorder.record(id, d, t);
                longest = std::max(longest, wait.elapsed());
                if (r.outcome != (i % 2 == 0 ? pairing::PunchOutcome::NewShift : pairing::PunchOutcome::Closed)) {
                    std::fprintf(stderr, "punch %d: unexpected outcome %d\n", i, int(r.outcome));
                    ++failures;
                }
            } catch (const db::DbError& e) {
                std::fprintf(stderr, "punch %d: error %d: %s\n", i, e.number(), e.what());
                ++failures;
            }
            QThread::msleep(2);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%d\n", i);
    std::fprintf(stderr, "longest punch: %lld ms\n", static_cast<long long>(longest));
    return failures == 0 ? 0 : 1;
}
