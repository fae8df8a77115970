#include "GeneratedCompany.h"

#include "core/types/WorkWeek.h"

#include <algorithm>

namespace plax::test {

int fillGeneratedCompany(db::Database& db, const CompanySettings& s, const GeneratedCompany& g) {
    db::Database::Transaction tx(db);
    db::Query department = db.prepare(QStringLiteral("INSERT INTO Department (DepartmentNo, Description) VALUES (?, ?)"));
    for (int d = 0; d < g.departments; ++d)
        department.execute({QStringLiteral("D%1").arg(d + 1), QStringLiteral("Department %1").arg(d + 1)});
    db::Query employee = db.prepare(QStringLiteral("INSERT INTO Employee (ID, FirstName, LastName, DepartmentNo, Rate, "
                                                   "Status) VALUES (?, ?, ?, ?, ?, 1)"));
    db::Query shift = db.prepare(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                                "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,0)"));
    db::Query hours = db.prepare(QStringLiteral("INSERT INTO [Hours Worked] (EmpID, TDate, Week, [Straight Hrs], "
                                                "[OT Hrs], [DT Hrs]) VALUES (?,?,?,?,?,0)"));
    int rows = 0;
    for (int e = 0; e < g.employees; ++e) {
        const QString id = GeneratedCompany::employeeId(e);
        employee.execute({id, QStringLiteral("First%1").arg(e), QStringLiteral("Last%1").arg(e),
                          g.departments > 0 ? db::Value(QStringLiteral("D%1").arg(e % g.departments + 1)) : db::Value(),
                          15.0 + e % 20});
        for (int w = 0; w < g.weeks; ++w) {
            double weekHours = 0;
            for (int i = 0; i < g.shiftsPerWeek; ++i) {
                const CalDate d = g.firstMonday.addDays(w * 7 + i);
                const TimeOfDay in = GeneratedCompany::clockIn(e, i);
                const DateTimeMin out =
                    DateTimeMin::fromTotalMinutes(DateTimeMin{d, in}.totalMinutes() + GeneratedCompany::minutes(e, w, i));
                const int m = ShiftMinutes(d, in, out.date, out.time, s);
                const int week = WeekNumber(d, in, s);
                shift.execute({id, d, week, in, out.date, out.time, MinutesToHours(m), MinutesRemainder(m)});
                ++rows;
                if (g.hoursWorked) {
                    // The first 40 hours of the week are straight time.
                    const double h = m / 60.0, straight = std::max(0.0, std::min(h, 40.0 - weekHours));
                    hours.execute({id, d, week, straight, h - straight});
                    weekHours += h;
                }
            }
        }
    }
    tx.commit();
    return rows;
}

} // namespace plax::test
