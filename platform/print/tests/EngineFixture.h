#pragma once
// The print engine open on a demonstration company database in a temporary
// folder, with the shipped report definitions at hand.

#include "platform/print/PageModel.h"
#include "platform/print/PrintEngine.h"
#include "testing/TempCompany.h"

#include "core/types/Clock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace plax::print {

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(14, 5)));
        company_.fillDemo(CalDate::ymd(2026, 12, 8));
        EngineHooks h;
        h.database = [this](const QString& path) { return path == company_.path() ? &company_.db() : nullptr; };
        h.pdfFolder = company_.dir() + QStringLiteral("Data");
        h.pdfWritten = [this](const QString& path) { pdfs_ << path; };
        setEngineHooks(h);
        ASSERT_TRUE(PEOpenEngine());
    }
    void TearDown() override {
        while (PEEngineIsOpen())
            PECloseEngine();
        setEngineHooks({});
        Clock::reset();
    }

    static QString shipped(const QString& name) { return QStringLiteral(PLAX_SOURCE_DIR "/reports/definitions/") + name; }
    QString write(const QString& name, const QString& text) {
        const QString path = company_.dir() + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return path;
    }
    // Opens a job and points every table at the company database.
    short open(const QString& path) {
        const short job = PEOpenPrintJob(path);
        EXPECT_NE(job, 0) << errorText(0).toStdString();
        const ReportTableLocation loc = makeTableLocation(company_.path());
        for (short i = 0; i < PEGetNTables(job); ++i)
            EXPECT_TRUE(PESetNthTableLocation(job, i, &loc));
        return job;
    }
    // Lays the job out (printing it to the PDF fallback) and returns the pages.
    const Document& run(short job) {
        EXPECT_TRUE(PEOutputToPrinter(job, 1));
        EXPECT_TRUE(PEStartPrintJob(job, 1)) << errorText(job).toStdString();
        static const Document empty;
        const Document* d = jobDocument(job);
        return d ? *d : empty;
    }
    static QString errorText(short job) {
        PEHandle h = 0;
        short len = 0;
        PEGetErrorText(job, &h, &len);
        QByteArray buf(len + 1, ' ');
        PEGetHandleString(h, buf.data(), short(buf.size()));
        return QString::fromLatin1(buf.constData());
    }
    static int pdfPages(const QString& path) {
        QProcess p;
        p.start(QStringLiteral("pdfinfo"), {path});
        p.waitForFinished(-1);
        for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
            if (l.startsWith(QLatin1String("Pages:")))
                return l.mid(6).trimmed().toInt();
        return -1;
    }
    // The text of a PDF file, its columns set apart by two blanks.
    static QString pdfText(const QString& path) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        p.waitForFinished(-1);
        return QString::fromUtf8(p.readAllStandardOutput()).replace(QRegularExpression(QStringLiteral(" {2,}")),
                                                                    QStringLiteral("  "));
    }
    // Detail lines of all pages: lines between the headings and the footer rule.
    static QStringList allLines(const Document& d) {
        QStringList out;
        for (const Page& p : d.pages)
            out << p.lines();
        return out;
    }

    test::TempCompany company_;
    QStringList pdfs_;
};

} // namespace plax::print
