#pragma once
// The module every screen prints through. A caller opens the engine with
// OpenReportEngine() and, only when it returns true, calls PrintReport(),
// which opens one print job on a report file of AppPath + "Reports/",
// points its tables at the company database, sets the named formulas and
// the selection formula, prints through the print dialog (destination 0)
// or previews in a new "Report Preview Window" (destination 1), and always
// ends by closing the engine.
//
// A preview keeps PrintReport() waiting, with the event loop running,
// until the preview window is closed. Meanwhile the program stays usable
// and another report may be printed or previewed: every PrintReport() call
// works on its own job handle, and the engine stays open until the last
// call has closed it. ReportJob holds the handle of the job opened last
// (the print dialog prints that one).
//
// Threading: the user-interface thread only.

#include "platform/print/PrintEngine.h"

#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace plax::reports {

using print::ReportJobInfo;
using print::ReportPrintOptions;
using print::ReportTableLocation;

// The handle of the current print job (0 = none).
extern short ReportJob;

// Destinations of PrintReport.
constexpr short kToPrinter = 0;
constexpr short kToWindow = 1;

bool OpenReportEngine();
// sortChoice: the employee list's sort (1 "ID#", 2 "Department", 3 "Last
// Name"); used for "EList.rpt" only. `formulas`: further named formulas of
// the report (name, formula text), set after "CompanyName".
void PrintReport(short destination, const QString& reportFile, const QString& selectionFormula,
                 std::optional<short> sortChoice = std::nullopt,
                 const std::vector<std::pair<QString, QString>>& formulas = {});
// Asks for a year and prints "Holiday.rpt" for it.
void PrintHolidayList(short destination);

void ShowReportError(short job);
short GetReportJobStatus(short job, ReportJobInfo& info);
void ShowReportJobStatus(short job);
// The "Print Status" text of a job status (exposed for tests).
QString reportJobStatusText(short status, const ReportJobInfo& info);
bool SetReportTableLocations(short job);
void SetEmployeeSortFields(short sortChoice, short job);

// Connects the engine to the program: reports read through the program's
// open company database (so they see the screens' temporary tables), a
// printout without any printer is written as PDF into DataPath and the
// user is told where, and a preview's print button opens the print dialog.
void installReportEngineHooks();

} // namespace plax::reports
