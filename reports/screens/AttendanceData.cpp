#include "AttendanceData.h"

#include "ReportTables.h"
#include "SelectionText.h"
#include "core/common/WorkDates.h"
#include "core/types/WorkWeek.h"
#include "platform/print/Formula.h"

namespace plax::reports {
namespace {

const QString kTable = QStringLiteral("Attendance");
const QString kChoice = QStringLiteral("AttendanceChoice");

// The rows of a work week: its number within its own dates.
SqlPart weekCondition(int number, CalDate first, CalDate last) {
    return {QStringLiteral("Week = ? AND TDate BETWEEN ? AND ?"), {number, first, last}};
}

} // namespace

bool CreateAttendanceTable(db::Database& db) {
    try {
        createWorkTable(db, kTable,
                        QStringLiteral("ID TEXT COLLATE NOCASE, DateIn TEXT, Week INTEGER, "
                                       "Regular REAL, OT REAL, DT REAL, "
                                       "Absences REAL, Holidays REAL, TOTAL REAL, "
                                       "WeekStart TEXT, WeekEnd TEXT, WorkDate TEXT, "
                                       "CONSTRAINT PrimaryKey UNIQUE (ID, DateIn, Week)"));
        return true;
    } catch (const db::DbError&) {
        return false; // a table left over from an earlier screen is used
    }
}

bool DropAttendanceTable(db::Database& db) {
    dropWorkTable(db, kChoice);
    return dropWorkTable(db, kTable);
}

namespace {

void copyHoursWorked(db::Database& db, const SqlPart& which) {
    db::Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM Attendance"));
    db.execute(QStringLiteral("INSERT INTO Attendance (ID, DateIn, Week, Regular, OT, DT, TOTAL) "
                              "SELECT EmpID, TDate, Week, [Straight Hrs], [OT Hrs], [DT Hrs], "
                              "([Straight Hrs] + [OT Hrs] + [DT Hrs]) FROM [Hours Worked]") +
                   (which.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + which.sql),
               which.params);
    tx.commit();
}

} // namespace

bool LoadHoursWorked(db::Database& db) {
    try {
        copyHoursWorked(db, {});
        return true;
    } catch (const db::DbError&) {
        return false;
    }
}

std::vector<TreeEntry> LoadEmployeeTree(db::Database& db) {
    std::vector<TreeEntry> out;
    db::Recordset rs = db.openRecordset(
        QStringLiteral("SELECT ID, FirstName, LastName FROM Employee WHERE Status = 1 ORDER BY ID"));
    for (; !rs.eof(); rs.moveNext()) {
        const QString id = rs["ID"].toString();
        out.push_back({id + QLatin1Char(',') + rs["FirstName"].toString() + QLatin1Char(' ') +
                           rs["LastName"].toString(),
                       id, false});
    }
    return out;
}

std::vector<TreeEntry> LoadDepartmentTree(db::Database& db) {
    std::vector<TreeEntry> out{{QStringLiteral("No Department"), QStringLiteral("No"), true}};
    db::Recordset rs = db.openRecordset(
        QStringLiteral("SELECT DepartmentNo, Description FROM Department ORDER BY DepartmentNo"));
    for (; !rs.eof(); rs.moveNext()) {
        const QString text = rs["DepartmentNo"].toString() + QLatin1Char(' ') + rs["Description"].toString();
        out.push_back({text, entryKey(text), false});
    }
    return out;
}

std::vector<TreeEntry> LoadScheduleTree(db::Database& db) {
    std::vector<TreeEntry> out{{QStringLiteral("No Schedule"), QStringLiteral("No"), true}};
    db::Recordset rs =
        db.openRecordset(QStringLiteral("SELECT ScheduleNo, Description FROM Schedule ORDER BY ScheduleNo"));
    for (; !rs.eof(); rs.moveNext()) {
        const QString text = rs["ScheduleNo"].toString() + QLatin1Char(' ') + rs["Description"].toString();
        out.push_back({text, entryKey(text), false});
    }
    return out;
}

std::vector<TreeEntry> loadTree(db::Database& db, EmpGrouping grouping) {
    switch (grouping) {
    case EmpGrouping::Employee:
        return LoadEmployeeTree(db);
    case EmpGrouping::Department:
        return LoadDepartmentTree(db);
    case EmpGrouping::Schedule:
        break;
    }
    return LoadScheduleTree(db);
}

AttendanceBuild BuildAttendanceSelection(const AttendancePeriod& period, EmpGrouping grouping,
                                         const std::vector<TreeEntry>& ticked, const CompanySettings& s,
                                         AttendanceSelection& out) {
    // 1. The period, for the report, the worked hours and the two merges. A
    // pay period is the work week of the date typed, whichever of its dates
    // that is: its number within its own dates (its shifts run to the day
    // after its last day, its absences and holidays to its last day). A
    // range holds the hours of its work dates, so a range of one work week
    // holds what its pay period holds; absences and holidays go by date.
    QString reportPart;
    SqlPart hoursPeriod, dayPeriod;
    if (period.payPeriod) {
        const auto d = parseDate(period.payPeriodText);
        if (!d)
            return AttendanceBuild::InvalidDate;
        const PayWeek w = PayWeekOf(*d, s);
        reportPart = QStringLiteral("{Attendance.Week} = %1 AND ").arg(w.number) +
                     formulaDateRange(QStringLiteral("{Attendance.DateIn}"), w.first, w.lastShiftDate());
        hoursPeriod = weekCondition(w.number, w.first, w.lastShiftDate());
        dayPeriod = weekCondition(w.number, w.first, w.lastDay());
    } else {
        reportPart = formulaDateRange(QStringLiteral("{Attendance.WorkDate}"), period.from, period.to);
        hoursPeriod.sql = workDateCondition(period.from, period.to, s, hoursPeriod.params);
        dayPeriod = {QStringLiteral("TDate BETWEEN ? AND ?"), {period.from, period.to}};
    }

    // 2. The employee choice, as a formula and as SQL over the chosen keys.
    const QString chosen = QStringLiteral(" IN (SELECT Key FROM AttendanceChoice)");
    bool none = false;
    out.keys.clear();
    for (const TreeEntry& e : ticked) {
        if (e.none && grouping != EmpGrouping::Employee)
            none = true;
        else
            out.keys << e.key;
    }
    // The field each grouping selects by, and what "No Department" / "No
    // Schedule" take (employees without a schedule carry "000").
    struct Fields {
        const char *formulaField, *column, *noneFormula, *noneSql;
    };
    static const Fields kFields[] = {
        {"{Attendance.ID}", "ID", "", ""},
        {"{Employee.DepartmentNo}", "DepartmentNo", "IsNull({Employee.DepartmentNo})", "DepartmentNo IS NULL"},
        {"{Employee.ScheduleNo}", "ScheduleNo", "{Employee.ScheduleNo} = '000' OR IsNull({Employee.ScheduleNo})",
         "ScheduleNo = '000' OR ScheduleNo IS NULL"}};
    const Fields& f = kFields[int(grouping)];
    QStringList formula, choice;
    if (none) {
        formula << QString::fromLatin1(f.noneFormula);
        choice << QString::fromLatin1(f.noneSql);
    }
    if (!out.keys.isEmpty()) {
        formula << QString::fromLatin1(f.formulaField) + QStringLiteral(" In ") + print::formulaList(out.keys);
        choice << QString::fromLatin1(f.column) + chosen;
    }
    // 3.
    if (formula.isEmpty())
        return AttendanceBuild::NothingTicked;

    // 4. to 6.
    out.selectionFormula = reportPart + QStringLiteral(" AND (") + formula.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    const QString choiceSql = choice.join(QStringLiteral(" OR "));
    const QString activeChosen =
        QStringLiteral("SELECT ID FROM Employee WHERE (") + choiceSql + QStringLiteral(") AND Status = 1");
    out.employeeQuery = {activeChosen, {}};
    out.absenceQuery = {QStringLiteral("SELECT * FROM Absence WHERE ") + dayPeriod.sql +
                            QStringLiteral(" AND EmpID IN (") + activeChosen + QLatin1Char(')'),
                        dayPeriod.params};
    out.holidayQuery = {QStringLiteral("SELECT * FROM Holidays WHERE ") + dayPeriod.sql, dayPeriod.params};

    // The worked hours the report can select: its period and its
    // employees; an employee missing from Employee has no department or
    // schedule, so "No Department" and "No Schedule" take such rows too.
    out.hoursQuery = hoursPeriod;
    QString employees = grouping == EmpGrouping::Employee
                            ? QStringLiteral("EmpID") + chosen
                            : QStringLiteral("EmpID IN (SELECT ID FROM Employee WHERE ") + choiceSql + QLatin1Char(')');
    if (none)
        employees += QStringLiteral(" OR EmpID NOT IN (SELECT ID FROM Employee)");
    out.hoursQuery.sql += QStringLiteral(" AND (") + employees + QLatin1Char(')');
    return AttendanceBuild::Ok;
}

void MergeAbsences(db::Database& db, const SqlPart& absenceQuery) {
    db::Recordset rs = db.openRecordset(absenceQuery.sql, absenceQuery.params);
    db::Database::Transaction tx(db);
    // A Null week matches a Null week, so a second print finds the row the
    // first one added instead of adding another.
    db::Query seek = db.prepare(
        QStringLiteral("SELECT count(*) FROM Attendance WHERE ID = ? AND DateIn = ? AND Week IS ?"));
    db::Query update =
        db.prepare(QStringLiteral("UPDATE Attendance SET Absences = ?, TOTAL = (Regular + OT + DT + ?) "
                                  "WHERE ID = ? AND DateIn = ? AND Week IS ?"));
    db::Query insert =
        db.prepare(QStringLiteral("INSERT INTO Attendance (ID, DateIn, Week, Regular, OT, DT, "
                                  "Absences, Holidays, TOTAL) VALUES (?, ?, ?, 0, 0, 0, ?, 0, ?)"));
    for (; !rs.eof(); rs.moveNext()) {
        const db::Value id = rs["EmpID"], date = rs["TDate"], week = rs["Week"];
        const double h = rs["Hours Paid"].toDouble();
        if (seek.scalar({id, date, week}).toInt() > 0)
            update.execute({h, h, id, date, week});
        else
            insert.execute({id, date, week, h, h});
    }
    tx.commit();
}

void MergeHolidays(db::Database& db, const SqlPart& holidayQuery, const SqlPart& employeeQuery) {
    db::Recordset holidays = db.openRecordset(holidayQuery.sql, holidayQuery.params);
    db::Recordset employees = db.openRecordset(employeeQuery.sql, employeeQuery.params);
    if (holidays.eof() || employees.eof())
        return;
    db::Database::Transaction tx(db);
    // An employee who already has a row that day and week keeps it (a
    // holiday without a week number included).
    db::Query insert = db.prepare(QStringLiteral(
        "INSERT INTO Attendance (ID, DateIn, Week, Regular, OT, DT, Absences, Holidays, TOTAL) "
        "SELECT ?1, ?2, ?3, 0, 0, 0, 0, 8, 8 WHERE NOT EXISTS "
        "(SELECT 1 FROM Attendance WHERE ID = ?1 AND DateIn = ?2 AND Week IS ?3)"));
    for (; !holidays.eof(); holidays.moveNext())
        for (employees.moveFirst(); !employees.eof(); employees.moveNext())
            insert.execute({employees["ID"], holidays["TDate"], holidays["Week"]});
    tx.commit();
}

namespace {

// The work date and work week of each row, for the range's selection and
// the reports that order or group by them: a row dated a week's first day
// that carries another number than that week's is a shift begun before the
// day start, of the day and the week before.
void setWorkDates(db::Database& db, const CompanySettings& s) {
    db::Recordset rs = db.openRecordset(QStringLiteral("SELECT DISTINCT DateIn, Week FROM Attendance"));
    db::Query set = db.prepare(QStringLiteral(
        "UPDATE Attendance SET WeekStart = ?, WeekEnd = ?, WorkDate = ? WHERE DateIn = ? AND Week IS ?"));
    for (; !rs.eof(); rs.moveNext()) {
        const auto d = rs["DateIn"].toDate();
        if (!d)
            continue;
        const db::Value week = rs["Week"];
        const CalDate workDate =
            RowWorkDate(*d, week.isNull() ? std::nullopt : std::optional<int>(int(week.toInt())), s);
        const PayWeek w = PayWeekOf(workDate, s);
        set.execute({w.first, w.lastDay(), workDate, rs["DateIn"], week});
    }
}

} // namespace

AttendanceBuild PrepareAttendanceReport(db::Database& db, const AttendancePeriod& period,
                                        EmpGrouping grouping, const std::vector<TreeEntry>& ticked,
                                        const CompanySettings& s, QString& selectionFormula,
                                        const HoursProgress& progress) {
    AttendanceSelection sel;
    const AttendanceBuild result = BuildAttendanceSelection(period, grouping, ticked, s, sel);
    if (result != AttendanceBuild::Ok)
        return result;
    // The hours as they stand now: a correction made since the screen
    // opened has marked its week, and its day has no worked hours until the
    // hours engine has run. Stale hours are never printed.
    if (!RecalcHoursWorked(db, s, progress))
        throw db::DbError(db::err::General,
                          QStringLiteral("The hours could not be brought up to date; nothing was printed."));
    // The table belongs to the connection it was made on; after the program
    // reopened its database (a new password, say) it is made again.
    if (!workTableExists(db, kTable))
        CreateAttendanceTable(db);
    db::Database::Transaction tx(db);
    db.executeStrict(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS AttendanceChoice "
                                    "(Key TEXT COLLATE NOCASE PRIMARY KEY)"));
    db.execute(QStringLiteral("DELETE FROM AttendanceChoice"));
    db::Query addKey = db.prepare(QStringLiteral("INSERT INTO AttendanceChoice (Key) VALUES (?)"));
    for (const QString& k : sel.keys)
        addKey.execute({k});
    copyHoursWorked(db, sel.hoursQuery);
    MergeAbsences(db, sel.absenceQuery);
    MergeHolidays(db, sel.holidayQuery, sel.employeeQuery);
    setWorkDates(db, s);
    tx.commit();
    selectionFormula = sel.selectionFormula;
    return result;
}

QString AttendanceReportFile(AttendanceType type, bool payPeriod) {
    switch (type) {
    case AttendanceType::Daily:
        return QStringLiteral("Daily.rpt");
    case AttendanceType::Summary:
        return QStringLiteral("Summary.rpt");
    case AttendanceType::Detailed:
        break;
    }
    return payPeriod ? QStringLiteral("WeeklyReport.rpt") : QStringLiteral("TADetailed.rpt");
}

} // namespace plax::reports
