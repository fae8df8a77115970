#include "AbsencePeriod.h"

#include "core/types/WorkWeek.h"

namespace plax::setup {

std::optional<AbsencePeriod> payPeriodForLoad(const QString& text, const CompanySettings& s) {
    const auto d = parseDate(text);
    if (!d)
        return std::nullopt;
    const CalDate start = WeekStart(*d, s);
    return AbsencePeriod{start, start.addDays(6)};
}

std::optional<AbsencePeriod> payPeriodForSort(const QString& text, const CompanySettings& s) {
    const auto d = parseDate(text);
    if (!d)
        return std::nullopt;
    const CalDate start = WeekStart(*d, s);
    return AbsencePeriod{start, WeekEnd(start, s.DayStartTime, s)};
}

} // namespace plax::setup
