#pragma once
// Which absence rows the absence entry screen shows: a date range or the
// pay-period week of a typed date. No widgets here.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"

#include <QString>
#include <optional>

namespace plax::setup {

struct AbsencePeriod {
    CalDate from;
    CalDate to;
};

// "&Load" in pay-period mode: the week from WeekStart of the date, six days on.
std::optional<AbsencePeriod> payPeriodForLoad(const QString& text, const CompanySettings& s);
// A heading click in pay-period mode: to = WeekEnd of the week start, one day
// more than the load's when the work day starts after midnight.
std::optional<AbsencePeriod> payPeriodForSort(const QString& text, const CompanySettings& s);

} // namespace plax::setup
