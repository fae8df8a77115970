#include "CompanyGenerator.h"

#include "core/schema/CompanySchema.h"
#include "core/types/WorkWeek.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace plax::bench {

QString employeeId(int n) { return QString::number(1000 + n); }

long long generateCompany(const QString& path, const CompanyPlan& plan, const CompanySettings& s) {
    QFile::remove(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto db = schema::createCompanyDatabase(path);
    db->executeScript(QStringLiteral("PRAGMA synchronous = OFF"));
    const auto kept = [&](CalDate d) { return !plan.keepOnly || (plan.keepFrom <= d && d <= plan.keepTo); };

    db::Database::Transaction tx(*db);
    static const char* const kDepartments[] = {"PRD", "WHS", "ADM", "QA", "SHP", "MNT", "SLS", "R&D"};
    for (const char* d : kDepartments)
        db->execute(QStringLiteral("INSERT INTO Department (DepartmentNo, Description) VALUES (?, ?)"),
                    {QString::fromLatin1(d), QStringLiteral("Department ") + QString::fromLatin1(d)});
    for (int sch = 1; sch <= 3; ++sch) {
        const QString no = QStringLiteral("%1").arg(sch, 3, 10, QLatin1Char('0'));
        db->execute(QStringLiteral("INSERT INTO Schedule (ScheduleNo, Description) VALUES (?, ?)"),
                    {no, QStringLiteral("Shift %1").arg(sch)});
        for (int day = 2; day <= 6; ++day)
            db->execute(QStringLiteral("INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) "
                                       "VALUES (?, ?, ?, ?)"),
                        {no, day, TimeOfDay::fromMinutes(6 * 60 + sch * 60), TimeOfDay::fromMinutes(15 * 60 + sch * 60)});
    }
    db::Query employee = db->prepare(QStringLiteral(
        "INSERT INTO Employee (ID, FirstName, LastName, Position, [Hire Date], DepartmentNo, ScheduleNo, Rate, "
        "Status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1)"));
    for (int e = 0; e < plan.employees; ++e)
        employee.execute({employeeId(e), QStringLiteral("First%1").arg(e), QStringLiteral("Last%1").arg(e),
                          QStringLiteral("Operator"), plan.first.addDays(-(e % 700)),
                          QString::fromLatin1(kDepartments[e % 8]), QStringLiteral("%1").arg(1 + e % 3, 3, 10, QLatin1Char('0')),
                          15.0 + (e % 20) * 0.75});
    for (int y = plan.first.year(); y <= plan.last.year(); ++y)
        for (const CalDate d : {CalDate::ymd(y, 1, 1), CalDate::ymd(y, 7, 4), CalDate::ymd(y, 12, 25)})
            db->execute(QStringLiteral("INSERT INTO Holidays (HolidayName, TDate, Week) VALUES ('Holiday', ?, ?)"),
                        {d, WeekNumber(d, s)});

    db::Query shift = db->prepare(QStringLiteral(
        "INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, TotalHrs, TotalMin, "
        "Recalculate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0)"));
    db::Query hours = db->prepare(QStringLiteral(
        "INSERT INTO [Hours Worked] (EmpID, TDate, Week, [Straight Hrs], [OT Hrs], [DT Hrs]) VALUES (?, ?, ?, ?, ?, 0)"));
    db::Query absence = db->prepare(QStringLiteral(
        "INSERT INTO Absence (EmpID, TDate, Week, Reason, [Hours Paid]) VALUES (?, ?, ?, 'Sick', 8)"));
    long long rows = 0;
    int workday = 0;
    for (CalDate d = plan.first; d <= plan.last; d = d.addDays(1)) {
        if (d.weekday() == 1 || d.weekday() == 7)
            continue;
        ++workday;
        if (!kept(d))
            continue;
        const int week = WeekNumber(d, s);
        for (int e = 0; e < plan.employees; ++e) {
            const QString id = employeeId(e);
            if ((workday + e * 37) % 101 == 0) {
                absence.execute({id, d, week});
                continue;
            }
            // 8 to 9.5 hours from about seven o'clock; Friday's extra is overtime.
            const int in = 6 * 60 + 45 + (e * 7 + workday) % 30;
            const int minutes = 8 * 60 + ((e + workday * 3) % 7) * 15;
            const int straight = d.weekday() == 6 ? std::min(minutes, 8 * 60) : minutes;
            shift.execute({id, d, week, TimeOfDay::fromMinutes(in), d, TimeOfDay::fromMinutes(in + minutes),
                           minutes / 60, minutes % 60});
            hours.execute({id, d, week, straight / 60.0, (minutes - straight) / 60.0});
            ++rows;
        }
    }
    tx.commit();
    return rows;
}

void ensureCompany(const QString& path, const CompanyPlan& plan, const CompanySettings& settings) {
    if (QFileInfo::exists(path))
        return;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        int code = 0;
        try {
            const QString part = path + QStringLiteral(".part");
            std::fprintf(stderr, "Generating %s ...\n", qPrintable(QFileInfo(path).fileName()));
            const long long rows = generateCompany(part, plan, settings);
            std::fprintf(stderr, "  %lld [Time Attendance] rows\n", rows);
            code = QFile::rename(part, path) ? 0 : 1;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "Generating failed: %s\n", e.what());
            code = 1;
        }
        std::fflush(nullptr);
        _exit(code);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "Could not generate %s\n", qPrintable(path));
        std::exit(1);
    }
}

} // namespace plax::bench
