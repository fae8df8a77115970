#pragma once
// Lays a report's selected, sorted records out into pages: page header
// (company name, date printed, title, column headings), group headers and
// footers, detail lines, subreports under each detail line, totals, and the
// page footer with the title and "Page N of M".

#include "PageModel.h"
#include "ReportData.h"
#include "ReportDefinition.h"

#include <QDateTime>
#include <QHash>
#include <memory>

namespace plax::print {

// The rows of one subreport, ready to be printed under the main report's
// detail lines whose link fields match.
struct SubreportRun {
    const SubreportDef* def = nullptr;
    DataSet data;
    FormulaSet formulas;
    std::vector<int> linkSub, linkMain; // column indexes
    std::vector<bool> columnVisible;
    QHash<QString, std::vector<int>> rowsByKey;
    // Builds rowsByKey (linkKey of linkSub).
    void index();
};

struct LayoutInput {
    const ReportDefinition* def = nullptr;
    const DataSet* data = nullptr;
    const FormulaSet* formulas = nullptr;
    std::vector<int> groupColumns; // one per group of the definition
    std::vector<bool> columnVisible;
    QString companyName;
    QDateTime printed;
    Paper paper = localePaper();
    std::vector<SubreportRun*> subreports;
};

Document layoutReport(const LayoutInput& in);

// Where the cards of a card layout go on a page (twips): as many across and
// down as fit inside the margins, the block centred on the paper.
struct CardGrid {
    int across = 1, down = 1;
    double left = 0, top = 0; // the first card's corner
};
CardGrid cardGrid(const CardDef& card, double pageWidth, double pageHeight);

// The text of a value as a column shows it: dates in the short form the
// screens show, amounts with the locale's decimal separator.
QString formatValue(const FValue& v, const ColumnDef& c);

// The page header's "Date printed: ..." for a moment.
QString printedText(const QDateTime& t);
// The pages with that text for `t` in their headers: `doc` itself when it
// says so already, else a copy with the text written again.
std::shared_ptr<const Document> stampPrinted(const std::shared_ptr<const Document>& doc, const QDateTime& t);

// A number rounded to `decimals` places as a clerk rounds it: halves away
// from zero, judged on the decimal the value stands for (2.675, held as
// 2.67499..., gives 2.68).
double roundedTo(double x, int decimals);

} // namespace plax::print
