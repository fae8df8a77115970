#pragma once
// The exception report's work table `Exceptions` and the three passes that
// fill it: shifts without hours (code "I"), completed shifts outside the
// employee's scheduled window, and shifts whose clock-out date lies more
// than one day after the work date (both without a code). frmExcptRpt
// drives it; nothing here shows a window.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"
#include "core/types/ScheduleWindow.h"
#include "core/types/WorkWeek.h"
#include "platform/db/Database.h"

#include <QString>
#include <optional>
#include <vector>

namespace plax::reports {

// Creates the table, and the view ExceptionList the report reads (the rows
// with their reason in words); 3010 (the table exists) counts as success.
// Raises any other failure.
void CreateExceptionsTable(db::Database& db);
bool DropExceptionsTable(db::Database& db);

// Whom the scan covers (optEmp with cboEmp, optDep with cboDep).
struct ExceptionChoice {
    enum Kind { None, AllEmployees, Employee, Department } kind = None;
    QString key; // employee ID or DepartmentNo
};

// The first two passes scan each work week the period touches with its own
// number, taking the week's rows whose work date lies in both the period
// and the week.
struct ExceptionPeriod {
    CalDate first, last; // work dates
    std::vector<PayWeek> weeks;
};

// Pay period: the work week holding the date typed (nullopt when it is no
// date). Date range: the two dates.
std::optional<ExceptionPeriod> payPeriodOf(const QString& payPeriodText, const CompanySettings& s);
ExceptionPeriod dateRangeOf(CalDate from, CalDate to, const CompanySettings& s);

// Empties the table and runs the three passes in order.
void BuildExceptions(db::Database& db, const ExceptionPeriod& period, const ExceptionChoice& choice,
                     const CompanySettings& s);

void AddIncompleteExceptions(db::Database& db, const ExceptionPeriod& period, const ExceptionChoice& choice);
void AddScheduleExceptions(db::Database& db, const ExceptionPeriod& period, const ExceptionChoice& choice,
                           const CompanySettings& s);
void AddMultiDayExceptions(db::Database& db);

// Whether a completed shift keeps to its schedule (weekday d of TDate), given
// the [Schedule Days] rows of the employee's schedule.
struct CompletedShift {
    CalDate tdate;
    TimeOfDay clockIn;
    CalDate dateOut;
    TimeOfDay clockOut;
};
bool shiftKeepsSchedule(const CompletedShift& shift, const std::vector<ScheduleDayRow>& days, int graceP);

} // namespace plax::reports
