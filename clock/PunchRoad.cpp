#include "PunchRoad.h"

#include "core/common/ErrorBox.h"
#include "core/pairing/PunchPairing.h"
#include "core/types/ScheduleWindow.h"

namespace plax::clk {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

QString textOf(const std::exception& e) {
    if (const auto* d = dynamic_cast<const db::DbError*>(&e))
        return d->description();
    return QString::fromUtf8(e.what());
}
} // namespace

EmployeeQuery::EmployeeQuery(db::Database& db)
    : db_(&db),
      query_(db.prepare(QStringLiteral(
          "SELECT FirstName, ScheduleNo, MsgNo, Message FROM Employee "
          "LEFT JOIN Messages ON Employee.MsgNo = Messages.MessageNo "
          "WHERE Status <> 0 AND ID = ?"))) {}

CurrentEmployee EmployeeQuery::lookup(const QString& typedId) {
    db::Recordset rs = query_.openRecordset({typedId});
    CurrentEmployee e;
    if (rs.eof())
        return e;
    e.EmpID = typedId;
    e.FirstName = rs.field(QStringLiteral("FirstName")).toString();
    e.ScheduleNo = rs.field(QStringLiteral("ScheduleNo")).toString();
    e.Message = rs.field(QStringLiteral("Message")).toString();
    return e;
}

bool IsScheduledNow(db::Database& db, const QString& scheduleNo, int graceP, DateTimeMin now) {
    const int today = now.date.weekday();
    const int yesterday = previousWeekday(today);
    // In table order, so the first row of a day is the one used.
    db::Recordset rs = db.openRecordset(
        QStringLiteral("SELECT TheDay, StartTime, EndTime FROM [Schedule Days] "
                       "WHERE ScheduleNo = ? AND TheDay IN (?, ?) ORDER BY rowid"),
        {scheduleNo, today, yesterday});
    std::vector<ScheduleDayRow> rows;
    for (; !rs.eof(); rs.moveNext()) {
        const auto start = rs.field(QStringLiteral("StartTime")).toTime();
        const auto end = rs.field(QStringLiteral("EndTime")).toTime();
        if (start && end)
            rows.push_back({int(rs.field(QStringLiteral("TheDay")).toInt()), *start, *end});
    }
    return IsScheduledAt(rows, today, now.time, graceP);
}

bool mayPunchAt(db::Database& db, const CurrentEmployee& e, int graceP, DateTimeMin at) {
    return e.ScheduleNo == QLatin1String("000") || IsScheduledNow(db, e.ScheduleNo, graceP, at);
}

int recordPunchOrThrow(db::Database& db, const CompanySettings& s, CalDate punchDate, TimeOfDay punchTime,
                       const QString& empId) {
    using pairing::PunchOutcome;
    const pairing::PunchResult r =
        pairing::recordPunch(db, s, pairing::PairingOptions::forTerminal(), empId, punchDate, punchTime);
    switch (r.outcome) {
    case PunchOutcome::NewShift:
    case PunchOutcome::Turned:
        return punch::ClockedIn;
    case PunchOutcome::Closed:
        return punch::ClockedOut;
    case PunchOutcome::Duplicate:
    case PunchOutcome::SameMinute:
        return punch::NothingWritten;
    case PunchOutcome::UnknownEmployee:
        break;
    }
    // The employee was looked up a moment ago and is no longer active.
    throw db::DbError(db::err::General, QStringLiteral("The employee is not active."));
}

int RecordPunch(db::Database& db, const CompanySettings& s, CalDate punchDate, TimeOfDay punchTime,
                const QString& empId) {
    try {
        return recordPunchOrThrow(db, s, punchDate, punchTime, empId);
    } catch (const std::exception&) {
        return punch::Error;
    }
}

bool canWaitFor(const std::exception& e) {
    switch (errorNumberOf(e)) {
    case db::err::Locked:
    case db::err::FileNotFound:
    case db::err::CannotStart:
    case db::err::NoPermission:
        return true;
    default:
        return false;
    }
}

