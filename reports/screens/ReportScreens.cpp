#include "ReportScreens.h"

#include "core/common/Screens.h"
#include "frmAbsenceRpt.h"
#include "frmAttendanceRpt.h"
#include "frmEmpQry.h"
#include "frmExcptRpt.h"

#include <QPointer>

namespace plax::reports {
namespace {
QPointer<frmEmpQry> g_empQry;
QPointer<frmAbsenceRpt> g_absenceRpt;
QPointer<frmAttendanceRpt> g_attendanceRpt;
QPointer<frmExcptRpt> g_excptRpt;
} // namespace

QWidget* showEmployeeReport() {
    return showSingle<frmEmpQry>(g_empQry);
}
QWidget* showAbsenceReport() {
    return showSingle<frmAbsenceRpt>(g_absenceRpt);
}
QWidget* showAttendanceReport() {
    return showSingle<frmAttendanceRpt>(g_attendanceRpt);
}
QWidget* showExceptionReport() {
    return showSingle<frmExcptRpt>(g_excptRpt);
}

void registerReportScreenMenus() {
    registerMenuHandler(QStringLiteral("mnuReportsEmpLst"), [] { showEmployeeReport(); });
    registerMenuHandler(QStringLiteral("mnuReportsAbsLst"), [] { showAbsenceReport(); });
    registerMenuHandler(QStringLiteral("mnuRptTA"), [] { showAttendanceReport(); });
    registerMenuHandler(QStringLiteral("mnuReportsExceptions"), [] { showExceptionReport(); });
}

} // namespace plax::reports
