// PLAX, the office program.
#include "attendance/AttendanceScreens.h"
#include "attendance/editor/EditorScreens.h"
#include "exchange/ExchangeScreens.h"
#include "core/common/EndRequest.h"
#include "core/mdi/Startup.h"
#include "core/settings/SettingsScreens.h"
#include "reports/ReportMenus.h"
#include "reports/screens/ReportScreens.h"
#include "setup/SetupScreens.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PLAX"));
    QApplication::setApplicationVersion(QStringLiteral(PLAX_VERSION));
    plax::closeWindowsOnEndRequest();

    // Each library registers the screens the main window opens.
    plax::registerAttendanceScreens();
    plax::registerExchangeScreens();
    plax::editor::registerClockDataScreens();
    plax::reports::registerReportScreens();
    plax::reports::registerReportScreenMenus();
    plax::setup::registerSetupScreens();
    plax::registerSettingsScreens();

    plax::Main();
    if (plax::programEnded())
        return 0;
    return app.exec();
}