std::vector<KeptPunches::Done> KeptPunches::write(db::Database& db, const CompanySettings& s, int busyWaitMs,
                                                  const std::function<void(const std::exception&)>& failed) {
    std::vector<Done> done;
    const BusyTimeout wait(db, busyWaitMs);
    // Tells whether the punches must wait, after passing on the failure.
    const auto mustWait = [&](const std::exception& e) {
        if (failed)
            failed(e);
        return canWaitFor(e);
    };
    try {
        // While another program holds the lock, a try costs one attempt to
        // take it, not a punch's statements.
        db::Database::Transaction probe(db);
        probe.commit();
    } catch (const std::exception& e) {
        if (mustWait(e))
            return done;
    }
    while (!list_.empty()) {
        KeptPunch p = list_.front();
        try {
            QString refused;
            if (!p.checked) {
                p.employee = EmployeeQuery(db).lookup(p.employee.EmpID);
                if (!p.employee.found()) {
                    p.employee.EmpID = list_.front().employee.EmpID;
                    refused = QStringLiteral("Invalid ID");
                } else if (!mayPunchAt(db, p.employee, s.GraceP, p.at)) {
                    refused = QStringLiteral("Not scheduled");
                }
            }
            done.push_back(refused.isEmpty()
                               ? Done{p, recordPunchOrThrow(db, s, p.at.date, p.at.time, p.employee.EmpID), {}}
                               : Done{p, punch::Error, refused});
        } catch (const std::exception& e) {
            if (mustWait(e))
                break;
            done.push_back({p, punch::Error, textOf(e)});
        }
        list_.pop_front();
    }
    return done;
}

QString invalidIdText() { return QStringLiteral("*****  Invalid ID!  *****"); }

QString notScheduledText(const CurrentEmployee& e) {
    return QStringLiteral("********** NOT SCHEDULED! **********") + kCrLf + e.Message;
}

QString punchErrorText() { return QStringLiteral("An error occurred.  Please try again!"); }

QString keptText(const KeptPunch& p) {
    const QString taken = QStringLiteral("Punch taken at ") + p.at.time.toHm() + QStringLiteral(".");
    if (!p.checked)
        return taken;
    return QStringLiteral("Thanks ") + p.employee.FirstName + QStringLiteral(".  ") + taken + kCrLf +
           p.employee.Message;
}

namespace {
QString punchLine(const KeptPunch& p) {
    QString line = p.employee.EmpID + QStringLiteral(", ");
    if (!p.employee.FirstName.isEmpty())
        line += p.employee.FirstName + QStringLiteral(", ");
    return line + p.at.date.toMdy2() + QStringLiteral(", ") + p.at.time.toHm();
}
} // namespace

QString notRecordedLine(const KeptPunch& p, const QString& error) {
    return punchLine(p) + QStringLiteral(" - Not recorded: ") + error;
}

QString keptOnCloseText(const KeptPunches& kept) {
    QString text = QStringLiteral("These punches are waiting for the database and are not recorded yet:") + kCrLf;
    for (const KeptPunch& p : kept.list())
        text += punchLine(p) + kCrLf;
    return text + kCrLf + QStringLiteral("If the clock closes now they are lost. Close the clock anyway?");
}

QString resultText(int r, const CurrentEmployee& e) {
    switch (r) {
    case punch::NothingWritten:
        return QStringLiteral("Clock In/Out record exists!") + kCrLf + e.Message;
    case punch::ClockedIn:
        return QStringLiteral("Thanks ") + e.FirstName + QStringLiteral(".  Clocked In Sucessfully.") + kCrLf +
               e.Message;
    case punch::ClockedOut:
        return QStringLiteral("Thanks ") + e.FirstName + QStringLiteral(".  Clocked Out Sucessfully.") + kCrLf +
               e.Message;
    default:
        return {};
    }
}

QString logLine(int r, const CurrentEmployee& e, CalDate punchDate, TimeOfDay punchTime) {
    if (r != punch::ClockedIn && r != punch::ClockedOut)
        return {};
    return e.EmpID + QStringLiteral(", ") + e.FirstName + QStringLiteral(", ") + punchDate.toMdy2() +
           QStringLiteral(", ") + punchTime.toHm() +
           (r == punch::ClockedIn ? QStringLiteral(" - Clocked In") : QStringLiteral(" - Clocked Out"));
}

} // namespace plax::clk
