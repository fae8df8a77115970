#pragma once
// The setup screens' entries in the main window's menus: "mnuSetupEmployee",
// "mnuSetupMessages", "mnuSetupDepartments", "mnuSetupSchedules",
// "mnuSetupAbsence", "mnuSetupHolidays" and "mnuUtilitiesPrintID".

namespace plax::setup {

void registerSetupScreens();

} // namespace plax::setup
