#pragma once
// The rows of a range of work dates as SQL, for the screens that select
// [Time Attendance] or [Hours Worked] rows by a date range.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"
#include "platform/db/Value.h"

#include <QString>

namespace plax {

// The condition on a table's TDate and Week for the rows whose work date
// lies from `from` to `to` (WorkDateRowsOf), reading the date range through
// TDate's index; its values are appended to `params`.
QString workDateCondition(CalDate from, CalDate to, const CompanySettings& s, db::Params& params);

} // namespace plax
