#pragma once
// Start-up of the office program: the splash, the program and data
// folders, the database location from the registry, the open (logon when
// the file is protected, a new location when it is missing) and the main
// window.

#include "core/common/Common.h"

#include <QString>

namespace plax {

class frmMDI;
class frmSplash;

// Runs start-up from the program folder `appPath` (with a trailing "/").
// Returns with the main window or the logon screen shown, or with the
// program ended (programEnded()).
void Main(const QString& appPath = GetAppPath());

// Creates the main window and runs its load handler.
void showMainWindow();
// The main window and the splash while they exist.
frmMDI* mainWindow();
frmSplash* splash();

} // namespace plax
