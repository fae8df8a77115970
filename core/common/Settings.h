#pragma once
// The settings table Registry: one text row per key and field; a missing
// row means the default. The office program writes rows; both programs
// read them.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>

namespace plax {

// The RegValue of the first row of `rs` whose RegField is `field`, or
// `defaultValue` when there is none. `rs` holds the rows of one RegKey.
QString GetRegValue(db::Recordset& rs, const QString& field, const QString& defaultValue);

// Writes one row: updates the row of (key, field) or inserts it.
void SaveRegValue(db::Database& db, const QString& key, const QString& field, const QString& value);
// The same on the company database.
void SaveRegValue(const QString& key, const QString& field, const QString& value);

// Reads the "Company Settings" rows of `db` into `s`: CompanyName,
// WorkDay, DayStartTime (and DayStartHours), GraceP, RoundTotal and
// IncludeWages, with their defaults. A failure shows the error box and
// leaves the values not yet read as they were.
void LoadCompanySettings(db::Database& db, CompanySettings& s);
// Fills the program-wide settings (Company) from the company database.
void LoadCompanySettings();

// Numeric value of a settings text rounded to a whole number, halves to
// even; text that is no number reads as 0.
int settingInt(const QString& text);

} // namespace plax
