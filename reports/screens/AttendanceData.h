#pragma once
// The attendance report's work table `Attendance` and everything that fills
// it: the worked hours at load, the paid absences and the holidays at each
// print, and the selection the report and the merges share. No widgets here;
// frmAttendanceRpt drives it.

#include "attendance/HoursEngine.h"
#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"
#include "platform/db/Database.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace plax::reports {

// One row per employee, work date and work week. Absences and Holidays stay
// Null on rows that only hold worked hours. WorkDate is the row's work date
// (RowWorkDate), WeekStart and WeekEnd the first and last day of its work
// week, all set by each print.
bool CreateAttendanceTable(db::Database& db);
bool DropAttendanceTable(db::Database& db);

// A SQL condition written by the program with its bound values.
struct SqlPart {
    QString sql;
    db::Params params;
};

// Copies every [Hours Worked] row into Attendance, emptied first, so the
// table never shows hours the hours engine has since rebuilt. A print
// copies only the rows its selection can take (PrepareAttendanceReport).
bool LoadHoursWorked(db::Database& db);

// The groupings of the employee tree (cboEmpGroups).
enum class EmpGrouping { Employee, Department, Schedule };

struct TreeEntry {
    QString text;
    QString key;
    // "No Department" / "No Schedule": employees without one.
    bool none = false;
};

std::vector<TreeEntry> LoadEmployeeTree(db::Database& db);
std::vector<TreeEntry> LoadDepartmentTree(db::Database& db);
std::vector<TreeEntry> LoadScheduleTree(db::Database& db);
std::vector<TreeEntry> loadTree(db::Database& db, EmpGrouping grouping);

struct AttendancePeriod {
    bool payPeriod = true;
    QString payPeriodText; // txtPayPeriod
    CalDate from, to;      // DTPFromDate, DTPToDate
};

// The ticked keys go into the work table AttendanceChoice, which the
// queries below read: a choice of any size stays one short statement.
struct AttendanceSelection {
    QString selectionFormula; // for the report
    QStringList keys;         // the ticked employees, departments or schedules
    SqlPart hoursQuery;       // the [Hours Worked] rows the report can select
    SqlPart absenceQuery;     // the paid absences to merge
    SqlPart holidayQuery;     // the holidays of the period
    SqlPart employeeQuery;    // the selected active employees
};

enum class AttendanceBuild { Ok, NothingTicked, InvalidDate };

// Steps 1 to 6 of a print: the period, the employee choice, the formula and
// the three queries. `ticked` are the ticked entries in tree order.
AttendanceBuild BuildAttendanceSelection(const AttendancePeriod& period, EmpGrouping grouping,
                                         const std::vector<TreeEntry>& ticked, const CompanySettings& s,
                                         AttendanceSelection& out);

// Sets each absence's paid hours on its day (adding a row where none is) and
// recomputes TOTAL; running it twice gives the same figures.
void MergeAbsences(db::Database& db, const SqlPart& absenceQuery);
// 8 holiday hours for every selected employee who has no row on the day.
void MergeHolidays(db::Database& db, const SqlPart& holidayQuery, const SqlPart& employeeQuery);

// Steps 1 to 7 of PrintAttendanceReport: the selection, the hours engine
// (the rows marked since the screen opened; `progress` as it takes it), the
// worked hours of the period and the chosen employees, then the merges. On
// Ok `selectionFormula` is what the report gets. Raises DbError when the
// hours cannot be brought up to date.
AttendanceBuild PrepareAttendanceReport(db::Database& db, const AttendancePeriod& period,
                                        EmpGrouping grouping, const std::vector<TreeEntry>& ticked,
                                        const CompanySettings& s, QString& selectionFormula,
                                        const HoursProgress& progress = {});

enum class AttendanceType { Daily, Summary, Detailed };
QString AttendanceReportFile(AttendanceType type, bool payPeriod);

} // namespace plax::reports
