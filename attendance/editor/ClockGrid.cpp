#include "ClockGrid.h"

#include "core/common/ErrorBox.h"
#include "core/common/WorkDates.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <algorithm>

namespace plax::editor {

using db::DbError;
using db::Params;
using db::Value;

namespace {

const char* const kFields[kColumnCount] = {"EmpID",    "TDate",    "ClockIn",  "DateOut",    "ClockOut",
                                           "Week",     "TotalHrs", "TotalMin", "Recalculate"};

QString selectColumns() {
    QStringList cols{QStringLiteral("rowid")};
    for (int i = 0; i < kColumnCount; ++i)
        cols << fieldName(i);
    return cols.join(QStringLiteral(", "));
}

bool positive(const Value& week) { return !week.isNull() && week.toInt() > 0; }

// The engine's number for a value its validation rule prohibits.
constexpr int kValidationRule = 3317;

// The arithmetic keeps a shift's rounded length in a signed 16-bit count of
// minutes: a longer shift (about 22 days) is its overflow error, and is
// never stored.
constexpr std::int32_t kMaxShiftMinutes = 32767;
constexpr int kOverflow = 6;

[[noreturn]] void overflow() { throw DbError(kOverflow, QStringLiteral("Overflow")); }

// A shift whose clock-out lies before its clock-in would store a negative
// length, which the hours engine would take off the week.
bool endsBeforeItStarts(const std::vector<Value>& v) {
    const auto d = v[colTDate].toDate();
    const auto in = v[colClockIn].toTime();
    const auto out = v[colDateOut].toDate();
    const auto outTime = v[colClockOut].toTime();
    if (!d || !in || !out || !outTime)
        return false;
    return (*out - *d) * 1440 + outTime->minutes() - in->minutes() < 0;
}

// The rounded length of a row's shift; 0 while a date or time is missing or
// the shift ends before it starts (saving that is refused). Raises the
// overflow error for a shift longer than a 16-bit count of minutes.
std::int32_t shiftLength(const std::vector<Value>& v, const CompanySettings& s) {
    const auto d = v[colTDate].toDate();
    const auto in = v[colClockIn].toTime();
    const auto out = v[colDateOut].toDate();
    const auto outTime = v[colClockOut].toTime();
    if (!d || !in || !out || !outTime || endsBeforeItStarts(v))
        return 0;
    const std::int32_t length = ShiftMinutes(*d, *in, *out, *outTime, s);
    if (length > kMaxShiftMinutes)
        overflow();
    return length;
}

} // namespace

QString fieldName(int column) { return QString::fromLatin1(kFields[column]); }

void ClockGrid::load(const ClockPeriod& period) {
    std::vector<Row> rows;
    if (!chosen_.isEmpty()) {
        QString where;
        Params params{chosen_};
        if (period.payPeriod) {
            const auto start = parseDate(period.payPeriodText);
            if (!start)
                throw DbError(13, QStringLiteral("Type mismatch"));
            // The work week of the date typed: its number within its own
            // dates, to the day after its last day (a clock-in there before
            // the day start belongs to it).
            const PayWeek w = PayWeekOf(*start, s_);
            where = QStringLiteral("EmpID = ? AND Week = ? AND TDate BETWEEN ? AND ?");
            params.push_back(w.number);
            params.push_back(w.first);
            params.push_back(w.lastShiftDate());
        } else {
            // The shifts of the range's work dates, as the reports take them.
            where = QStringLiteral("EmpID = ? AND ") + workDateCondition(period.from, period.to, s_, params);
        }
        db::Recordset rs =
            db_.openRecordset(QStringLiteral("SELECT %1 FROM [Time Attendance] WHERE %2 ORDER BY EmpID, TDate, ClockIn")
                                  .arg(selectColumns(), where),
                              params);
        for (; !rs.eof(); rs.moveNext()) {
            Row r;
            r.rowid = rs.field(0).toInt();
            for (int i = 0; i < kColumnCount; ++i)
                r.values.push_back(rs.field(i + 1));
            r.dirty.assign(kColumnCount, false);
            rows.push_back(std::move(r));
        }
    }
    rows_ = std::move(rows);
    editing_ = -1;
    employee_ = chosen_;
    period_ = period;
    loaded_ = true;
}

void ClockGrid::reload() {
    if (loaded_) {
        const QString chosen = chosen_;
        chosen_ = employee_;
        try {
            load(period_);
        } catch (...) {
            chosen_ = chosen;
            throw;
        }
        chosen_ = chosen;
    }
}

Value ClockGrid::value(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumnCount)
        return {};
    return rows_[size_t(row)].values[size_t(column)];
}

