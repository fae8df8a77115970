// mkcompany: builds an empty company database from the schema, and
// optionally fills it with the demonstration company.
//
//   mkcompany PATH [--demo] [--password SECRET] [--if-missing]
#include "core/schema/CompanySchema.h"
#include "core/schema/DemoData.h"
#include "core/types/Clock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString path, password;
    bool demo = false, ifMissing = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--demo"))
            demo = true;
        else if (args[i] == QLatin1String("--if-missing"))
            ifMissing = true;
        else if (args[i] == QLatin1String("--password") && i + 1 < args.size())
            password = args[++i];
        else
            path = args[i];
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "usage: mkcompany PATH [--demo] [--password SECRET] [--if-missing]\n");
        return 2;
    }
    if (QFileInfo::exists(path)) {
        if (ifMissing)
            return 0;
        std::fprintf(stderr, "mkcompany: %s exists already\n", qPrintable(path));
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
