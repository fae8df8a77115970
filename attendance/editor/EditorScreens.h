#pragma once
// The main window's commands of the clock-data editor and the week
// archives: "mnuClkDataEditClkData" (the Time Sheet, toolbar "Edit"),
// "mnuUtilitiesArchive" and "mnuUtilitiesUnarchive".

class QWidget;

namespace plax::editor {

void registerClockDataScreens();

// Each shows its screen, creating it on first use (one instance each).
// The editor needs the company database: without one it is not shown and
// nullptr is returned.
QWidget* showClockDataEditor();
QWidget* showArchive();
QWidget* showUnarchive();

} // namespace plax::editor
