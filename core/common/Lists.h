#pragma once
// Fillers of list and combo pickers with departments or employees. Each
// entry is the key, a blank and the description ("ID LastName, FirstName"
// for employees; a Null part reads as empty). The fillers add to what the
// control holds already; on a failure they show the error box and keep
// the entries added so far.

#include "platform/db/Database.h"

#include <QStringList>
#include <functional>

class QComboBox;
class QListWidget;

namespace plax {

// The entries themselves, read from `db` (raise on failure).
QStringList departmentEntries(db::Database& db);
QStringList activeEmployeeEntries(db::Database& db);
QStringList employeeEntriesByStatus(db::Database& db, bool status);
// "ID LastName, FirstName" of a row holding those fields.
QString employeeEntry(const db::Recordset& rs);

// On the company database.
void LoadDepartmentList(QComboBox* ctl);
void LoadDepartmentList(QListWidget* ctl);
void LoadActiveEmployeeList(QComboBox* ctl);
void LoadActiveEmployeeList(QListWidget* ctl);
void LoadEmployeeListByStatus(QComboBox* ctl, bool status);
void LoadEmployeeListByStatus(QListWidget* ctl, bool status);

} // namespace plax
