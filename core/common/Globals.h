#pragma once
// The program-wide state of the office program and the terminal: the one
// shared database connection, the folders and the in-memory company
// settings. Screens read these; logic takes what it needs as arguments.
//
// All of it belongs to the user-interface thread.

#include "core/types/CompanySettings.h"
#include "platform/db/Database.h"

#include <QString>
#include <memory>

namespace plax {

// The open company database, or nullptr.
extern std::unique_ptr<db::Database> CompanyDb;
extern QString CompanyDbPath;
// The password the database was opened with, as far as the program knows.
extern QString CompanyDbPassword;
// The program folder with a trailing separator.
extern QString AppPath;
// AppPath followed by "Data/".
extern QString DataPath;
// The in-memory company settings (CompanyName, WorkDay, DayStartTime, ...).
extern CompanySettings Company;

// The open database; raises the engine's "closed" error when there is none.
db::Database& companyDb();

} // namespace plax
