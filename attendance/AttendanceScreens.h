#pragma once
// The main window's commands of the attendance subsystem.

namespace plax {

// Registers the menu handlers (the import command "mnuUtilitiesImportAtt").
void registerAttendanceScreens();

// "Import Attendance Data": converts a downloaded punch file, then imports
// Clock.txt, always both; a large file shows its progress while the window
// keeps painting.
void ImportAttendanceData();

} // namespace plax
