#pragma once
// The work tables the report screens compute and the reports read
// (Attendance, Exceptions). They are TEMP tables of the program's own
// database connection: the clock terminal and a second office program on the
// same file never see them, and a program that ends without closing its
// screen leaves nothing behind in the company file. Within one connection a
// table that is still there when its screen opens again is reused.

#include "platform/db/Database.h"

namespace plax::reports {

// Runs "CREATE TEMP TABLE <name> (<columns>)"; raises the engine's error
// (3010 when the table exists already).
void createWorkTable(db::Database& db, const QString& name, const QString& columns);
// Drops the table; false when there was none or the drop failed.
bool dropWorkTable(db::Database& db, const QString& name);
bool workTableExists(db::Database& db, const QString& name);

} // namespace plax::reports
