#pragma once
// Small pieces of the selection formulas the report screens write.

#include "core/types/Dates.h"

#include <QString>

namespace plax::reports {

// The key of a list entry: its text before the first blank.
inline QString entryKey(const QString& entryText) {
    return entryText.section(QLatin1Char(' '), 0, 0);
}

// A date in the formula language: "Date (yyyy, mm, dd)".
inline QString formulaDate(CalDate d) {
    return QStringLiteral("Date ") + d.format(QStringLiteral("(yyyy, MM, dd)"));
}

// A field within two dates, both included: "{T.F} in Date (...) To Date (...)".
inline QString formulaDateRange(const QString& field, CalDate from, CalDate to) {
    return field + QStringLiteral(" in ") + formulaDate(from) + QStringLiteral(" To ") + formulaDate(to);
}

} // namespace plax::reports
