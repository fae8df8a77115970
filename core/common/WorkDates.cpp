#include "WorkDates.h"

#include "core/types/WorkWeek.h"

namespace plax {

QString workDateCondition(CalDate from, CalDate to, const CompanySettings& s, db::Params& params) {
    const WorkDateRows rows = WorkDateRowsOf(from, to, s);
    QString sql = QStringLiteral("TDate BETWEEN ? AND ?");
    params.push_back(rows.from);
    params.push_back(rows.last);
    if (rows.weekBefore) {
        sql += QStringLiteral(" AND NOT (TDate = ? AND Week IS ?)");
        params.push_back(rows.from);
        params.push_back(*rows.weekBefore);
    }
    if (rows.lastWeek) {
        sql += QStringLiteral(" AND (TDate < ? OR Week = ?)");
        params.push_back(rows.last);
        params.push_back(*rows.lastWeek);
    }
    return sql;
}

} // namespace plax
