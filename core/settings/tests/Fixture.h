#pragma once
// A company database with a few hand-made rows for the settings tests.

#include "core/types/WorkWeek.h"
#include "platform/db/Database.h"
#include "testing/TempCompany.h"

#include <QString>

namespace plax::settings::fixture {

inline int count(db::Database& db, const QString& sql, const db::Params& p = {}) {
    return int(db.openRecordset(sql, p).field(0).toInt());
}

inline QString regValue(db::Database& db, const QString& key, const QString& field) {
    db::Recordset rs = db.openRecordset(
        QStringLiteral("SELECT RegValue FROM Registry WHERE RegKey = ? AND RegField = ?"), {key, field});
    return rs.eof() ? QStringLiteral("<none>") : rs.field(0).toString();
}

// One shift; an open one when `out` is empty. Totals and week as given.
inline void addShift(db::Database& db, const QString& id, CalDate d, const QString& in,
                     std::optional<CalDate> dateOut, const QString& out, int week, int hrs, int min,
                     int recalc = 0) {
    db.executeStrict(
        QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, "
                       "TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,?)"),
        {id, d, week, in, dateOut, out.isEmpty() ? db::Value() : db::Value(out), hrs, min, recalc});
}

} // namespace plax::settings::fixture
