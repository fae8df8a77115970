#include "platform/print/ReportDefinition.h"

#include <QDir>
#include <gtest/gtest.h>

namespace plax::print {
namespace {

TEST(Definition, EveryStatementIsRead) {
    const ReportDefinition d = ReportDefinition::parse(QStringLiteral(R"(# a comment
title "Weekly ""Hours"""
subtitle "Period: " {@Period}
orientation landscape
fontsize 8
printer "Office Laser"
table Attendance
table Employee left join on {Employee.ID} = {Attendance.EmpID}
table "Schedule Days" join on {Schedule Days.ScheduleNo} = {Employee.ScheduleNo} and {Schedule Days.TheDay} = {Attendance.Week}
where {Employee.Status} = True
formula CompanyName = ''
formula Wages = {Attendance.Hours} * {Employee.Rate}
sort {Employee.LastName} descending
group {Employee.DepartmentNo}
  header "Department " {Employee.DepartmentNo}
  footer "Employees: " count ", hours: " sum {Attendance.Hours}
  totals "Department total"
  newpage
end
column "ID" {Employee.ID} width 8 align center
column "Hours" {Attendance.Hours} width 8 format decimals 2 sum
column "Wages" {@Wages} format decimals 2 sum when {@DisplayRate} = True
column "Active" {Employee.Status} format yesno "Active" "Inactive"
column "Notes" {Employee.Notes} wrap
totals "Grand total"
summary "Employees: " count " in " groupcount " departments"
nodata "Nothing to print."
subreport "Time Attendance"
  title "Punches"
  table "Time Attendance"
  link {Time Attendance.EmpID} = {Attendance.EmpID}
  headings off
  column "In" {Time Attendance.ClockIn} format time
end
)"));
    EXPECT_EQ(d.title, QStringLiteral("Weekly \"Hours\""));
    ASSERT_EQ(d.subtitle.size(), 2u);
    EXPECT_EQ(d.subtitle[1].text, QStringLiteral("Period"));
    EXPECT_TRUE(d.landscape);
    EXPECT_EQ(d.fontSize, 8);
    EXPECT_EQ(d.printer, QStringLiteral("Office Laser"));
    ASSERT_EQ(d.tables.size(), 3u);
    EXPECT_TRUE(d.tables[1].leftJoin);
    EXPECT_EQ(d.tables[2].name, QStringLiteral("Schedule Days"));
    EXPECT_FALSE(d.tables[2].leftJoin);
    ASSERT_EQ(d.tables[2].on.size(), 2u);
    EXPECT_EQ(d.tables[2].on[1].second.braced(), QStringLiteral("{Attendance.Week}"));
    EXPECT_EQ(d.where, QStringLiteral("{Employee.Status} = True"));
    ASSERT_EQ(d.formulas.size(), 2u);
    EXPECT_EQ(d.formulas[0].text, QStringLiteral("''"));
    EXPECT_FALSE(d.sorts[0].ascending);
    ASSERT_EQ(d.groups.size(), 1u);
    EXPECT_TRUE(d.groups[0].newPage);
    EXPECT_EQ(d.groups[0].totalsLabel, QStringLiteral("Department total"));
    ASSERT_EQ(d.groups[0].footer.at(0).size(), 4u);
    EXPECT_EQ(d.groups[0].footer[0][1].kind, LineItem::Kind::Count);
    EXPECT_EQ(d.groups[0].footer[0][3].kind, LineItem::Kind::Sum);
    ASSERT_EQ(d.columns.size(), 5u);
    EXPECT_EQ(d.columns[0].align, ColumnDef::Align::Center);
    EXPECT_EQ(d.columns[1].format, ColumnDef::Format::Decimals);
    EXPECT_TRUE(d.columns[1].sum);
    EXPECT_EQ(d.columns[2].value.kind, LineItem::Kind::Formula);
    EXPECT_EQ(d.columns[2].when, QStringLiteral("{@DisplayRate} = True"));
    EXPECT_EQ(d.columns[3].falseText, QStringLiteral("Inactive"));
    EXPECT_TRUE(d.columns[4].wrap);
    EXPECT_EQ(d.summary.at(0).at(3).kind, LineItem::Kind::GroupCount);
    ASSERT_EQ(d.subreports.size(), 1u);
    EXPECT_EQ(d.subreports[0].name, QStringLiteral("Time Attendance"));
    EXPECT_FALSE(d.subreports[0].headings);
    EXPECT_EQ(d.subreports[0].links.at(0).first.table, QStringLiteral("Time Attendance"));
}

TEST(Definition, MistakesAreReportedWithTheirLine) {
    const struct {
        const char* text;
        int line;
        const char* message;
    } cases[] = {
        {"title \"X\"\ntable A\ncolum \"X\" {A.B}", 3, "Unknown line 'colum'"},
        {"table A\ngroup {A.B}\n  header \"x\"", 3, "has no 'end'"},
        {"table A\ncolumn {A.B}", 2, "A column is written"},
        {"table A\ncolumn \"X\" {A.B} width -3", 2, "positive number"},
        {"table A\ncolumn \"X\" {A.B} format money", 2, "Unknown format 'money'"},
        {"table A\nwhere {A.B} = ", 2, "Formula error: A value expected"},
        {"table A\ntable B", 2, "needs 'join on'"},
        {"table A\ntable B join on {A.x} {B.y}", 2, "join condition"},
        {"title \"open", 1, "not closed"},
        {"table A\nsummary count total", 2, "Unexpected 'total'"},
        {"table A\nsubreport \"S\"\nend", 0, "subreport \"S\" names no table"},
    };
    for (const auto& c : cases) {
        try {
            (void)ReportDefinition::parse(QString::fromLatin1(c.text));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const DefinitionError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text;
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(c.message))) << e.message().toStdString();
        }
    }
}

TEST(Definition, AReportWithoutTablesIsAllowed) {
    const ReportDefinition d = ReportDefinition::parse(QStringLiteral("title \"Notice\"\nsummary \"Hello\""));
    EXPECT_TRUE(d.tables.empty());
}

TEST(Definition, TheShippedReportsAreValid) {
    const QDir dir(QStringLiteral(PLAX_SOURCE_DIR "/reports/definitions"));
    const QStringList files = dir.entryList({QStringLiteral("*.rpt")}, QDir::Files);
    EXPECT_GE(files.size(), 4);
    for (const QString& f : files)
        EXPECT_NO_THROW(ReportDefinition::load(dir.filePath(f))) << f.toStdString();
    EXPECT_THROW(ReportDefinition::load(dir.filePath(QStringLiteral("Missing.rpt"))), DefinitionError);
}

} // namespace
} // namespace plax::print
