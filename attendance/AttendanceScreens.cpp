#include "AttendanceScreens.h"

#include "attendance/ClockFile.h"
#include "attendance/ClockImport.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"

#include <QApplication>
#include <QMdiArea>
#include <QProgressDialog>

#include <memory>

namespace plax {
namespace {

// Files with fewer punches finish too soon for a progress bar to help.
constexpr int kProgressFrom = 2000;

void keepPainting() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

} // namespace

void ImportAttendanceData() {
    ConvertClockFile(); // its result does not matter: the import runs in every case

    std::unique_ptr<QProgressDialog> bar;
    const auto progress = [&bar](int done, int total) {
        if (!bar && total >= kProgressFrom && done < total) {
            QWidget* parent = mdiArea() ? mdiArea()->window() : QApplication::activeWindow();
            bar = std::make_unique<QProgressDialog>(QStringLiteral("Import Attendance Data"), QString(), 0, total,
                                                    parent);
            bar->setCancelButton(nullptr);
            bar->setWindowModality(Qt::ApplicationModal);
            bar->setMinimumDuration(0);
        }
        if (bar) {
            bar->setValue(done);
            if (done >= total)
                bar.reset();
        }
        keepPainting();
    };
    try {
        ImportClockData(companyDb(), Company, DataPath, progress, keepPainting);
    } catch (const std::exception& e) {
        // No open company database.
        ShowError(QString(), QStringLiteral("Clock data was NOT imported successfully!"), errorNumberOf(e));
    }
}

void registerAttendanceScreens() { registerMenuHandler(QStringLiteral("mnuUtilitiesImportAtt"), ImportAttendanceData); }

} // namespace plax
