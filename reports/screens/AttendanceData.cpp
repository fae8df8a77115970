#include "AttendanceData.h"

#include "ReportTables.h"
#include "SelectionText.h"
#include "core/types/WorkWeek.h"

namespace plax::reports {
namespace {

const QString kTable = QStringLiteral("Attendance");

SqlPart periodCondition(const QString& dateColumn, bool payPeriod, int week, int year, CalDate from,
                        CalDate to) {
    if (payPeriod)
        return {QStringLiteral("Week = ? AND %1 = ?").arg(db::sql::yearOf(dateColumn)), {week, year}};
    return {dateColumn + QStringLiteral(" BETWEEN ? AND ?"), {from, to}};
}

void append(db::Params& to, const db::Params& from) {
    to.insert(to.end(), from.begin(), from.end());
}

} // namespace

bool CreateAttendanceTable(db::Database& db) {
    try {
        createWorkTable(db, kTable,
                        QStringLiteral("ID TEXT COLLATE NOCASE, DateIn TEXT, Week INTEGER, "
                                       "Regular REAL, OT REAL, DT REAL, "
                                       "Absences REAL, Holidays REAL, TOTAL REAL, "
                                       "CONSTRAINT PrimaryKey UNIQUE (ID, DateIn, Week)"));
        return true;
    } catch (const db::DbError&) {
        return false; // a table left over from an earlier screen is used
    }
}

bool DropAttendanceTable(db::Database& db) {
    return dropWorkTable(db, kTable);
}

bool LoadHoursWorked(db::Database& db) {
    try {
        db::Database::Transaction tx(db);
        db.execute(QStringLiteral("DELETE FROM Attendance"));
        db.execute(QStringLiteral("INSERT INTO Attendance (ID, DateIn, Week, Regular, OT, DT, TOTAL) "
                                  "SELECT EmpID, TDate, Week, [Straight Hrs], [OT Hrs], [DT Hrs], "
                                  "([Straight Hrs] + [OT Hrs] + [DT Hrs]) FROM [Hours Worked]"));
        tx.commit();
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
    // 1. The period, for the report and for the two merges.
    QString reportPart;
    int week = 0, year = 0;
    if (period.payPeriod) {
        const auto d = parseDate(period.payPeriodText);
        if (!d)
            return AttendanceBuild::InvalidDate;
        week = WeekNumber(*d, s);
        year = d->year();
        reportPart =
            QStringLiteral("{Attendance.Week} = %1 AND Year ({Attendance.DateIn}) = %2").arg(week).arg(year);
    } else {
        reportPart = QStringLiteral("{Attendance.DateIn} in ") + formulaDate(period.from) +
                     QStringLiteral(" To ") + formulaDate(period.to);
    }
    const SqlPart absencePeriod =
        periodCondition(QStringLiteral("TDate"), period.payPeriod, week, year, period.from, period.to);

    // 2. The employee choice, as a formula and as SQL.
    QString formula;
    SqlPart choice;
    for (const TreeEntry& e : ticked) {
        switch (grouping) {
        case EmpGrouping::Employee:
            formula += QStringLiteral(" OR {Attendance.ID} = '%1'").arg(e.key);
            choice.sql += QStringLiteral(" OR ID = ?");
            choice.params.push_back(e.key);
            break;
        case EmpGrouping::Department:
            if (e.none) {
                formula += QStringLiteral(" OR IsNull({Employee.DepartmentNo}) ");
                choice.sql += QStringLiteral(" OR DepartmentNo IS NULL");
            } else {
                formula += QStringLiteral(" OR {Employee.DepartmentNo} = '%1'").arg(e.key);
                choice.sql += QStringLiteral(" OR DepartmentNo = ?");
                choice.params.push_back(e.key);
            }
            break;
        case EmpGrouping::Schedule:
            // Employees without a schedule carry "000".
            if (e.none) {
                formula +=
                    QStringLiteral(" OR {Employee.ScheduleNo} = '000' OR IsNull({Employee.ScheduleNo})");
                choice.sql += QStringLiteral(" OR ScheduleNo = '000' OR ScheduleNo IS NULL");
            } else {
                formula += QStringLiteral(" OR {Employee.ScheduleNo} = '%1'").arg(e.key);
                choice.sql += QStringLiteral(" OR ScheduleNo = ?");
                choice.params.push_back(e.key);
            }
            break;
        }
    }
    // 3.
    if (formula.isEmpty())
        return AttendanceBuild::NothingTicked;
    // 4. Drop the leading " OR", keeping the blank after it.
    formula.remove(0, 3);
    choice.sql.remove(0, 3);

    // 5. and 6.
    out.selectionFormula = reportPart + QStringLiteral(" AND (") + formula + QLatin1Char(')');
    const QString activeChosen =
        QStringLiteral("SELECT ID FROM Employee WHERE (") + choice.sql + QStringLiteral(") AND Status = 1");
    out.employeeQuery = {activeChosen, choice.params};
    out.absenceQuery = {QStringLiteral("SELECT * FROM Absence WHERE ") + absencePeriod.sql +
                            QStringLiteral(" AND EmpID IN (") + activeChosen + QLatin1Char(')'),
                        absencePeriod.params};
    append(out.absenceQuery.params, choice.params);
    out.holidayQuery = {QStringLiteral("SELECT * FROM Holidays WHERE ") + absencePeriod.sql,
                        absencePeriod.params};
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

AttendanceBuild PrepareAttendanceReport(db::Database& db, const AttendancePeriod& period,
                                        EmpGrouping grouping, const std::vector<TreeEntry>& ticked,
                                        const CompanySettings& s, QString& selectionFormula) {
    AttendanceSelection sel;
    const AttendanceBuild result = BuildAttendanceSelection(period, grouping, ticked, s, sel);
    if (result != AttendanceBuild::Ok)
        return result;
    // The table belongs to the connection it was made on; after the program
    // reopened its database (a new password, say) it is made again.
    if (!workTableExists(db, kTable)) {
        CreateAttendanceTable(db);
        LoadHoursWorked(db);
    }
    MergeAbsences(db, sel.absenceQuery);
    MergeHolidays(db, sel.holidayQuery, sel.employeeQuery);
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
