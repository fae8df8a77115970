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

// The numeric value of the number a text begins with ("12abc" -> 12,
// " 7.5" -> 7.5); a text that does not begin with a number gives 0. The
// settings screens read typed numbers this way and store the text as typed.
double leadingNumber(const QString& text);
// leadingNumber rounded to a whole number, halves to even (0 beyond the
// range of int), so a stored "12abc" or "7.5" means what the screen that
// wrote it put in force.
int settingInt(const QString& text);

} // namespace plax