bool ClockGrid::beforeColEdit() const {
    if (!chosen_.isEmpty())
        return true;
    ui::MsgBox(QStringLiteral("No employee selected!"), ui::Buttons::OK, ui::Icon::Exclamation);
    return false;
}

void ClockGrid::set(Row& r, int column, const Value& v) {
    r.values[size_t(column)] = v;
    r.dirty[size_t(column)] = true;
}

void ClockGrid::setValue(int row, int column, const Value& v) {
    if (row == rowCount()) {
        Row r;
        r.values.assign(kColumnCount, Value());
        r.values[colTotalHrs] = 0;
        r.values[colTotalMin] = 0;
        r.dirty.assign(kColumnCount, false);
        rows_.push_back(r);
        saved_ = r;
        editing_ = row;
    } else if (row != editing_) {
        saved_ = rows_.at(size_t(row));
        editing_ = row;
    }
    const Value old = rows_[size_t(row)].values.at(size_t(column));
    try {
        beforeColUpdate(column, old);
    } catch (const std::exception&) {
        // The clean-up of the old place is best effort.
    }
    set(rows_[size_t(row)], column, v);
    try {
        afterColUpdate(column);
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("T252-"), QStringLiteral("Update operation was not successful!"), errorNumberOf(e));
    }
}

void ClockGrid::markWeek(CalDate from, CalDate to, const Value& week) {
    const Row& r = rows_[size_t(editing_)];
    db_.execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 WHERE EmpID = ? AND "
                               "(TDate BETWEEN ? AND ?) AND Week = ?"),
                {r.values[colEmpID], from, to, week});
}

void ClockGrid::deleteHoursWorked(CalDate d, const Value& week) {
    const Row& r = rows_[size_t(editing_)];
    db_.execute(QStringLiteral("DELETE FROM [Hours Worked] WHERE EmpID = ? AND TDate = ? AND Week = ?"),
                {r.values[colEmpID], d, week});
}

void ClockGrid::beforeColUpdate(int column, const Value& old) {
    Row& r = rows_[size_t(editing_)];
    if (r.values[colEmpID].toString().isEmpty())
        set(r, colEmpID, chosen_);
    const Value week = r.values[colWeek];
    if ((column != colTDate && column != colClockIn) || !positive(week))
        return;
    const TimeOfDay dayStart = s_.DayStartTime;
    if (column == colTDate) {
        const auto oldDate = old.toDate();
        const auto in = r.values[colClockIn].toTime();
        if (!oldDate || !in)
            return;
        markWeek(*oldDate, WeekEndFor(*oldDate, *in, dayStart, s_), week);
        deleteHoursWorked(*oldDate, week);
    } else {
        const auto d = r.values[colTDate].toDate();
        const auto oldIn = old.toTime();
        if (!d || !oldIn)
            return;
        markWeek(*d, WeekEndFor(*d, *oldIn, dayStart, s_), week);
        deleteHoursWorked(*d, week);
    }
}

void ClockGrid::afterColUpdate(int column) {
    Row& r = rows_[size_t(editing_)];
    const TimeOfDay dayStart = s_.DayStartTime;
    const auto d = r.values[colTDate].toDate();
    const auto in = r.values[colClockIn].toTime();
    bool changed = false;
    if ((column == colTDate || column == colClockIn) && d && in) {
        set(r, colWeek, WeekNumberShifted(*d, *in, dayStart, s_));
        changed = true;
    }
    if (column >= colTDate && column <= colClockOut) {
        const std::int32_t length = shiftLength(r.values, s_);
        set(r, colTotalHrs, MinutesToHours(length));
        set(r, colTotalMin, MinutesRemainder(length));
        changed = true;
    }
    const Value week = r.values[colWeek];
    if (changed && positive(week)) {
        set(r, colRecalculate, true);
        // Without a date and a clock-in the row cannot be saved; the save
        // reports that.
        if (d && in)
            markWeek(*d, WeekEndFor(*d, *in, dayStart, s_), week);
    }
}

