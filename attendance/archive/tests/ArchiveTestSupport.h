#pragma once
// A company database whose folder stands for the program folder, with
// helpers to write attendance and absence rows.

#include "core/types/CompanySettings.h"
#include "testing/TempCompany.h"

namespace plax::test {

class ArchiveCompany : public TempCompany {
public:
    ArchiveCompany() {
        settings.WorkDay = 2;
        settings.RoundTotal = 0;
    }
    void shift(const QString& id, CalDate d, const QString& in, int week, const db::Value& out = {},
               const db::Value& clockOut = {}, int hrs = 0, int min = 0, bool recalc = false) {
        db().executeStrict(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                          "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,?)"),
                           {id, d, week, in, out, clockOut, hrs, min, recalc});
    }
    void absence(const QString& id, CalDate d, int week, const QString& reason, double hours) {
        db().executeStrict(
            QStringLiteral("INSERT INTO Absence (EmpID, TDate, Week, Reason, [Hours Paid]) VALUES (?,?,?,?,?)"),
            {id, d, week, reason, hours});
    }
    void hoursWorked(const QString& id, CalDate d, int week, double straight) {
        db().executeStrict(QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week, [Straight Hrs]) "
                                          "VALUES (?,?,?,?)"),
                           {id, d, week, straight});
    }
    int count(const QString& sql, const db::Params& params = {}) {
        return int(db().openRecordset(sql, params).field(0).toInt());
    }

    CompanySettings settings;
};

} // namespace plax::test
