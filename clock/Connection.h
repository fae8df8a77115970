#pragma once
// The terminal's hold on the company database over months of running.
//
// The terminal keeps one connection (CompanyDb). Before each punch it checks
// that the file at CompanyDbPath is still the one it opened: when the file
// is gone (a network share lost) the punch fails with the engine's
// "file not found" error, and when a file is back in its place, or a
// database failure made the connection doubtful, the next punch opens the
// file afresh with the password the terminal was started with.
//
// Threading: user-interface thread only.

#include "platform/db/Database.h"

#include <cstdint>
#include <exception>
#include <functional>

namespace plax::clk {

// The connection to use for the next database work. Raises db::DbError
// (3024 when the file is missing, or the engine's error of a failed open).
// Before an old connection is closed, `releaseStatements` runs: statements
// prepared on it must be gone first, or the old connection would linger and
// later tidy up the journal files that now belong to the new one.
db::Database& terminalDb(const std::function<void()>& releaseStatements = {});
// Counts reopenings, so that statements prepared on an older connection
// are prepared again.
std::uint64_t connectionGeneration();
// Tells the connection that database work failed with `e`: unless the file
// was merely busy, the next terminalDb() opens the file afresh.
void connectionFailed(const std::exception& e);
// Forgets what is known about the open file (after start-up or logon
// opened CompanyDb).
void resetConnectionState();

} // namespace plax::clk
