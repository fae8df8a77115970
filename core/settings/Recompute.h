#pragma once
// Rewriting stored attendance data when the rounding unit, the first day
// of the work week or the day start time changes.
//
// Each change is all or nothing: the settings row and every row it
// rewrites are written in one transaction, so a failure half way leaves
// the old setting and the old totals and week numbers together, never a
// mix of old and new. Only rows whose stored values change are rewritten;
// the recalculation flags are set by one statement per table.
//
// Threading: user-interface thread only; `progress` is told between
// chunks of rows (inside the transaction) so a caller can keep painting.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <functional>

namespace plax::settings {

// Rows done so far and rows in all, over every table of one change.
using RecomputeProgress = std::function<void(int done, int total)>;

struct RecomputeCounts {
    int rows = 0;      // rows visited
    int rewritten = 0; // rows whose stored values changed
};

// Closed shifts get TotalHrs and TotalMin of their length rounded with
// s.RoundTotal and are marked for recalculation; open shifts are left.
RecomputeCounts RecomputeShiftTotals(db::Database& db, const CompanySettings& s,
                                     const RecomputeProgress& progress = {});

// Saves RoundTotal = `typed` (the text as typed, its decimal separator a
// point: settingNumberText), then gives the closed shifts their totals
// rounded to `unit`, as RecomputeShiftTotals. All or nothing, as
// ApplyWorkDay; on success s.RoundTotal is `unit`.
RecomputeCounts ApplyRoundTotal(db::Database& db, CompanySettings& s, const QString& typed, int unit,
                                const RecomputeProgress& progress = {});

// Saves WorkDay = `workDay`, then gives every [Time Attendance], Absence
// and Holidays row the week number under the new rule, marks every
// attendance row for recalculation and empties [Hours Worked]. On success
// s.WorkDay is `workDay`; on failure nothing is written, `s` is unchanged
// and the error is raised.
RecomputeCounts ApplyWorkDay(db::Database& db, CompanySettings& s, int workDay,
                             const RecomputeProgress& progress = {});

// Saves DayStartTime = `dayStart` ("HH:MM"), then gives every
// [Time Attendance] row its week number under the new day start, marks it
// for recalculation and empties [Hours Worked]. Absences, holidays and
// dates are not touched. All or nothing, as ApplyWorkDay.
RecomputeCounts ApplyDayStart(db::Database& db, CompanySettings& s, TimeOfDay dayStart,
                              const RecomputeProgress& progress = {});

} // namespace plax::settings
