// mkcompany: builds an empty company database from the schema, and
// optionally fills it with the demonstration company. Usage: see kUsage.
#include "core/schema/CompanySchema.h"
#include "core/schema/DemoData.h"
#include "core/types/Clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

const char* const kUsage =
    "usage: mkcompany PATH [--demo] [--password SECRET] [--if-missing]\n"
    "\n"
    "Builds a new company database file at PATH for PLAX and PLAXClk.\n"
    "\n"
    "  mkcompany Acme.mdb                        an empty company\n"
    "  mkcompany Demo.mdb --demo                 the demonstration company\n"
    "  mkcompany Acme.mdb --password SECRET      an empty company protected by a password\n"
    "  mkcompany Acme.mdb --if-missing           the same, doing nothing when Acme.mdb exists\n"
    "\n"
    "  --demo            fill the file with the demonstration company (departments,\n"
    "                    schedules, a dozen employees, two weeks of punches)\n"
    "  --password SECRET protect the file with a password (PLAX and PLAXClk ask for it)\n"
    "  --if-missing      leave an existing file alone and succeed\n"
    "  -h, --help        show this text\n"
    "\n"
    "An existing file is never overwritten. Point PLAX at the new file with\n"
    "Setup, Company, Location.\n";

int refuse(const char* what, const QString& arg) {
    std::fprintf(stderr, "mkcompany: %s: %s\nTry 'mkcompany --help'.\n", what, qPrintable(arg));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString path, password;
    bool demo = false, ifMissing = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == QLatin1String("--demo")) {
            demo = true;
        } else if (a == QLatin1String("--if-missing")) {
            ifMissing = true;
        } else if (a == QLatin1String("--password")) {
            if (i + 1 >= args.size())
                return refuse("--password needs the password after it", a);
            password = args[++i];
        } else if (a == QLatin1String("--")) {
            // Everything after "--" is a path, even when it starts with "-".
            for (++i; i < args.size(); ++i) {
                if (!path.isEmpty())
                    return refuse("more than one path", args[i]);
                path = args[i];
            }
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return refuse("unknown option", a);
        } else if (!path.isEmpty()) {
            return refuse("more than one path", a);
        } else {
            path = a;
        }
    }
    if (path.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (QFileInfo::exists(path)) {
        if (ifMissing)
            return 0;
        std::fprintf(stderr, "mkcompany: %s exists already\n", qPrintable(path));
        return 1;
    }
    if (const QDir folder = QFileInfo(path).absoluteDir(); !folder.exists()) {
        std::fprintf(stderr, "mkcompany: the folder %s does not exist (make it first: mkdir -p %s)\n",
                     qPrintable(folder.path()), qPrintable(folder.path()));
        return 1;
    }
    try {
        auto db = plax::schema::createCompanyDatabase(path, password);
        if (demo) {
            plax::schema::DemoOptions o;
            o.today = plax::Clock::today();
            plax::schema::fillDemoData(*db, o);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkcompany: %s\n", e.what());
        return 1;
    }
    return 0;
}
