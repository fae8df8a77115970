#pragma once
// The rows behind the employee screen: the employees of one status in a
// chosen order, and what adding, changing and deleting one writes. No
// widgets here; the screen hands its field texts in and out.
//
// Belongs to the user-interface thread.

#include "core/types/Dates.h"
#include "platform/db/Database.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace plax::setup {

// What the employee screen shows, as the texts of its fields.
struct EmployeeFields {
    QString id, ssn, firstName, middleName, lastName, address, city, state, zip, phone, rate, position, notes;
    QString department, schedule, message, ruleGroup, status;
    CalDate hireDate;
    int level = 1;
};

using ColumnValues = std::vector<std::pair<QString, db::Value>>;

// "Active" -> True, "Inactive" -> False, anything else -> no value.
std::optional<bool> statusValue(const QString& text);
// The rate as typed, with the locale's decimal separator or a point; text
// that is no amount raises the engine's type error.
db::Value rateValue(const QString& text);

// The columns a new employee row gets from the fields.
ColumnValues newEmployeeColumns(const EmployeeFields& f);
// The columns to write for an existing employee: those whose field differs
// from its snapshot, the hire date always, the level when it changed.
ColumnValues changedEmployeeColumns(const EmployeeFields& now, const EmployeeFields& snapshot, int savedLevel);

class EmployeeBook {
public:
    explicit EmployeeBook(db::Database& db) : db_(db) {}

    // The employees of one status in the order of `orderColumn` (ID,
    // LastName or DepartmentNo); the first row is current.
    void open(bool active, const QString& orderColumn);
    bool active() const { return active_; }
    bool hasRows() const { return rs_.recordCount() > 0; }
    db::Recordset& rows() { return rs_; }
    // The current employee's ID, or empty when no row is current.
    QString currentId() const;

    // Makes the row of `id` current; false (position kept) when the view
    // has none.
    bool find(const QString& id);
    // Adds a row and makes it current. Raises on failure (duplicate ID...).
    void add(const EmployeeFields& f);
    // Writes `changes` onto the row of `id` (found again first, so a
    // re-query never makes the screen write onto another employee).
    void update(const QString& id, const ColumnValues& changes);
    void requery();
    // Sets MsgNo "000" on the current row (its message no longer exists).
    void resetMessage();

    // Whether the employee has attendance / absence rows.
    bool hasAttendance(const QString& id);
    bool hasAbsences(const QString& id);
    // Deletes the employee of `id` and, as asked, its absence rows and its
    // attendance rows with their hours, all in one transaction. The next
    // row (or the previous one past the end) becomes current.
    void remove(const QString& id, bool absences, bool attendance);

    // One row back / on, staying on the first / last row at either end.
    void movePrevious();
    void moveNext();

private:
    db::Database& db_;
    db::Recordset rs_;
    bool active_ = true;
};

} // namespace plax::setup
