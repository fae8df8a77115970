#include "ReportMenus.h"

#include "Reports.h"

#include "core/common/Screens.h"

namespace plax::reports {

void registerReportScreens() {
    registerMenuHandler(QStringLiteral("mnuReportsDepLst"), [] {
        if (OpenReportEngine())
            PrintReport(kToWindow, QStringLiteral("Department.rpt"), QString());
    });
    registerMenuHandler(QStringLiteral("mnuReportsHolLst"), [] { PrintHolidayList(kToWindow); });
}

} // namespace plax::reports
