#include "SetupScreens.h"

#include "core/common/Screens.h"
#include "frmAbsenceSTP.h"
#include "frmDepStp.h"
#include "frmHolidaySTP.h"
#include "frmPrintID.h"
#include "frmScheduleSetup.h"
#include "frmSetupMessages.h"
#include "frmSetupEmployee.h"

#include <QPointer>

namespace plax::setup {
namespace {

// One instance per screen; a screen whose loading failed is not shown.
template <typename Form>
void showLoaded(QPointer<Form>& instance) {
    if (!instance) {
        auto* f = new Form();
        if (!f->loaded()) {
            delete f;
            return;
        }
        instance = f;
    }
    showScreen(instance);
}

QPointer<frmSetupEmployee> g_employee;
QPointer<frmScheduleSetup> g_schedule;
QPointer<frmHolidaySTP> g_holidays;
QPointer<frmDepStp> g_departments;
QPointer<frmSetupMessages> g_messages;
QPointer<frmAbsenceSTP> g_absence;
QPointer<frmPrintID> g_printId;

} // namespace

void registerSetupScreens() {
    registerMenuHandler(QStringLiteral("mnuSetupEmployee"), [] { showLoaded(g_employee); });
    registerMenuHandler(QStringLiteral("mnuSetupSchedules"), [] { showLoaded(g_schedule); });
    registerMenuHandler(QStringLiteral("mnuSetupHolidays"), [] { showLoaded(g_holidays); });
    registerMenuHandler(QStringLiteral("mnuSetupDepartments"), [] { showLoaded(g_departments); });
    registerMenuHandler(QStringLiteral("mnuSetupMessages"), [] { showLoaded(g_messages); });
    registerMenuHandler(QStringLiteral("mnuSetupAbsence"), [] { showLoaded(g_absence); });
    registerMenuHandler(QStringLiteral("mnuUtilitiesPrintID"), [] { showLoaded(g_printId); });
}

} // namespace plax::setup
