#pragma once
// Small writers for the rows the report tests need, on a TempCompany.

#include "core/types/CompanySettings.h"
#include "core/types/WorkWeek.h"
#include "platform/db/Database.h"

namespace plax::test {

inline void addEmployee(db::Database& db, const QString& id, const db::Value& dept,
                        const QString& schedule = "000", bool active = true, double rate = 20.0) {
    db.executeStrict(
        QStringLiteral("INSERT INTO Employee (ID, FirstName, LastName, DepartmentNo, ScheduleNo, Status, "
                       "Rate) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {id, QStringLiteral("First") + id, QStringLiteral("Last") + id, dept, schedule, active, rate});
}

inline void addDepartment(db::Database& db, const QString& no, const QString& description) {
    db.executeStrict(QStringLiteral("INSERT INTO Department (DepartmentNo, Description) VALUES (?, ?)"),
                     {no, description});
}

inline void addHoursWorked(db::Database& db, const QString& id, CalDate d, int week, double straight,
                           double ot) {
    db.executeStrict(
        QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week, [Straight Hrs], [OT Hrs], "
                       "[DT Hrs]) VALUES (?, ?, ?, ?, ?, 0)"),
        {id, d, week, straight, ot});
}

inline void addAbsence(db::Database& db, const QString& id, CalDate d, int week, double hours) {
    db.executeStrict(QStringLiteral("INSERT INTO Absence (EmpID, TDate, Week, Reason, [Hours Paid]) "
                                    "VALUES (?, ?, ?, 'Sick', ?)"),
                     {id, d, week, hours});
}

inline void addHoliday(db::Database& db, CalDate d, int week) {
    db.executeStrict(
        QStringLiteral("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES ('Holiday', ?, ?)"),
        {d, week});
}

// A shift of [Time Attendance], in the week of its work date; an open one
// when dateOut is empty.
inline void addShift(db::Database& db, const QString& id, CalDate tdate, const QString& in,
                     std::optional<CalDate> dateOut, const QString& out, const CompanySettings& s,
                     bool recalc = false) {
    int hrs = 0, min = 0;
    if (dateOut) {
        const int m = ShiftMinutes(tdate, *TimeOfDay::parse(in), *dateOut, *TimeOfDay::parse(out), s);
        hrs = MinutesToHours(m);
        min = MinutesRemainder(m);
    }
    db.executeStrict(
        QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, "
                       "TotalHrs, TotalMin, Recalculate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {id, tdate, WeekNumber(tdate, *TimeOfDay::parse(in), s), in, dateOut, dateOut ? db::Value(out) : db::Value(), hrs, min,
         recalc});
}

} // namespace plax::test
