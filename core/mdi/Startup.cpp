#include "Startup.h"

#include "frmMDI.h"

#include "core/common/Connection.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/frmLogon.h"
#include "core/common/frmSplash.h"
#include "platform/registry/Registry.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Keys.h"

#include <QPointer>

namespace plax {
namespace {
QPointer<frmMDI> g_main;
QPointer<frmSplash> g_splash;
} // namespace

frmMDI* mainWindow() { return g_main; }
frmSplash* splash() { return g_splash; }

void showMainWindow() {
    if (!g_main)
        g_main = new frmMDI;
    g_main->MDIForm_Load();
}

namespace {

// The database file is not where the registry says: ask for the new place,
// store it and end; the program does not retry in this run.
void askForNewLocation() {
    const auto answer =
        ui::InputBoxEx(QStringLiteral("Database file is missing.  Please enter new path and file name:"),
                       QStringLiteral("Get Database Location:"), AppPath + QStringLiteral("Company06.mdb"));
    // The restart notice only when the new place was really stored.
    if (answer && !answer->isEmpty() &&
        SaveWindowsSetting(kAppKey, QStringLiteral("Company Settings"), QStringLiteral("Database"), *answer)) {
        ui::MsgBox(QStringLiteral("Database file has changed. You need to restart the application in order for "
                                  "the changes to take effect."),
                   ui::Buttons::OK);
    }
    EndProgram();
}

} // namespace

void Main(const QString& appPath) {
    try {
        g_splash = new frmSplash;
        g_splash->Form_Load();

        AppPath = withTrailingSeparator(appPath);
        DataPath = AppPath + QStringLiteral("Data/");
        NameHelpFile(AppPath + QStringLiteral("PLAX.hlp"));
        ui::installButtonEnterKey();

        CompanyDbPath = GetWindowsSetting(QStringLiteral("Company Settings"), QStringLiteral("Database"),
                                          AppPath + QStringLiteral("Company07.mdb"));
        if (!CompanyDb || !CompanyDb->isOpen()) {
            openCompanyDb(QString());
            CompanyDbPassword.clear();
        }
        showMainWindow();
    } catch (const db::DbError& e) {
        if (e.number() == db::err::InvalidPassword) {
            // The splash would cover the small logon window; it closes as
            // usual once the main window is up.
            if (g_splash)
                g_splash->hide();
            auto* logon = new frmLogon(frmLogon::openCompanyDatabase(&showMainWindow));
            logon->show();
            logon->raise();
            logon->activateWindow();
        } else if (e.number() == db::err::FileNotFound) {
            askForNewLocation();
        } else {
            ShowError(QString(), e);
            EndProgram();
        }
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        EndProgram();
    }
}

} // namespace plax
