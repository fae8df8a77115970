#include "TerminalSettings.h"

#include "core/common/ErrorBox.h"
#include "core/common/Settings.h"

#include <cmath>
#include <functional>
#include <limits>

namespace plax::clk {

namespace {
const QString kCompany = QStringLiteral("Company Settings");
const QString kComm = QStringLiteral("Communication");

// A number rounded to a 16-bit integer, halves to even; raises the
// "Overflow" error outside that range.
struct Overflow : std::runtime_error {
    Overflow() : std::runtime_error("Overflow") {}
};
int toInt16(double v) {
    const double r = std::nearbyint(v);
    if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max())
        throw Overflow();
    return int(r);
}

// Runs one loading step; a failure shows the error box and the next step
// goes on.
void step(const std::function<void()>& f) {
    try {
        f();
    } catch (const Overflow&) {
        ShowError(QString(), QStringLiteral("Overflow"), 6);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

// Opens the rows of one key; on failure the error box, and nothing else can
// be read (the settings keep their values).
bool openKey(db::Database& db, const QString& key, db::Recordset& rs) {
    try {
        rs = db.openRecordset(QStringLiteral("SELECT * FROM Registry WHERE RegKey = ?"), {key});
        return true;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        return false;
    }
}
} // namespace

void LoadTerminalSettings(db::Database& db, TerminalSettings& s) {
    db::Recordset rs;
    if (!openKey(db, kCompany, rs))
        return;
    CompanySettings& c = s.company;
    auto value = [&rs](const char* field, const char* def) {
        return GetRegValue(rs, QLatin1String(field), QLatin1String(def));
    };
    step([&] { c.CompanyName = value("CompanyName", ""); });
    step([&] { c.WorkDay = toInt16(leadingNumber(value("WorkDay", "2"))); });
    step([&] {
        const auto t = TimeOfDay::parse(value("DayStartTime", "00:00").trimmed());
        if (!t)
            throw db::DbError(13, QStringLiteral("Type mismatch"));
        c.setDayStart(*t); // DayStartHours follows
    });
    step([&] { c.GraceP = toInt16(leadingNumber(value("GraceP", "0"))); });
    step([&] { c.RoundTotal = toInt16(leadingNumber(value("RoundTotal", "5"))); });
    step([&] { s.TheClock = leadingNumber(value("TheClock", "0")); });
    step([&] { c.InOutList = leadingNumber(value("InOutList", "1")) != 0; });
}

void LoadCommSettings(db::Database& db, CommSettings& c) {
    db::Recordset rs;
    if (!openKey(db, kComm, rs))
        return;
    auto value = [&rs](const char* field, const char* def) {
        return GetRegValue(rs, QLatin1String(field), QLatin1String(def));
    };
    step([&] { c.PollDelay = toInt16(leadingNumber(value("PollDelay", "100"))); });
    step([&] { c.MachineSpeed = toInt16(leadingNumber(value("MachineSpeed", "5"))); });
    step([&] { c.Settings = value("Settings", "9600,n,8,1"); });
    step([&] { c.CommPort = toInt16(leadingNumber(value("CommPort", "2"))); });
}

} // namespace plax::clk