ClockGrid::Row ClockGrid::readRow(qint64 rowid) {
    db::Recordset rs = db_.openRecordset(
        QStringLiteral("SELECT %1 FROM [Time Attendance] WHERE rowid = ?").arg(selectColumns()), {rowid});
    Row r;
    r.rowid = rowid;
    r.dirty.assign(kColumnCount, false);
    for (int i = 0; i < kColumnCount; ++i)
        r.values.push_back(rs.eof() ? Value() : rs.field(i + 1));
    return r;
}

void ClockGrid::saveRow() {
    if (editing_ < 0)
        return;
    Row& r = rows_[size_t(editing_)];
    if (endsBeforeItStarts(r.values))
        throw DbError(kValidationRule, QStringLiteral("Cannot add or change record. The Date Out and Clock Out "
                                                      "must not be earlier than the Date In and Clock In!"));
    shiftLength(r.values, s_); // a shift too long to count is not stored
    QStringList cols;
    Params values;
    if (r.rowid == 0) {
        for (int i = 0; i < kColumnCount; ++i)
            if (!r.values[size_t(i)].isNull()) {
                cols << fieldName(i);
                values.push_back(r.values[size_t(i)]);
            }
        db_.executeStrict(QStringLiteral("INSERT INTO [Time Attendance] (%1) VALUES (%2)")
                              .arg(cols.join(QStringLiteral(", ")), db::sql::placeholders(int(cols.size()))),
                          values);
        r.rowid = db_.lastInsertRowId();
    } else {
        for (int i = 0; i < kColumnCount; ++i)
            if (r.dirty[size_t(i)]) {
                cols << fieldName(i) + QStringLiteral(" = ?");
                values.push_back(r.values[size_t(i)]);
            }
        if (!cols.isEmpty()) {
            values.push_back(r.rowid);
            db_.executeStrict(QStringLiteral("UPDATE [Time Attendance] SET %1 WHERE rowid = ?")
                                  .arg(cols.join(QStringLiteral(", "))),
                              values);
        }
    }
    r = readRow(r.rowid);
    editing_ = -1;
}

void ClockGrid::cancelRow() {
    if (editing_ < 0)
        return;
    if (rows_[size_t(editing_)].rowid == 0)
        rows_.erase(rows_.begin() + editing_);
    else
        rows_[size_t(editing_)] = saved_;
    editing_ = -1;
}

void ClockGrid::cleanUpDeleted(const Row& r) {
    const auto d = r.values[colTDate].toDate();
    const auto in = r.values[colClockIn].toTime();
    const Value& week = r.values[colWeek];
    if (!d)
        return;
    const Params day{r.values[colEmpID], *d, week};
    db_.execute(QStringLiteral("DELETE FROM [Hours Worked] WHERE EmpID = ? AND TDate = ? AND Week = ?"), day);
    if (in)
        db_.execute(QStringLiteral("UPDATE [Time Attendance] SET Recalculate = 1 WHERE EmpID = ? AND "
                                   "(TDate BETWEEN ? AND ?) AND Week = ?"),
                    {r.values[colEmpID], *d, WeekEndFor(*d, *in, s_.DayStartTime, s_), week});
}

void ClockGrid::deleteRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    {
        db::Database::Transaction tx(db_);
        for (int i : rows) {
            if (i < 0 || i >= rowCount() || rows_[size_t(i)].rowid == 0)
                continue; // a row not written yet has nothing to delete
            // A row in edit is deleted as it is stored.
            const Row& r = i == editing_ ? saved_ : rows_[size_t(i)];
            cleanUpDeleted(r);
            db_.executeStrict(QStringLiteral("DELETE FROM [Time Attendance] WHERE rowid = ?"), {r.rowid});
        }
        tx.commit();
    }
    editing_ = -1;
    reload();
}

} // namespace plax::editor
