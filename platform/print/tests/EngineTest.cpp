#include "EngineFixture.h"

#include <cstddef>
#include <cstring>

namespace plax::print {
namespace {

QByteArray bytesOf(const void* p, size_t n) { return QByteArray(static_cast<const char*>(p), qsizetype(n)); }

TEST(Records, LayoutsArePackedLittleEndian) {
    EXPECT_EQ(offsetof(ReportJobInfo, NumRecordsRead), 2u);
    EXPECT_EQ(offsetof(ReportJobInfo, NumRecordsSelected), 6u);
    EXPECT_EQ(offsetof(ReportJobInfo, NumRecordsPrinted), 10u);
    EXPECT_EQ(offsetof(ReportJobInfo, DisplayPageN), 14u);
    EXPECT_EQ(offsetof(ReportJobInfo, LatestPageN), 16u);
    EXPECT_EQ(offsetof(ReportJobInfo, StartPageN), 18u);
    EXPECT_EQ(offsetof(ReportJobInfo, PrintEnded), 20u);

    const ReportPrintOptions o = makePrintOptions(2, 0x0102, 3);
    EXPECT_EQ(bytesOf(&o, sizeof o), QByteArray::fromHex("0a00020002010300 0000"));

    ReportJobInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    info.StructSize = 24;
    info.NumRecordsRead = 0x01020304;
    info.PrintEnded = 1;
    const QByteArray b = bytesOf(&info, sizeof info);
    EXPECT_EQ(b.mid(0, 6), QByteArray::fromHex("180004030201"));
    EXPECT_EQ(b.mid(20, 4), QByteArray::fromHex("01000000"));
}

TEST(Records, TableLocationHoldsThePathANulAndBlanks) {
    const ReportTableLocation r = makeTableLocation(QStringLiteral("/data/Company07.mdb"));
    const QByteArray b = bytesOf(&r, sizeof r);
    ASSERT_EQ(b.size(), 258);
    EXPECT_EQ(b.mid(0, 2), QByteArray::fromHex("0201"));
    EXPECT_EQ(b.mid(2, 19), QByteArray("/data/Company07.mdb"));
    EXPECT_EQ(b.at(21), '\0');
    EXPECT_EQ(b.mid(22), QByteArray(236, ' '));

    const ReportTableLocation cut = makeTableLocation(QString(300, QLatin1Char('x')));
    EXPECT_EQ(bytesOf(&cut, sizeof cut).mid(2), QByteArray(256, 'x'));
}

class Engine : public EngineFixture {};

TEST_F(Engine, FailuresGiveACodeAndAClearText) {
    EXPECT_EQ(PEOpenPrintJob(company_.dir() + QStringLiteral("Nope.rpt")), 0);
    EXPECT_EQ(PEGetErrorCode(0), pe::ReportFile);
    EXPECT_TRUE(errorText(0).contains(QStringLiteral("Nope.rpt does not exist")));

    EXPECT_EQ(PEOpenPrintJob(write(QStringLiteral("Bad.rpt"), QStringLiteral("table A\nfrobnicate"))), 0);
    EXPECT_EQ(PEGetErrorCode(0), pe::Definition);
    EXPECT_EQ(errorText(0), QStringLiteral("Bad.rpt, line 2: Unknown line 'frobnicate'."));

    const short job = open(shipped(QStringLiteral("Department.rpt")));
    EXPECT_EQ(PEGetNTables(job), 1);
    ReportTableLocation wrong = makeTableLocation(company_.path());
    wrong.StructSize = 100;
    EXPECT_EQ(PESetNthTableLocation(job, 0, &wrong), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::Location);
    EXPECT_EQ(PESetNthTableLocation(job, 1, &wrong), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::TableNumber);

    EXPECT_EQ(PESetFormula(job, QStringLiteral("DisplayRate"), QStringLiteral("True")), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::NoFormula);
    EXPECT_EQ(PESetFormula(job, QStringLiteral("CompanyName"), QStringLiteral("'Acme")), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::FormulaSyntax);
    EXPECT_TRUE(PESetFormula(job, QStringLiteral("CompanyName"), QStringLiteral("'Acme'")));
    EXPECT_EQ(PEGetErrorCode(job), 0) << "a successful call clears the error";

    EXPECT_EQ(PESetSelectionFormula(job, QStringLiteral("{Department.Nmae} = 'x'")), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::UnknownField);
    EXPECT_EQ(errorText(job), QStringLiteral("Selection formula: unknown field {Department.Nmae} (at position 1)."));
    EXPECT_EQ(PESetSelectionFormula(job, QStringLiteral("{Employee.ID} = 'x'")), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::UnknownField) << "a table the report does not read";
    EXPECT_EQ(PESetSelectionFormula(job, QStringLiteral("{Department.DepartmentNo} = ")), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::SelectionSyntax);

    EXPECT_EQ(PEOpenSubreport(job, QStringLiteral("Time Attendance")), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::NoSubreport);
    EXPECT_EQ(PESetNthSortField(job, 5, QStringLiteral("{Department.Description}"), SortAscending), 0);
    EXPECT_EQ(PESetNthSortField(job, 0, QStringLiteral("Department.Description"), SortAscending), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::SortField);

    EXPECT_EQ(PEGetNTables(999), -1);
    EXPECT_EQ(PEGetErrorCode(999), pe::BadJob);
    PECloseEngine();
    EXPECT_EQ(PEOpenPrintJob(shipped(QStringLiteral("Department.rpt"))), 0);
    EXPECT_EQ(PEGetErrorCode(0), pe::EngineNotOpen);
}

TEST_F(Engine, ErrorTextsAreCutToTheCallersBuffer) {
    PEOpenPrintJob(company_.dir() + QStringLiteral("Nope.rpt"));
    PEHandle h = 0;
    short len = 0;
    ASSERT_TRUE(PEGetErrorText(0, &h, &len));
    char buf[6];
    std::memset(buf, 'z', sizeof buf);
    ASSERT_TRUE(PEGetHandleString(h, buf, short(sizeof buf)));
    EXPECT_STREQ(buf, "The r");
    EXPECT_EQ(PEGetHandleString(h, buf, short(sizeof buf)), 0) << "a handle is good for one read";
}

TEST_F(Engine, JobStatusFollowsTheJob) {
    const short job = open(shipped(QStringLiteral("Department.rpt")));
    ReportJobInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    info.StructSize = 24;
    EXPECT_EQ(PEGetJobStatus(job, &info), JobNotStarted);
    EXPECT_EQ(info.PrintEnded, 0);
    run(job);
    EXPECT_EQ(PEGetJobStatus(job, &info), JobCompleted);
    EXPECT_EQ(info.NumRecordsRead, 3u);
    EXPECT_EQ(info.NumRecordsSelected, 3u);
    EXPECT_EQ(info.NumRecordsPrinted, 3u);
    EXPECT_EQ(info.LatestPageN, 1);
    EXPECT_EQ(info.PrintEnded, 1);
    info.StructSize = 20;
    EXPECT_EQ(PEGetJobStatus(job, &info), -1);
}

TEST_F(Engine, WithoutAPrinterThePagesAndCopiesAskedForGoIntoAPdf) {
    for (int i = 0; i < 200; ++i)
        company_.db().execute(QStringLiteral("INSERT INTO Department (DepartmentNo, Description) VALUES (?, ?)"),
                              {QStringLiteral("D%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("Department %1").arg(i)});
    const short job = open(shipped(QStringLiteral("Department.rpt")));
    const Document& d = run(job);
    ASSERT_GE(d.pages.size(), 3u);
    ASSERT_EQ(pdfs_.size(), 1);
    EXPECT_EQ(pdfPages(pdfs_[0]), int(d.pages.size()));
    EXPECT_TRUE(pdfs_[0].startsWith(company_.dir() + QStringLiteral("Data/Department-")));

    const ReportPrintOptions o = makePrintOptions(2, 3, 2);
    ASSERT_TRUE(PESetPrintOptions(job, &o));
    ASSERT_TRUE(PEOutputToPrinter(job, 2));
    ASSERT_TRUE(PEStartPrintJob(job, 1));
    ASSERT_EQ(pdfs_.size(), 2);
    EXPECT_EQ(pdfPages(pdfs_[1]), 4) << "pages 2 and 3, twice";

    const ReportPrintOptions backwards = makePrintOptions(3, 2, 1);
    EXPECT_EQ(PESetPrintOptions(job, &backwards), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::PrintOptions);
    const ReportPrintOptions beyond = makePrintOptions(50, 0, 1);
    ASSERT_TRUE(PESetPrintOptions(job, &beyond));
    EXPECT_EQ(PEStartPrintJob(job, 1), 0);
    EXPECT_EQ(PEGetErrorCode(job), pe::PrintOptions);
}

TEST_F(Engine, OpenAndCloseNestSoASecondPrintLeavesTheFirstJobAlone) {
    const short first = open(shipped(QStringLiteral("Department.rpt")));
    ASSERT_TRUE(PEOpenEngine());
    const short second = open(shipped(QStringLiteral("Messages.rpt")));
    EXPECT_NE(first, second);
    PEClosePrintJob(second);
    PECloseEngine();
    EXPECT_TRUE(PEEngineIsOpen());
    EXPECT_EQ(PEGetNTables(first), 1);
    PECloseEngine();
    EXPECT_FALSE(PEEngineIsOpen());
    EXPECT_EQ(PEGetNTables(first), -1) << "closing the engine closed the job";
}

} // namespace
} // namespace plax::print
