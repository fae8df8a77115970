#pragma once
// The list of work weeks found in [Time Attendance]: one entry per week,
// "start --> end" in the short date format, in ascending order of the
// week's first row. Archive selection reads these entries back.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QStringList>

class QComboBox;
class QListWidget;

namespace plax {

// The entries, each once (raises on a database failure).
QStringList weekListEntries(db::Database& db, const CompanySettings& settings);

// Adds to the control the entries it does not hold yet; on a failure shows
// the error box "X178-". On the program's database and settings.
void LoadWeekList(QComboBox* ctl);
void LoadWeekList(QListWidget* ctl);

} // namespace plax
