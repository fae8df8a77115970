#pragma once
// The main window's report listings: "mnuReportsDepLst" previews the
// department list, "mnuReportsHolLst" asks for a year and previews its
// holidays.

namespace plax::reports {

void registerReportScreens();

} // namespace plax::reports
