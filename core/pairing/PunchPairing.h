#pragma once
// Recording one punch in [Time Attendance]: the pairing of clock-ins and
// clock-outs into shifts. Both programs use this one routine: the office
// program's punch import and the clock terminal. Where the two differ, the
// caller says so through PairingOptions (see the presets below).
//
// The rule, for a punch (ID, d, t):
//  1. Duplicate: when the employee has a row with (TDate = d and ClockIn = t)
//     or (DateOut = d and ClockOut = t), nothing is written (Duplicate).
//  2. Week of the punch: the week of its work date, WeekNumber(d, t);
//     weekEnd = WeekEnd(d, t).
//  3. Open shift: the employee's rows without a ClockOut whose clock-in lies
//     in the punch's work day (a punch before the day start belongs to the
//     previous date's work day), oldest first (TDate, ClockIn), whatever
//     week number the row carries.
//  4. No open shift: a new row (TDate d, ClockIn t, the week of step 2,
//     totals 0, flagged) (NewShift). No other row is flagged.
//  5. Open shift found: when the punch is later than its clock-in, the
//     punch closes it (DateOut d, ClockOut t, rounded totals, flagged)
//     (Closed); earlier: the row is turned, the punch becomes the clock-in and
//     the old clock-in the clock-out, Week unchanged (Turned); same date and
//     minute: nothing changes (SameMinute).
//  6. With Closed or Turned, every row of the employee with TDate from the
//     changed day (the row's TDate when closed, d when turned) to weekEnd and
//     Week equal to the punch's week is flagged for the hours engine.
//
// Two roads give the same rows, flags and results: record() asks the table
// for each punch (the terminal), recordBatch() reads the rows a batch of
// punches can meet once, pairs the punches in memory and writes what
// changed at the end (the import).
//
// When the caller has no transaction open, the punch is read and written in
// a write transaction of its own and undone as a whole on a failure. Inside
// a caller's transaction (the import's batches) the week is marked before
// the shift is closed or turned, so a failure between the two statements
// leaves extra flags at most (the hours engine recomputes the same hours),
// never a changed shift whose week is not marked. Failures raise
// db::DbError.
//
// The ID is written exactly as passed (the terminal passes it as typed, the
// import as read from the file); IDs compare without regard to letter case.
//
// Threading: call from the thread that owns the database connection.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"
#include "platform/db/Database.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace plax::pairing {

// Which employee IDs may record a punch.
enum class EmployeeCheck {
    None,            // no test: the caller has looked the employee up itself
    ExistsForNewRow, // import: a new shift is written only for an ID present in
                     // table Employee (active or not); other IDs are dropped
                     // (UnknownEmployee). Closing or turning an existing open
                     // row needs no test. The IDs are read once, at the first
                     // test of a PunchRecorder (a snapshot of the table).
    ActiveOnly,      // terminal: the punch is refused first of all
                     // (UnknownEmployee) unless the ID is an active employee
};

struct PairingOptions {
    EmployeeCheck employeeCheck = EmployeeCheck::ExistsForNewRow;

    // The punch import: IDs found in Employee, active or not.
    // A Duplicate result is skipped silently by the import.
    static PairingOptions forImport() { return {EmployeeCheck::ExistsForNewRow}; }
    // The clock terminal: active employees only. A Duplicate result is
    // reported ("Clock In/Out record exists!") by the terminal.
    static PairingOptions forTerminal() { return {EmployeeCheck::ActiveOnly}; }
};

enum class PunchOutcome {
    UnknownEmployee, // refused by the employee check; nothing written
    Duplicate,       // a clock-in or clock-out of this employee at d, t exists; nothing written
    NewShift,        // a new open shift was written (a clock-in)
    Closed,          // the oldest open shift of the work day was closed (a clock-out)
    Turned,          // the punch was earlier than the open clock-in: it is now the clock-in
    SameMinute,      // the punch equals the open shift's clock-in; nothing written
};

// True for the outcomes that wrote to the database.
inline bool wroteRow(PunchOutcome o) {
    return o == PunchOutcome::NewShift || o == PunchOutcome::Closed || o == PunchOutcome::Turned;
}

struct PunchResult {
    PunchOutcome outcome = PunchOutcome::Duplicate;
    int week = 0;       // the punch's work-week number (step 2); 0 when not computed
    CalDate weekEnd;    // WeekEnd(d, t)
    // The shift as it stands after the punch (NewShift, Closed, Turned,
    // SameMinute); unset otherwise.
    CalDate tdate;
    TimeOfDay clockIn;
    std::optional<CalDate> dateOut;
    std::optional<TimeOfDay> clockOut;
    int totalMinutes = 0; // TotalHrs * 60 + TotalMin as stored
    int rowsFlagged = 0;  // rows the week marking flagged (Closed, Turned)
};

// A punch of a batch.
struct Punch {
    QString id;
    CalDate date;
    TimeOfDay time;
};

// Records punches on one connection. Keeps its prepared statements for
// reuse, so create one per run (the import) or per window (the terminal)
// and feed it every punch. The settings are copied; a change of settings
// needs a new PunchRecorder.
class PunchRecorder {
public:
    PunchRecorder(db::Database& db, const CompanySettings& settings, PairingOptions options);
    ~PunchRecorder();
    PunchRecorder(const PunchRecorder&) = delete;
    PunchRecorder& operator=(const PunchRecorder&) = delete;

    // Applies the rule to the punch (id, d, t). Raises db::DbError on failure.
    PunchResult record(const QString& id, CalDate d, TimeOfDay t);

    // Applies the rule to each punch in turn, with the same rows, flags and
    // results as record() on each, and appends the results to `results`.
    // Meant for an employee's punches in date and time order (any punches
    // are recorded correctly; the rows read grow with their date range).
    // Inside the caller's transaction; alone, in a transaction of its own.
    // When anything fails, the batch's writes are undone and its punches are
    // recorded one by one with record(), so a failure leaves exactly what
    // record() leaves: the punches before the failing one, whose results
    // are in `results` when the failure is raised.
    void recordBatch(const std::vector<Punch>& punches, std::vector<PunchResult>& results);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// One punch, without keeping statements between calls.
PunchResult recordPunch(db::Database& db, const CompanySettings& settings, PairingOptions options,
                        const QString& id, CalDate d, TimeOfDay t);

} // namespace plax::pairing
