#include "TerminalStart.h"

#include "Connection.h"
#include "frmClock.h"

#include "core/archivefiles/ArchiveFiles.h"
#include "core/archivefiles/ArchiveMoves.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/frmLogon.h"
#include "platform/registry/Registry.h"
#include "platform/ui/Keys.h"

#include <QPointer>
#include <QTimer>

namespace plax::clk {

namespace {
QPointer<frmClock> g_clock;

// Once the company file is open (at start-up or after the logon).
void showSplash() {
    // A week the office program archived or restored when it ended half way
    // is finished or put back, as its commit decided.
    archive::settleArchiveMovesQuietly(CompanyDb.get(), archive::archiveFolder(AppPath));
    auto* splash = new frmSplash;
    splash->Form_Load();
}
} // namespace

frmClock* clockWindow() { return g_clock; }

frmSplash::frmSplash() : SplashPicture(QStringLiteral("Zelto-PLAX Clock"), QString(), QSize(380, 180)) {
    // After the logon the splash is the terminal's only window until the
    // clock window is up. Qt does not count a splash window as keeping the
    // program alive, so closing the logon would end it: this one counts.
    setAttribute(Qt::WA_QuitOnClose, true);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
}

void frmSplash::Form_Load() {
    CenterForm(this);
    show();
    Timer1->start();
}

void frmSplash::Timer1_Timer() {
    Timer1->stop();
    if (!g_clock) {
        g_clock = new frmClock;
        g_clock->setAttribute(Qt::WA_DeleteOnClose);
        g_clock->show(); // loads the window
    }
    close();
}

void Main() {
    try {
        AppPath = GetAppPath();
        NameHelpFile(AppPath + QStringLiteral("PLAX.hlp"));
        ui::installButtonEnterKey();
        CompanyDbPath = GetWindowsSetting(QStringLiteral("Company Settings"), QStringLiteral("Database"),
                                          AppPath + QStringLiteral("Company07.mdb"));
        CompanyDb = db::Database::open(CompanyDbPath, false, false, QStringLiteral(";pwd="));
        CompanyDbPassword.clear();
        resetConnectionState();
        showSplash();
    } catch (const std::exception& e) {
        switch (errorNumberOf(e)) {
        case db::err::FileNotFound:
        case db::err::CannotStart:
            ShowError(QString(), QStringLiteral("Database is missing."), errorNumberOf(e));
            EndProgram();
            return;
        case db::err::Damaged:
            ShowError(QString(), QStringLiteral("Database needs repair."), errorNumberOf(e));
            EndProgram();
            return;
        case db::err::InvalidPassword: {
            auto* logon = new frmLogon(frmLogon::openCompanyDatabase([] {
                resetConnectionState();
                showSplash();
            }));
            logon->setAttribute(Qt::WA_DeleteOnClose);
            logon->show();
            return;
        }
        default:
            ShowError(QString(), e);
            EndProgram();
            return;
        }
    }
}

} // namespace plax::clk
