#pragma once
// Ending a program from outside (a session's logout, `kill`, Ctrl+C in the
// terminal that started it) the way the user ends it: the windows close
// through their own close handlers, so the company file is closed cleanly
// and its journal files go with it.

namespace plax {

// Turns SIGTERM, SIGINT and SIGHUP into a request, handled in the event
// loop, to close every top-level window. A window that refuses (a question
// about unsaved changes) keeps the program running, as it would for the
// user. Call once, after the application object exists.
void closeWindowsOnEndRequest();

} // namespace plax
