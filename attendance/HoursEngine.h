#pragma once
// The hours engine: rebuilds [Hours Worked] for the days whose attendance
// rows are flagged for recalculation, splitting each employee's work week
// at 40 hours (straight time first, the rest overtime; [DT Hrs] always 0),
// and clears the flags of the days it rebuilt.
//
// A flagged row marks its whole day: a rebuilt (employee, date, week) takes
// every shift of that day and week, flagged or not, so a day is never left
// with only part of its hours.
//
// Work is committed employee by employee in short transactions, so a clock
// terminal writing the same file waits a fraction of a second at most. An
// employee's flags are cleared once all of that employee's flagged days are
// rebuilt. A database error stops the run: what was done stays committed
// (never rolled back), the days of the employee being rebuilt and of those
// not reached keep their flags, and the next run rebuilds them from zero.
//
// Each flagged employee's rows are found through the index of flagged rows
// whatever the file's statistics say, so the run costs the same over ten
// years of history as over none.
//
// Threading: the thread that owns the connection; shows the wait cursor.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <functional>
#include <optional>

namespace plax {

// Told the employees done and their total: once before the work starts and
// then between transactions (no lock held), e.g. to show a bar and keep the
// windows painting.
using HoursProgress = std::function<void(int done, int total)>;

// True when every flagged day was rebuilt, false when a database error
// stopped the run (nothing is shown).
bool RecalcHoursWorked(db::Database& db, const CompanySettings& settings, const HoursProgress& progress = {});

// The weekly split of one shift of h hours when `prior` hours of the week are
// recorded already (nullopt: the week has no [Hours Worked] row yet).
struct HoursSplit {
    double straight = 0;
    double overtime = 0;
};
HoursSplit splitWeekHours(double h, std::optional<double> prior);

} // namespace plax
