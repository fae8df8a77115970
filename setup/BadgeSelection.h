#pragma once
// Which employees get an ID badge: the selection formula for "EmpID.rpt"
// from the checks of the badge screen's tree. No widgets here.

#include "platform/db/Database.h"

#include <QString>
#include <optional>
#include <vector>

namespace plax::setup {

struct BadgeChoice {
    QString id;
    QString text; // ID & "," & FirstName & " " & LastName
    bool checked = false;
};

// The active employees, in the order the engine returns them.
std::vector<BadgeChoice> badgeEmployees(db::Database& db);

// Empty when "ALL" is checked (every employee of the report); the checked
// IDs as one list ("{Employee.ID} In [...]", any number of them, each
// quoted so that no ID changes the formula) otherwise; nullopt when nothing
// is checked.
std::optional<QString> badgeSelection(bool allChecked, const std::vector<BadgeChoice>& employees);

} // namespace plax::setup
