#include "DemoData.h"

#include "core/types/WorkWeek.h"

namespace plax::schema {
namespace {

struct DemoEmployee {
    const char* id;
    const char* first;
    const char* last;
    const char* dept;
    const char* schedule;
    const char* msg;
    double rate;
    bool active;
};

const DemoEmployee kEmployees[] = {
    {"1001", "Anna", "Berger", "ADM", "001", "001", 24.50, true},
    {"1002", "Carlos", "Diaz", "PRD", "001", "002", 18.75, true},
    {"1003", "Dana", "Evans", "PRD", "001", "000", 18.75, true},
    {"1004", "Farid", "Ghani", "PRD", "002", "003", 19.25, true},
    {"1005", "Grace", "Hill", "WHS", "002", "000", 17.00, true},
    {"1006", "Hugo", "Ibarra", "WHS", "001", "001", 17.00, true},
    {"1007", "Irene", "Jones", "ADM", "000", "000", 28.00, true},
    {"1008", "Jamal", "King", "PRD", "001", "002", 18.00, true},
    {"1009", "Kira", "Lopez", "WHS", "002", "000", 17.50, true},
    {"1010", "Liam", "O'Brien", "PRD", "001", "003", 18.25, true},
    {"1011", "Maya", "Nolan", "ADM", "001", "000", 22.00, false},
    {"1012", "Nils", "Olsen", "WHS", "002", "000", 16.50, false},
};

} // namespace

void fillDemoData(db::Database& db, const DemoOptions& o) {
    CompanySettings s;
    s.WorkDay = o.workDay;
    s.RoundTotal = 5;

    db::Database::Transaction tx(db);
    const auto reg = [&](const char* key, const char* field, const QString& value) {
        db.execute(QStringLiteral("INSERT INTO Registry (RegKey, RegField, RegValue) VALUES (?, ?, ?)"),
                   {key, field, value});
    };
    reg("Company Settings", "CompanyName", QStringLiteral("Northwind Fixtures Ltd."));
    reg("Company Settings", "WorkDay", QString::number(o.workDay));
    reg("Company Settings", "DayStartTime", QStringLiteral("00:00"));
    reg("Company Settings", "GraceP", QStringLiteral("5"));
    reg("Company Settings", "RoundTotal", QStringLiteral("5"));
    reg("Company Settings", "IncludeWages", QStringLiteral("1"));
    reg("Company Settings", "TheClock", QStringLiteral("0"));
    reg("Company Settings", "InOutList", QStringLiteral("1"));

    const auto dept = [&](const char* no, const char* d) {
        db.execute(QStringLiteral("INSERT INTO Department (DepartmentNo, Description) VALUES (?, ?)"), {no, d});
    };
    dept("ADM", "Administration");
    dept("PRD", "Production");
    dept("WHS", "Warehouse");

    db.execute(QStringLiteral("INSERT INTO Schedule (ScheduleNo, Description) VALUES ('001', 'Day shift')"));
    db.execute(QStringLiteral("INSERT INTO Schedule (ScheduleNo, Description) VALUES ('002', 'Night shift')"));
    for (int day = 2; day <= 6; ++day) {
        db.execute(QStringLiteral("INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) "
                                  "VALUES ('001', ?, '08:00', '16:30')"),
                   {day});
        db.execute(QStringLiteral("INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) "
                                  "VALUES ('002', ?, '22:00', '06:00')"),
                   {day});
    }

    const auto msg = [&](const char* no, const char* text) {
        db.execute(QStringLiteral("INSERT INTO Messages (MessageNo, Message) VALUES (?, ?)"), {no, text});
    };
    msg("001", "Staff meeting Friday at 3 pm.");
    msg("002", "Please see the supervisor about your badge.");
    msg("003", "Safety training next Tuesday.");

    for (const DemoEmployee& e : kEmployees) {
        db.execute(QStringLiteral("INSERT INTO Employee (ID, FirstName, LastName, DepartmentNo, ScheduleNo, MsgNo, "
                                  "Rate, Status, Position, [Hire Date], SupervisorLevel, City, State) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 'Springfield', 'IL')"),
                   {e.id, e.first, e.last, e.dept, e.schedule, e.msg, e.rate, e.active,
                    e.active ? "Operator" : "Former operator", CalDate::ymd(2019, 3, 4)});
    }

    // Two complete work weeks before the current one.
    const CalDate thisWeek = WeekStart(o.today, s);
    const CalDate first = thisWeek.addDays(-14);
    int n = 0;
    for (const DemoEmployee& e : kEmployees) {
        ++n;
        const bool night = QByteArray(e.schedule) == "002";
        for (int day = 0; day < 14; ++day) {
            const CalDate d = first.addDays(day);
            const int wd = workWeekday(d, s.WorkDay);
            if (wd > 5)
                continue; // no weekend work
            if (!e.active && day >= 7)
                continue;
            // Vary the punches a little from person to person and day to day.
            const int jitter = (n * 7 + day * 3) % 11 - 5;
            TimeOfDay in = TimeOfDay::fromMinutes((night ? 22 * 60 : 8 * 60) + jitter);
            const int length = (night ? 8 * 60 : 8 * 60 + 30) + ((n + day) % 4 == 0 ? 60 : 0);
            const DateTimeMin out = DateTimeMin::fromTotalMinutes(DateTimeMin{d, in}.totalMinutes() + length);
            const int total = ShiftMinutes(d, in, out.date, out.time, s);
            db.execute(QStringLiteral("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, "
                                      "ClockOut, TotalHrs, TotalMin, Recalculate) VALUES (?,?,?,?,?,?,?,?,?)"),
                       {e.id, d, WeekNumber(d, s), in, out.date, out.time, MinutesToHours(total),
                        MinutesRemainder(total), o.flagForRecalc});
        }
    }

    // A holiday in the first week, and two absences.
    const CalDate holiday = first.addDays(4);
    db.execute(QStringLiteral("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES (?, ?, ?)"),
               {"Founders' Day", holiday, WeekNumber(holiday, s)});
    const CalDate sick = first.addDays(8);
    db.execute(QStringLiteral("INSERT INTO Absence (EmpID, TDate, Week, Reason, [Hours Paid]) VALUES (?,?,?,?,?)"),
               {"1003", sick, WeekNumber(sick, s), "Sick", 8.0});
    const CalDate personal = first.addDays(9);
    db.execute(QStringLiteral("INSERT INTO Absence (EmpID, TDate, Week, Reason, [Hours Paid]) VALUES (?,?,?,?,?)"),
               {"1005", personal, WeekNumber(personal, s), "Personal", 4.0});
    tx.commit();
}

} // namespace plax::schema
