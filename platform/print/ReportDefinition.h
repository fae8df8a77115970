#pragma once
// Report definition files: a plain-text, line-based format of our own
// (described for report writers in docs/report-format.md). A definition
// names the tables a report reads and how they join, its named formulas,
// sort fields, groups, detail columns, totals and subreports. The page
// header and footer (company name, title, date printed, page N of M) are
// the same on every report.

#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

namespace plax::print {

class DefinitionError : public std::runtime_error {
public:
    DefinitionError(int line, const QString& message)
        : std::runtime_error(message.toStdString()), line_(line), message_(message) {}
    int line() const { return line_; }
    const QString& message() const { return message_; }

private:
    int line_;
    QString message_;
};

struct FieldName {
    QString table, field;
    QString braced() const { return QStringLiteral("{%1.%2}").arg(table, field); }
};

// One piece of a text line (group header/footer, summary): literal text,
// a field, a named formula, the record count, the number of (outermost)
// groups, or a sum.
struct LineItem {
    enum class Kind { Text, Field, Formula, Count, GroupCount, Sum } kind = Kind::Text;
    QString text;    // Text; formula name for Formula (and Sum of a formula)
    FieldName field; // Field, Sum of a field
    bool sumOfFormula = false;
};
using TextLine = std::vector<LineItem>;

struct ColumnDef {
    enum class Format { Auto, Date, Time, Weekday, Decimals, YesNo };
    QString heading;
    LineItem value; // Field or Formula
    double width = 12; // in average characters of the body font
    enum class Align { Auto, Left, Right, Center } align = Align::Auto;
    Format format = Format::Auto;
    int decimals = 2;
    QString trueText = QStringLiteral("Yes"), falseText = QStringLiteral("No");
    bool sum = false;
    bool wrap = false;
    // Printed whole like a number: never narrowed, run on or cut (IDs, codes).
    bool whole = false;
    QString when; // formula text; the column is left out when it is False
    int line = 0;
};

struct TableDef {
    QString name;
    bool leftJoin = false;
    std::vector<std::pair<FieldName, FieldName>> on; // empty for the first table
    int line = 0;
};

struct SortDef {
    FieldName field;
    bool ascending = true;
};

struct GroupDef {
    FieldName field;
    bool ascending = true;
    std::vector<TextLine> header, footer;
    bool totals = false;
    QString totalsLabel;
    bool newPage = false;
};

struct FormulaDef {
    QString name, text;
    int line = 0;
};

// What a report and a subreport have in common.
struct ReportBody {
    std::vector<TableDef> tables;
    QString where; // the definition's own selection, ANDed with the job's
    std::vector<SortDef> sorts;
    std::vector<GroupDef> groups;
    std::vector<ColumnDef> columns;
    std::vector<FormulaDef> formulas;
    std::vector<TextLine> summary;
    bool totals = false;
    QString totalsLabel;
    TextLine noData; // texts and formulas: there is no record to print from
    // False: no detail lines; each group prints one line, its totals row
    // with the group's first record in the columns that are not summed.
    bool details = true;
};

// A card layout: one card of a fixed size per record, as many across and
// down the page as fit, with cut marks. Lengths in millimetres.
struct CardLine {
    TextLine items;
    double points = 10;
    bool bold = false;
    ColumnDef::Align align = ColumnDef::Align::Center; // never Auto
    double top = -1; // from the card's top edge; below the line before when negative
    bool band = false; // printed on a shaded band across the card
};
struct CardDef {
    double width = 0, height = 0;
    double gap = 0; // between neighbouring cards
    std::vector<CardLine> lines;
};

struct SubreportDef : ReportBody {
    QString name;
    QString title; // printed above the subreport's rows; may be empty
    std::vector<std::pair<FieldName, FieldName>> links; // subreport field, main field
    bool headings = true;
};

struct ReportDefinition : ReportBody {
    QString title;
    TextLine subtitle; // under the title on every page; may be empty
    bool landscape = false;
    double fontSize = 9;
    QString printer; // the report's own printer; empty = the default printer
    std::vector<SubreportDef> subreports;
    std::optional<CardDef> card; // cards instead of detail lines

    // Throws DefinitionError with the line number.
    static ReportDefinition parse(const QString& text);
    // Reads a file (UTF-8); a file that cannot be read raises line 0.
    static ReportDefinition load(const QString& path);
};

} // namespace plax::print
