#include "Lists.h"

#include "ErrorBox.h"
#include "Globals.h"

#include <QComboBox>
#include <QListWidget>

namespace plax {
namespace {

using Sink = std::function<void(const QString&)>;

// Reads rows one by one into `add`, so entries before a failure stay.
void fill(const QString& tag, const std::function<db::Recordset(db::Database&)>& query,
          const std::function<QString(const db::Recordset&)>& entry, const Sink& add) {
    try {
        db::Recordset rs = query(companyDb());
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            add(entry(rs));
    } catch (const std::exception& e) {
        ShowError(tag, e);
    }
}

db::Recordset departments(db::Database& db) {
    return db.openRecordset(QStringLiteral("SELECT * FROM Department ORDER BY DepartmentNo"));
}

db::Recordset activeEmployees(db::Database& db) {
    return db.openRecordset(QStringLiteral("SELECT * FROM Employee WHERE Status = ?"), {true});
}

db::Recordset employeesByStatus(db::Database& db, bool status) {
    return db.openRecordset(QStringLiteral("SELECT ID, FirstName, LastName FROM Employee WHERE Status = ? ORDER BY ID"),
                            {status});
}

QString departmentEntry(const db::Recordset& rs) {
    return rs.field(QStringLiteral("DepartmentNo")).toString() + QLatin1Char(' ') +
           rs.field(QStringLiteral("Description")).toString();
}

QStringList collect(db::Recordset rs, const std::function<QString(const db::Recordset&)>& entry) {
    QStringList out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out << entry(rs);
    return out;
}

Sink comboSink(QComboBox* c) {
    return [c](const QString& s) { c->addItem(s); };
}
Sink listSink(QListWidget* l) {
    return [l](const QString& s) { l->addItem(s); };
}

} // namespace

QString employeeEntry(const db::Recordset& rs) {
    return rs.field(QStringLiteral("ID")).toString() + QLatin1Char(' ') + rs.field(QStringLiteral("LastName")).toString() +
           QStringLiteral(", ") + rs.field(QStringLiteral("FirstName")).toString();
}

QStringList departmentEntries(db::Database& db) { return collect(departments(db), departmentEntry); }
QStringList activeEmployeeEntries(db::Database& db) { return collect(activeEmployees(db), employeeEntry); }
QStringList employeeEntriesByStatus(db::Database& db, bool status) {
    return collect(employeesByStatus(db, status), employeeEntry);
}

void LoadDepartmentList(QComboBox* ctl) {
    fill(QStringLiteral("X176-"), departments, departmentEntry, comboSink(ctl));
}
void LoadDepartmentList(QListWidget* ctl) {
    fill(QStringLiteral("X176-"), departments, departmentEntry, listSink(ctl));
}
void LoadActiveEmployeeList(QComboBox* ctl) {
    fill(QStringLiteral("X177-"), activeEmployees, employeeEntry, comboSink(ctl));
}
void LoadActiveEmployeeList(QListWidget* ctl) {
    fill(QStringLiteral("X177-"), activeEmployees, employeeEntry, listSink(ctl));
}
void LoadEmployeeListByStatus(QComboBox* ctl, bool status) {
    fill(QString(), [status](db::Database& db) { return employeesByStatus(db, status); }, employeeEntry,
         comboSink(ctl));
}
void LoadEmployeeListByStatus(QListWidget* ctl, bool status) {
    fill(QString(), [status](db::Database& db) { return employeesByStatus(db, status); }, employeeEntry,
         listSink(ctl));
}

} // namespace plax
