#include "Common.h"

namespace plax {

// Each screen's topic in the user guide PLAX.hlp (its data-context). A
// screen left out opens the contents.
const std::vector<help::ScreenTopic>& screenHelpTopics() {
    static const std::vector<help::ScreenTopic> topics = {
        // both programs
        {"frmLogon", 3},
        // the office program
        {"frmMDI", 4},
        {"frmDBPswd", 5},
        {"frmChild", 6},
        {"frmAbout", 7},
        {"frmSetupCompany", 10},
        {"frmCommParm", 11},
        {"frmAttendanceRpt", 40},
        {"frmEmpQry", 40},
        {"frmAbsenceRpt", 40},
        {"frmExcptRpt", 40},
        {"frmSetupEmployee", 50},
        {"frmEmpFind", 50},
        {"frmScheduleSetup", 51},
        {"frmHolidaySTP", 52},
        {"frmDepStp", 52},
        {"frmSetupMessages", 52},
        {"frmAbsenceSTP", 53},
        {"frmPrintID", 54},
        {"frmDataSheetEdit", 60},
        {"frmArchive", 61},
        {"frmUnarchive", 62},
        {"frmExpData", 70},
        {"frmImport", 71},
        // the clock terminal
        {"frmClock", 30},
    };
    return topics;
}

void NameHelpFile(const QString& path) {
    HelpFile = path;
    help::installHelpKey(path, screenHelpTopics());
}

} // namespace plax
