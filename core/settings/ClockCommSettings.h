#pragma once
// The clock terminal's settings as the communication settings screen
// handles them: the "Communication" rows (CommPort, Settings, PollDelay,
// MachineSpeed) and the entry type and punch-list choice of the company
// settings (TheClock, InOutList). The screen only stores them; the
// terminal reads them (clock/TerminalSettings). No widgets here.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>
#include <QStringList>

namespace plax::settings {

// The screen's private copies of the "Communication" rows.
struct CommValues {
    int commPort = 2;
    QString settings = QStringLiteral("9600,n,8,1");
    int pollDelay = 100;
    int machineSpeed = 5;
};

// The items of the lists, in their order.
QStringList portItems(); // "Com1" .. "Com16"
QStringList speedItems();
QStringList dataBitsItems();
QStringList parityItems();
QStringList stopBitsItems();
QStringList machineSpeedItems(); // "1" .. "50"

// Reads the "Communication" rows into `v`, and TheClock and InOutList into
// `company`. A failure shows the error box and the next value is read.
void LoadClockSettings(db::Database& db, CommValues& v, CompanySettings& company);

// The four list texts a settings text selects ("4800,o,7,1.5" -> "4800",
// "Odd", "7", "1.5"). A part that is not one of its list's items is empty
// (that list shows no selection).
struct LineChoice {
    QString speed, parity, dataBits, stopBits;
    bool complete() const;
};
LineChoice SplitSettingsText(const QString& settings);
// The settings text of four list texts ("4800,o,7,1.5"); a list without a
// selection keeps its field of `stored`.
QString BuildSettingsText(const LineChoice& c, const QString& stored = QString());

// What the screen's controls hold when Save is pressed.
struct CommChoice {
    int portIndex = -1; // list index, -1 = no selection
    LineChoice line;
    QString pollDelayText;      // the delay box's digits
    int machineSpeedIndex = -1; // list index, -1 = no selection
    int entryType = 0;          // 0 keyboard, 1 MSR 100, 2 RS 2000
    bool inOutList = true;
};

// Writes what differs from the copies in `v` and from TheClock and
// InOutList of `company`, and refreshes them. A list without a selection,
// and a delay box without a digit, leave their stored value alone; the
// other values are written all the same. A write
// that fails shows the error box; the next value is still saved.
void SaveClockSettings(db::Database& db, CommValues& v, CompanySettings& company, const CommChoice& c);

} // namespace plax::settings
