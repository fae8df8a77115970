#pragma once
// The main window's data-exchange commands: the personnel export screen,
// the attendance export and the personnel import screen.

class QWidget;

namespace plax {

// Registers "mnuUtilitiesExportPers", "mnuUtilitiesExportAtt" and
// "mnuUtilitiesImportPer".
void registerExchangeScreens();

namespace exchange {
QWidget* showExportScreen();
QWidget* showImportScreen();
} // namespace exchange

} // namespace plax
