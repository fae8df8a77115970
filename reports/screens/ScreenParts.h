#pragma once
// Pieces the report screens share: the toolbar with the keys "Preview",
// "Print" and "Close", the "Period" formulas and the call into the print
// wrapper.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"

#include <QIcon>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QToolBar;
class QWidget;

namespace plax {
class DateBox;
}

namespace plax::reports {

// The toolbar picture of a Print button.
QIcon printerIcon();

// Toolbar1: buttons keyed "Preview", "Print" and "Close"; `clicked` gets the key.
QToolBar* makeReportToolbar(QWidget* parent, const std::function<void(const QString& key)>& clicked);

// A named formula a screen passes with a print: name and formula text.
using NamedFormula = std::pair<QString, QString>;
// The "Period" formula a report prints in its heading: the work week that
// holds `day`, with its first and last date, or the dates of a range.
NamedFormula payPeriodFormula(CalDate day, const CompanySettings& s);
NamedFormula dateRangeFormula(CalDate from, CalDate to);
// The "Period" of a screen's date frame: the dates of its two date boxes, or
// the work week of its pay-period text (which holds a date).
NamedFormula periodFormula(bool dateRange, const DateBox* from, const DateBox* to,
                           const QString& payPeriodText, const CompanySettings& s);

// OpenReportEngine and, when it opened, PrintReport.
void printReport(int destination, const QString& reportFile, const QString& selection,
                 std::optional<int> sortChoice = std::nullopt,
                 const std::vector<NamedFormula>& formulas = {});

} // namespace plax::reports
