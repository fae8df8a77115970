#pragma once
// A program folder in a temporary directory: the demonstration company
// database open as the program's database, the report definitions in
// Reports/, a Data/ folder, and a fixed clock.

#include "reports/Reports.h"

#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "platform/ui/Dialogs.h"
#include "testing/TempCompany.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace plax::test {

// Makes the company's folder the program folder: AppPath, a Data/ folder,
// the shipped report definitions in Reports/, and CompanyDbPath.
inline void prepareProgramFolder(const TempCompany& company) {
    AppPath = company.dir();
    DataPath = AppPath + QStringLiteral("Data/");
    QDir().mkpath(DataPath);
    QDir().mkpath(AppPath + QStringLiteral("Reports"));
    const QDir defs(QStringLiteral(PLAX_SOURCE_DIR "/reports/definitions"));
    for (const QString& f : defs.entryList({QStringLiteral("*.rpt")}, QDir::Files))
        QFile::copy(defs.filePath(f), AppPath + QStringLiteral("Reports/") + f);
    CompanyDbPath = company.path();
}

// The same, with the company database open as the program's database (taken
// from `company`).
inline void useAsProgramFolder(TempCompany& company) {
    prepareProgramFolder(company);
    CompanyDb = std::move(company.handle());
}

// Closes what a print test may leave open: the engine, the program's
// database and the fixed clock.
inline void leaveProgramFolder() {
    while (print::PEEngineIsOpen())
        print::PECloseEngine();
    CompanyDb.reset();
    Clock::reset();
}

class ReportFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
        company_.fillDemo(CalDate::ymd(2026, 12, 8));
        useAsProgramFolder(company_);
        Company.CompanyName = QStringLiteral("Northwind Fixtures Ltd.");
        Company.IncludeWages = true;
    }
    void TearDown() override { leaveProgramFolder(); }

    void writeReport(const QString& name, const QString& text) {
        QFile f(AppPath + QStringLiteral("Reports/") + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }
    db::Database& db() { return *CompanyDb; }

    // The text of a PDF file as pdftotext reads it (layout kept).
    static QString pdfText(const QString& path) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        p.waitForFinished(-1);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QStringList pdfFiles() const {
        return QDir(DataPath).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

    TempCompany company_;
    ui::ScriptedResponder responder_;
};

} // namespace plax::test
