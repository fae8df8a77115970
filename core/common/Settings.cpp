#include "Settings.h"

#include "ErrorBox.h"
#include "Globals.h"

#include <cmath>
#include <limits>

namespace plax {

QString GetRegValue(db::Recordset& rs, const QString& field, const QString& defaultValue) {
    if (rs.findFirst(QStringLiteral("RegField"), field))
        return rs.field(QStringLiteral("RegValue")).toString();
    return defaultValue;
}

void SaveRegValue(db::Database& db, const QString& key, const QString& field, const QString& value) {
    // The look-up and the write under one lock: two programs saving the same
    // setting at once must not both find it missing and add it twice.
    db::Database::Transaction tx(db);
    const db::Recordset rs = db.openRecordset(
        QStringLiteral("SELECT RegValue FROM Registry WHERE RegKey = ? AND RegField = ?"), {key, field});
    if (rs.recordCount() > 0)
        db.execute(QStringLiteral("UPDATE Registry SET RegValue = ? WHERE RegKey = ? AND RegField = ?"),
                   {value, key, field});
    else
        db.execute(QStringLiteral("INSERT INTO Registry (RegKey, RegField, RegValue) VALUES (?, ?, ?)"),
                   {key, field, value});
    tx.commit();
}

void SaveRegValue(const QString& key, const QString& field, const QString& value) {
    SaveRegValue(companyDb(), key, field, value);
}

double leadingNumber(const QString& text) {
    const auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    bool digits = false;
    while (i < n && digit(text[i])) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && digit(text[i])) {
            ++i;
            digits = true;
        }
    }
    return digits ? text.mid(start, i - start).toDouble() : 0;
}

int settingInt(const QString& text) {
    const double r = std::nearbyint(leadingNumber(text));
    return r >= double(std::numeric_limits<int>::min()) && r <= double(std::numeric_limits<int>::max()) ? int(r) : 0;
}

void LoadCompanySettings(db::Database& db, CompanySettings& s) {
    db::Recordset rs;
    try {
        rs = db.openRecordset(QStringLiteral("SELECT * FROM Registry WHERE RegKey = ?"),
                              {QStringLiteral("Company Settings")});
    } catch (const std::exception& e) {
        // Nothing can be read: every setting keeps its value.
        ShowError(QString(), e);
        return;
    }
    s.CompanyName = GetRegValue(rs, QStringLiteral("CompanyName"), QString());
    s.WorkDay = settingInt(GetRegValue(rs, QStringLiteral("WorkDay"), QStringLiteral("2")));
    const QString start = GetRegValue(rs, QStringLiteral("DayStartTime"), QStringLiteral("00:00"));
    if (const auto t = TimeOfDay::parse(start.trimmed()))
        s.setDayStart(*t); // also the whole hours, DayStartHours
    else
        ShowError(QString(), QStringLiteral("Type mismatch"), 13);
    s.GraceP = settingInt(GetRegValue(rs, QStringLiteral("GraceP"), QStringLiteral("0")));
    s.RoundTotal = settingInt(GetRegValue(rs, QStringLiteral("RoundTotal"), QStringLiteral("5")));
    s.IncludeWages = db::Value(GetRegValue(rs, QStringLiteral("IncludeWages"), QStringLiteral("1"))).toDouble() != 0;
}

void LoadCompanySettings() {
    if (!CompanyDb || !CompanyDb->isOpen()) {
        try {
            companyDb(); // raises the engine's "not open" error
        } catch (const std::exception& e) {
            ShowError(QString(), e);
        }
        return;
    }
    LoadCompanySettings(*CompanyDb, Company);
}

} // namespace plax
