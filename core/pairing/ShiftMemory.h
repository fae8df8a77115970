#pragma once
// The rows of one employee that a batch of punches can meet, read once,
// changed in memory by the pairing rule and written back at the end: the
// new rows, the changed ones and the newly flagged ones, one prepared
// statement a row. Used inside the caller's write transaction, which keeps
// everyone else from changing those rows meanwhile.

#include "ShiftRows.h"
#include "platform/db/Database.h"

#include <QString>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

namespace plax::pairing {

// The statements of the batch road, prepared once per recorder.
struct ShiftMemoryStatements {
    explicit ShiftMemoryStatements(db::Database& db);
    db::Query load, insert, update, flag;
};

class ShiftMemory final : public ShiftRows {
public:
    // Reads the rows of employee `id` (IDs compare as the table compares
    // them) that punches dated `first` to `last` can meet: those with a
    // TDate from the day before `first` to the end of the work week of
    // `last` (open shifts of the punches' work days, and rows their week
    // markings reach), and those with a DateOut from `first` to `last`
    // (clock-outs a punch could repeat). Raises on rows it cannot read.
    ShiftMemory(ShiftMemoryStatements& st, const QString& id, CalDate first, CalDate last);

    // The ID that new rows get: the punch's own, as the file spells it.
    void setPunchId(const QString& id) { punchId_ = id; }

    bool hasPunchAt(CalDate d, TimeOfDay t) override;
    std::optional<OpenShift> oldestOpen(CalDate workDate, TimeOfDay dayStart) override;
    void insert(CalDate d, int week, TimeOfDay t) override;
    int mark(CalDate from, CalDate to, int week) override;
    void close(const OpenShift& row, CalDate d, TimeOfDay t, std::int32_t minutes) override;
    void turn(const OpenShift& row, CalDate d, TimeOfDay t, std::int32_t minutes) override;

    // Writes what changed. Raises when a row cannot be written as it stands
    // in memory.
    void write();

private:
    struct Row {
        std::int64_t rowid = 0; // 0: a new row
        QString empId;
        CalDate tdate;
        TimeOfDay clockIn;
        std::optional<CalDate> dateOut;
        std::optional<TimeOfDay> clockOut;
        std::optional<std::int64_t> week;
        std::int32_t minutes = 0;
        bool wasFlagged = false, flagged = false, changed = false;
    };
    using Key = std::int64_t; // a date and minute
    static Key key(CalDate d, TimeOfDay t) { return Key(d.days()) * 1440 + t.minutes(); }

    void add(std::size_t i);
    static void count(std::unordered_map<Key, int>& m, Key k, int by);

    ShiftMemoryStatements& st_;
    QString punchId_;
    std::vector<Row> rows_;
    std::unordered_map<Key, int> ins_, outs_;        // clock-ins and clock-outs, counted
    std::set<std::pair<Key, std::size_t>> open_;     // open rows by TDate and ClockIn
    std::set<std::pair<std::int32_t, std::size_t>> byDate_; // every row by TDate
};

} // namespace plax::pairing
