#include "ClockCommSettings.h"

#include "SettingText.h"
#include "core/common/ErrorBox.h"
#include "core/common/Settings.h"
#include "platform/serial/SerialSettings.h"

namespace plax::settings {
namespace {

const QString kComm = QStringLiteral("Communication");
const QString kCompany = QStringLiteral("Company Settings");

template <typename F> void step(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

int wholeOf(const QString& text) {
    return wholeNumber(leadingNumber(text)).value_or(0);
}

// The character at 1-based `position`, or empty.
QString charAt(const QString& s, int position) {
    return position >= 1 && position <= s.size() ? s.mid(position - 1, 1) : QString();
}

QString itemOrEmpty(const QStringList& items, const QString& text) {
    return items.contains(text) ? text : QString();
}

QStringList numbers(int from, int to, const QString& prefix = QString()) {
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << prefix + QString::number(i);
    return out;
}

} // namespace

QStringList portItems() {
    return numbers(1, serial::kMaxCommPort, QStringLiteral("Com"));
}

QStringList speedItems() {
    return {QStringLiteral("300"),    QStringLiteral("600"),    QStringLiteral("1200"),
            QStringLiteral("2400"),   QStringLiteral("4800"),   QStringLiteral("9600"),
            QStringLiteral("14400"),  QStringLiteral("19200"),  QStringLiteral("28800"),
            QStringLiteral("38400"),  QStringLiteral("56000"),  QStringLiteral("57600"),
            QStringLiteral("115200"), QStringLiteral("128000"), QStringLiteral("256000")};
}

QStringList dataBitsItems() {
    return numbers(5, 8);
}

QStringList parityItems() {
    return {QStringLiteral("Even"), QStringLiteral("Odd"), QStringLiteral("None"), QStringLiteral("Mark"),
            QStringLiteral("Space")};
}

QStringList stopBitsItems() {
    return {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
}

QStringList machineSpeedItems() {
    return numbers(1, 50);
}

void LoadClockSettings(db::Database& db, CommValues& v, CompanySettings& company) {
    const QString sql = QStringLiteral("SELECT * FROM Registry WHERE RegKey = ?");
    step([&] {
        db::Recordset rs = db.openRecordset(sql, {kComm});
        step([&] {
            v.pollDelay = wholeOf(GetRegValue(rs, QStringLiteral("PollDelay"), QStringLiteral("100")));
        });
        step([&] {
            v.machineSpeed = wholeOf(GetRegValue(rs, QStringLiteral("MachineSpeed"), QStringLiteral("5")));
        });
        step([&] { v.commPort = wholeOf(GetRegValue(rs, QStringLiteral("CommPort"), QStringLiteral("2"))); });
        step([&] { v.settings = GetRegValue(rs, QStringLiteral("Settings"), serial::kDefaultSettings); });
    });
    step([&] {
        db::Recordset rs = db.openRecordset(sql, {kCompany});
        step([&] {
            company.TheClock = wholeOf(GetRegValue(rs, QStringLiteral("TheClock"), QStringLiteral("0")));
        });
        step([&] {
            company.InOutList =
                leadingNumber(GetRegValue(rs, QStringLiteral("InOutList"), QStringLiteral("1"))) != 0;
        });
    });
}

bool LineChoice::complete() const {
    return !speed.isEmpty() && !parity.isEmpty() && !dataBits.isEmpty() && !stopBits.isEmpty();
}

namespace {

// The four fields of a settings text as stored, cut at fixed positions from
// the end: "speed,p,d,s" with a three-character stop-bits field when it
// holds a point ("1.5").
LineChoice storedFields(const QString& s) {
    const int len = int(s.size());
    const int k = s.contains(QLatin1Char('.')) ? 2 : 0;
    LineChoice c;
    if (len - 6 - k >= 0)
        c.speed = s.left(len - 6 - k);
    c.parity = charAt(s, len - 4 - k);
    c.dataBits = charAt(s, len - 2 - k);
    c.stopBits = s.right(k + 1);
    return c;
}

} // namespace

LineChoice SplitSettingsText(const QString& s) {
    const LineChoice stored = storedFields(s);
    LineChoice c;
    c.speed = itemOrEmpty(speedItems(), stored.speed);
    const QStringList parities = parityItems();
    for (const QString& name : parities)
        if (!stored.parity.isEmpty() && name.at(0).toLower() == stored.parity.at(0))
            c.parity = name;
    c.dataBits = itemOrEmpty(dataBitsItems(), stored.dataBits);
    c.stopBits = itemOrEmpty(stopBitsItems(), stored.stopBits);
    return c;
}

QString BuildSettingsText(const LineChoice& c, const QString& stored) {
    const LineChoice was = storedFields(stored);
    const auto field = [](const QString& chosen, const QString& kept) {
        return chosen.isEmpty() ? kept : chosen;
    };
    return field(c.speed.trimmed(), was.speed) + QLatin1Char(',') +
           field(c.parity.left(1).toLower(), was.parity) + QLatin1Char(',') +
           field(c.dataBits.trimmed(), was.dataBits) + QLatin1Char(',') +
           field(c.stopBits.trimmed(), was.stopBits);
}

void SaveClockSettings(db::Database& db, CommValues& v, CompanySettings& company, const CommChoice& c) {
    // A list without a selection (its stored value is not one of its items)
    // keeps that value: writing a port 0 or an empty field would leave the
    // terminal nothing to use, and dropping the other changes loses them.
    if (c.portIndex >= 0 && c.portIndex + 1 != v.commPort)
        step([&] {
            SaveRegValue(db, kComm, QStringLiteral("CommPort"), QString::number(c.portIndex + 1));
            v.commPort = c.portIndex + 1;
        });
    if (const QString text = BuildSettingsText(c.line, v.settings);
        text != v.settings && storedFields(text).complete())
        step([&] {
            SaveRegValue(db, kComm, QStringLiteral("Settings"), text);
            v.settings = text;
        });
    QString digits;
    for (const QChar ch : c.pollDelayText)
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            digits += ch;
    if (!digits.isEmpty()) {
        const int delay = digits.left(4).toInt();
        if (delay != v.pollDelay)
            step([&] {
                SaveRegValue(db, kComm, QStringLiteral("PollDelay"), QString::number(delay));
                v.pollDelay = delay;
            });
    }
    if (c.machineSpeedIndex >= 0 && c.machineSpeedIndex + 1 != v.machineSpeed)
        step([&] {
            SaveRegValue(db, kComm, QStringLiteral("MachineSpeed"), QString::number(c.machineSpeedIndex + 1));
            v.machineSpeed = c.machineSpeedIndex + 1;
        });
    if (c.entryType != company.TheClock)
        step([&] {
            SaveRegValue(db, kCompany, QStringLiteral("TheClock"), QString::number(c.entryType));
            company.TheClock = c.entryType;
        });
    if (c.inOutList != company.InOutList)
        step([&] {
            SaveRegValue(db, kCompany, QStringLiteral("InOutList"),
                         c.inOutList ? QStringLiteral("1") : QStringLiteral("0"));
            company.InOutList = c.inOutList;
        });
}

} // namespace plax::settings
