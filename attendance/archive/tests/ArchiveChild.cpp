// Test helper: archives or restores a week as the archive screens do, on
// the company's stored settings, and ends itself with SIGKILL at one step of
// the move, so that a test sees what a process ended there leaves.
//   archive_child <company> <program folder> archive|restore <first yyyy-mm-dd> <last yyyy-mm-dd> <step>
// Prints "ended at step N" just before; exits 3 when the step never came.
#include "attendance/archive/WeekArchive.h"
#include "core/common/Settings.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

using namespace plax;
using namespace plax::archive;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    if (a.size() != 7) {
        std::fprintf(stderr,
                     "usage: archive_child <company> <folder> archive|restore <first> <last> <step>\n");
        return 2;
    }
    const int at = a[6].toInt();
    setMoveStepHook([at](MoveStep step) {
        if (int(step) != at)
            return;
        std::printf("ended at step %d\n", at);
        std::fflush(stdout);
        std::raise(SIGKILL);
    });
    try {
        auto company = db::Database::open(a[1]);
        CompanySettings s;
        LoadCompanySettings(*company, s);
        const auto first = CalDate::fromIso(a[4]), last = CalDate::fromIso(a[5]);
        const auto w = weekOfEntry(first->toShortDate() + QStringLiteral(" --> ") + last->toShortDate(), s);
        const QString path = archivePath(a[2], w->first);
        if (a[3] == QLatin1String("restore"))
            restoreWeek(*company, s, path, *w);
        else
            archiveWeek(*company, s, path, *w);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 3;
}
