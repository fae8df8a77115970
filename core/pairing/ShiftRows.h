#pragma once
// The rows of one employee as the pairing rule sees them: the questions it
// asks and the changes it makes. Two kinds answer them: the table itself,
// one statement a question (a punch at the terminal), and a copy in memory
// of the rows a batch of punches can meet, written back at its end (the
// import). The rule (PunchPairing.cpp) is written once, over this interface.

#include "core/types/Dates.h"
#include "platform/db/DbError.h"

#include <cstdint>
#include <optional>

namespace plax::pairing {

struct OpenShift {
    std::int64_t handle = 0; // which row: its rowid in the table, its place in memory
    CalDate tdate;
    TimeOfDay clockIn;
};

class ShiftRows {
public:
    virtual ~ShiftRows() = default;
    // A row with (TDate = d and ClockIn = t) or (DateOut = d and ClockOut = t).
    virtual bool hasPunchAt(CalDate d, TimeOfDay t) = 0;
    // The oldest open row (no ClockOut) whose clock-in lies in the work day
    // that starts at dayStart on workDate.
    virtual std::optional<OpenShift> oldestOpen(CalDate workDate, TimeOfDay dayStart) = 0;
    // A new open row, flagged.
    virtual void insert(CalDate d, int week, TimeOfDay t) = 0;
    // Flags the rows with TDate from `from` to `to` of the week; returns how many.
    virtual int mark(CalDate from, CalDate to, int week) = 0;
    // Closes the open row at (d, t) with the rounded length `minutes`, flagged.
    virtual void close(const OpenShift& row, CalDate d, TimeOfDay t, std::int32_t minutes) = 0;
    // The row's clock-in becomes its clock-out and (d, t) its clock-in, flagged.
    virtual void turn(const OpenShift& row, CalDate d, TimeOfDay t, std::int32_t minutes) = 0;
};

// A write of one row by its rowid must change that row; anything else means
// the row went away or would clash with another one.
inline void requireOneRow(int changed) {
    if (changed != 1)
        throw db::DbError(db::err::Locked, QStringLiteral("Could not update; currently locked."));
}

} // namespace plax::pairing
