// Test helper: the office program's punch import as a second process.
//   import_runner <database> <data folder>
// Prints "importing" once the database is open, then runs the import of
// <data folder>/Clock.txt with the company settings of the database and
// prints the message it showed. Exits 0 after a successful import.
// After its first batch (committed, the lock let go) it prints "batch" and
// waits for a line on its input, so the test can punch at the terminal
// while an import is surely under way.
#include "attendance/ClockImport.h"
#include "core/common/Settings.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <cstdio>

using namespace plax;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: import_runner <database> <data folder>\n");
        return 2;
    }
    ui::ScriptedResponder boxes; // the import's closing message, answered
    try {
        auto db = db::Database::open(QString::fromLocal8Bit(argv[1]));
        CompanySettings settings;
        LoadCompanySettings(*db, settings);
        std::printf("importing\n");
        std::fflush(stdout);
        bool paused = false;
        const auto firstBatch = [&paused](int done, int total) {
            if (paused || done == total)
                return;
            paused = true;
            std::printf("batch\n");
            std::fflush(stdout);
            char line[16];
            if (!std::fgets(line, sizeof line, stdin))
                return; // the test has gone: the import just goes on
        };
        const bool ok = ImportClockData(*db, settings, QString::fromLocal8Bit(argv[2]), firstBatch);
        std::printf("%s\n", qPrintable(boxes.texts().join(QLatin1Char('|'))));
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
