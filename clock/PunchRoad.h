#pragma once
// What happens to one employee ID at the clock, without the window: the
// employee lookup, the schedule test, the recording of the punch and the
// texts the window shows for each outcome. The clock window (frmClock)
// drives these and shows the texts.
//
// Threading: user-interface thread only.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"
#include "platform/db/Database.h"

#include <QString>
#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

namespace plax::clk {

// The employee found for the ID in the box; all empty when none is current.
struct CurrentEmployee {
    QString EmpID;       // the ID exactly as typed
    QString FirstName;
    QString ScheduleNo;
    QString Message;     // the employee's clock message, empty when none
    bool found() const { return !EmpID.isEmpty(); }
};

// The employee query: the active employee with this ID (letter case
// ignored) and the text of the employee's clock message.
class EmployeeQuery {
public:
    explicit EmployeeQuery(db::Database& db);
    db::Database& database() const { return *db_; }
    // The current employee for `typedId`: empty when no active employee has it.
    CurrentEmployee lookup(const QString& typedId);

private:
    db::Database* db_;
    db::Query query_;
};

// Whether the employee of schedule `scheduleNo` may punch at `now`: today's
// row of [Schedule Days] widened by `graceP` minutes, or the tail of
// yesterday's overnight shift. A row without a start or end time counts as
// no row.
bool IsScheduledNow(db::Database& db, const QString& scheduleNo, int graceP, DateTimeMin now);
// Whether the employee may punch at `at`: on schedule "000" at any time
// (its days are never read), else as IsScheduledNow says.
bool mayPunchAt(db::Database& db, const CurrentEmployee& e, int graceP, DateTimeMin at);

// Punch results, as the window tells them apart.
namespace punch {
constexpr int Error = -1;
constexpr int NothingWritten = 0;
constexpr int ClockedIn = 1;
constexpr int ClockedOut = 2;
} // namespace punch

// Records the punch through the pairing routine with the terminal's options
// (active employees only, the open shift in the punch's own week, duplicates
// reported). Raises db::DbError on a database failure (nothing of the punch
// is written then). Returns 0 (duplicate, same minute), 1 or 2; an ID that
// is no longer an active employee raises as well.
int recordPunchOrThrow(db::Database& db, const CompanySettings& s, CalDate punchDate, TimeOfDay punchTime,
                       const QString& empId);
// The same with every failure turned into -1.
int RecordPunch(db::Database& db, const CompanySettings& s, CalDate punchDate, TimeOfDay punchTime,
                const QString& empId);

// Punches taken at a badge reader while another program held the
// database's lock longer than the busy timeout. Nobody stands at a reader
// terminal to press OK on an error box, so such a punch is kept, with the
// minute of its swipe, and written as soon as the lock is free. Kept
// punches are written in the order they were taken and a later punch never
// goes before them, so ins and outs pair as if each had been written at
// its swipe.
struct KeptPunch {
    // The employee as looked up at the swipe; when the lock kept even the
    // lookup out (the rollback journal of a network drive), only the ID as
    // read, and `checked` false: the lookup and the schedule test, at the
    // swipe's minute, come when the punch is written.
    CurrentEmployee employee;
    DateTimeMin at; // the swipe's minute: the punch's date and time
    bool checked = true;
};

class KeptPunches {
public:
    // A kept punch that has left the list: written (result 0, 1 or 2), or
    // refused for good (result -1 and the reason).
    struct Done {
        KeptPunch punch;
        int result = 0;
        QString error;
    };

    bool empty() const { return list_.empty(); }
    int size() const { return int(list_.size()); }
    const std::deque<KeptPunch>& list() const { return list_; }
    void keep(KeptPunch p) { list_.push_back(std::move(p)); }

    // Writes the kept punches in order, each waiting at most `busyWaitMs`
    // for the write lock, until the list is empty or one cannot be written
    // yet. Every failure is passed to `failed`. Returns the punches that
    // left the list.
    std::vector<Done> write(db::Database& db, const CompanySettings& s, int busyWaitMs,
                            const std::function<void(const std::exception&)>& failed);

private:
    std::deque<KeptPunch> list_;
};

// Whether a punch that failed with `e` can be written later: the file is
// locked by another program or out of reach for the moment.
bool canWaitFor(const std::exception& e);

// The connection's busy timeout for the length of a scope.
class BusyTimeout {
public:
    BusyTimeout(db::Database& db, int ms) : db_(db), usual_(db.busyTimeout()) { db_.setBusyTimeout(ms); }
    ~BusyTimeout() { db_.setBusyTimeout(usual_); }
    BusyTimeout(const BusyTimeout&) = delete;
    BusyTimeout& operator=(const BusyTimeout&) = delete;

private:
    db::Database& db_;
    int usual_;
};

// The texts of the road.
QString invalidIdText();
QString notScheduledText(const CurrentEmployee& e);
QString punchErrorText();
// The confirmation for a punch kept until the database is free (without a
// name when it could not be looked up).
QString keptText(const KeptPunch& p);
// The line of a kept punch the database refused for good.
QString notRecordedLine(const KeptPunch& p, const QString& error);
// The question when the terminal is closed with punches still kept.
QString keptOnCloseText(const KeptPunches& kept);
// The confirmation shown for result r (0, 1 or 2).
QString resultText(int r, const CurrentEmployee& e);
// The line added to the punch log for result 1 or 2; empty otherwise.
QString logLine(int r, const CurrentEmployee& e, CalDate punchDate, TimeOfDay punchTime);

} // namespace plax::clk
