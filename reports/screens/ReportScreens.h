#pragma once
// The report screens' entries in the main window's menus:
// "mnuReportsEmpLst" (employee data), "mnuReportsAbsLst" (absences),
// "mnuRptTA" (time and attendance) and "mnuReportsExceptions".
// Other screens open them through runMenuHandler with the same names (the
// clock-data editor's and the absence entry's "Select" buttons).

class QWidget;

namespace plax::reports {

void registerReportScreenMenus();

// Each shows its screen, creating it on first use (one instance each).
QWidget* showEmployeeReport();
QWidget* showAbsenceReport();
QWidget* showAttendanceReport();
QWidget* showExceptionReport();

} // namespace plax::reports
