#pragma once
// The main window's commands of the attendance subsystem.

#include "attendance/HoursEngine.h"

#include <QString>

class QWidget;

namespace plax {

// Registers the menu handlers (the import command "mnuUtilitiesImportAtt").
void registerAttendanceScreens();

// "Import Attendance Data": converts a downloaded punch file, then imports
// Clock.txt, always both; a large file shows its progress while the window
// keeps painting.
void ImportAttendanceData();

// The hours engine's progress for a screen that runs it: a bar titled
// `title` over `owner`'s window when the run lasts longer than
// kHoursBarAfterMs; the windows keep painting meanwhile.
constexpr int kHoursBarAfterMs = 250;
HoursProgress hoursProgressBar(QWidget* owner, const QString& title);

} // namespace plax
