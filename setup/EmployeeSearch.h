#pragma once
// The employee search: employees of one status whose chosen column
// matches a pattern (* and ? as wildcards, else equal values), in a chosen
// order. Logic only; frmEmpFind shows it.

#include "platform/db/Database.h"

#include <QString>
#include <QStringList>

namespace plax::setup {

// Search-by choices in the order of the dialog's list: "ID#", "SSN",
// "Last Name", "First Name"; -1 = none. Sort-by: "ID#", "Last Name",
// "First Name"; -1 = none.
struct EmployeeMatch {
    QString id;
    QString entry; // "ID LastName, FirstName"
};

std::vector<EmployeeMatch> searchEmployees(db::Database& db, bool active, int searchBy, const QString& value,
                                           int sortBy);

} // namespace plax::setup
