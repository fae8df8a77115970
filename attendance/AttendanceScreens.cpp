#include "AttendanceScreens.h"

#include "attendance/ClockFile.h"
#include "attendance/ClockImport.h"
#include "core/archivefiles/ArchiveFiles.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "platform/ui/Progress.h"

#include <QApplication>
#include <QMdiArea>

namespace plax {
namespace {

// Files with fewer punches finish too soon for a progress bar to help.
constexpr int kProgressFrom = 2000;

} // namespace

HoursProgress hoursProgressBar(QWidget* owner, const QString& title) {
    return ui::progressBar(owner, title, 1, kHoursBarAfterMs);
}

void ImportAttendanceData() {
    // The import runs on the new Clock.txt, or after Cancel on an earlier
    // one (or fails for want of one), but not after a download that could
    // not be read whole or converted into Clock.txt: its message said
    // nothing was imported.
    const Conversion converted = ConvertClockFile();
    if (converted == Conversion::Unreadable || converted == Conversion::NotWritten)
        return;

    QWidget* owner = mdiArea() ? mdiArea()->window() : QApplication::activeWindow();
    const QString title = QStringLiteral("Import Attendance Data");
    try {
        ImportClockData(companyDb(), Company, DataPath, ui::progressBar(owner, title, kProgressFrom),
                        hoursProgressBar(owner, title), archive::archiveFolder(AppPath));
    } catch (const std::exception& e) {
        // No open company database.
        ShowError(QString(), QStringLiteral("Clock data was NOT imported successfully!"), errorNumberOf(e));
    }
}

void registerAttendanceScreens() { registerMenuHandler(QStringLiteral("mnuUtilitiesImportAtt"), ImportAttendanceData); }

} // namespace plax
