#pragma once
// The settings the clock terminal reads from the settings table: its own
// copies of the company settings and the communication settings of the
// badge reader. The terminal never writes settings.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>

namespace plax::clk {

struct TerminalSettings {
    // CompanyName, WorkDay, DayStartTime (and DayStartHours), GraceP,
    // RoundTotal and InOutList; the week arithmetic and pairing read these.
    CompanySettings company;
    // 0 keyboard only, 1 MSR100 reader, 2 RS2000 reader; any other non-zero
    // value sets up the port and polls nothing. Kept as the number read.
    double TheClock = 0;
};

struct CommSettings {
    int PollDelay = 100;   // milliseconds before each poll
    int MachineSpeed = 5;  // pause of MachineSpeed x 10 ms after a receive event
    QString Settings = QStringLiteral("9600,n,8,1");
    int CommPort = 2;
};

// Loads the "Company Settings" rows into `s`, in the order CompanyName,
// WorkDay, DayStartTime (then DayStartHours), GraceP, RoundTotal, TheClock,
// InOutList. A value that cannot be read or converted shows the error box
// and keeps its previous value; the others are still read.
void LoadTerminalSettings(db::Database& db, TerminalSettings& s);
// The same for the "Communication" rows: PollDelay, MachineSpeed, Settings,
// CommPort.
void LoadCommSettings(db::Database& db, CommSettings& c);

} // namespace plax::clk
