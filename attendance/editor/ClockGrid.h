#pragma once
// The rows of the clock-data editor's grid: one employee's attendance rows
// for a pay-period week or a date range, edited a row at a time. No widgets
// here; the screen's model and tests drive it.
//
// A changed cell runs the handlers the grid fires: before the change the
// row's old place is cleaned up ([Hours Worked] row deleted, the rest of the
// old week marked), after it the week number and the rounded totals are
// computed again and the rest of the new week is marked. The row itself is
// written when it is saved (leaving the row, or the screen). Belongs to the
// user-interface thread.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>
#include <vector>

namespace plax::editor {

// Grid columns by position, bound to the [Time Attendance] fields.
enum Column {
    colEmpID = 0,
    colTDate,
    colClockIn,
    colDateOut,
    colClockOut,
    colWeek,
    colTotalHrs,
    colTotalMin,
    colRecalculate,
    kColumnCount
};

// The field name of a column.
QString fieldName(int column);

struct ClockPeriod {
    bool payPeriod = true;
    QString payPeriodText; // a date of the pay-period week (its first, as a rule), as typed
    CalDate from, to;      // the date range, both included
};

class ClockGrid {
public:
    ClockGrid(db::Database& db, const CompanySettings& s) : db_(db), s_(s) {}

    // The employee chosen on the screen (empty: none).
    void setChosenEmployee(const QString& id) { chosen_ = id; }
    const QString& chosenEmployee() const { return chosen_; }

    // LoadClockGrid: the chosen employee's rows of the period in the order
    // of TDate, then ClockIn; none when no employee is chosen. Raises on a
    // failure (a pay-period text that is no date included) and keeps the
    // rows shown before. A row left in edit is dropped.
    void load(const ClockPeriod& period);
    // Loads the last period again.
    void reload();

    int rowCount() const { return int(rows_.size()); }
    db::Value value(int row, int column) const;

    // BeforeColEdit: false, after "No employee selected!", when no employee
    // is chosen.
    bool beforeColEdit() const;
    // Changes one cell (row == rowCount() starts a new row). Another row
    // in edit must be saved first. Failures of the clean-up before the
    // change are ignored; failures after it show "T252-", among them the
    // overflow error (6) of a shift longer than 32,767 minutes once rounded.
    void setValue(int row, int column, const db::Value& v);

    // The row in edit, or -1.
    int editingRow() const { return editing_; }
    bool isNew(int row) const { return row >= 0 && row < rowCount() && rows_[size_t(row)].rowid == 0; }
    // Writes the row in edit. Raises the engine's error (a duplicate, an
    // empty Date In or Clock In, ...), or the overflow error of a shift too
    // long to count, and leaves the row in edit.
    void saveRow();
    // Drops the changes of the row in edit (a new row disappears).
    void cancelRow();

    // Deletes rows, each with the clean-up of its day and week, in one
    // transaction, then loads the period again. Raises with nothing deleted.
    void deleteRows(std::vector<int> rows);

private:
    struct Row {
        qint64 rowid = 0; // 0: not written yet
        std::vector<db::Value> values;
        std::vector<bool> dirty;
    };

    void beforeColUpdate(int column, const db::Value& old);
    void afterColUpdate(int column);
    void markWeek(CalDate from, CalDate to, const db::Value& week);
    void deleteHoursWorked(CalDate d, const db::Value& week);
    void cleanUpDeleted(const Row& r);
    void set(Row& r, int column, const db::Value& v);
    Row readRow(qint64 rowid);

    db::Database& db_;
    const CompanySettings& s_;
    QString chosen_;
    QString employee_; // the employee of the loaded rows
    ClockPeriod period_;
    bool loaded_ = false;
    std::vector<Row> rows_;
    int editing_ = -1;
    Row saved_; // the row in edit as it was before
};

} // namespace plax::editor
