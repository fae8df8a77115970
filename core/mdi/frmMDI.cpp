#include "frmMDI.h"

#include "Startup.h"
#include "ToolbarIcons.h"
#include "frmAbout.h"
#include "frmDBPswd.h"

#include "core/archivefiles/ArchiveFiles.h"
#include "core/archivefiles/ArchiveMoves.h"
#include "core/common/Common.h"
#include "core/common/Connection.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "core/common/Settings.h"
#include "core/common/frmSplash.h"
#include "core/schema/CompanySchema.h"
#include "platform/help/WinHelp.h"
#include "platform/ui/Dialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace plax {
namespace {

// Items whose screens belong to this window; the others run the handler
// their library registers.
bool ownItem(const QString& name) {
    static const QStringList own{QStringLiteral("mnuSetupPassword"),      QStringLiteral("mnuSetupExit"),
                                 QStringLiteral("mnuUtilitiesDBCompact"), QStringLiteral("mnuHelpContents"),
                                 QStringLiteral("mnuHelpSearch"),         QStringLiteral("mnuHelpZeltoWeb"),
                                 QStringLiteral("mnuHelpAbout")};
    return own.contains(name);
}

// Items whose show handlers go on silently when showing fails.
bool errorsIgnored(const QString& name) {
    return name == QLatin1String("mnuClkDataEditClkData") || name == QLatin1String("mnuReportsExceptions");
}

struct ToolButton {
    const char* caption;
    const char* key;
    const char* tooltip;
};

// "Import" runs the menu's Import Attendance Data.
constexpr ToolButton kButtons[] = {
    {"Employee", "Employee", "Setup employees"},
    {"Schedule", "Schedule", "Setup employee schedules"},
    {"Absence", "Absence", "Setup employee absences"},
    {"Import", "Import", "Import clock data file"},
    {"Time Sheet", "Edit", "Edit clock in\\out data"},
    {"Weekly", "Weekly", "Preview weekly report"},
    {"Employee ID", "PrintID", "Print employee ID"},
    {"Archive", "Archive", "Archive atttendance data"},
    {"Exit", "Exit", "Exit PLAX"},
};

QPointer<frmDBPswd> g_password;
QPointer<frmAbout> g_about;

} // namespace

QString frmMDI::webAddress() { return QStringLiteral(PLAX_WEBSITE); }

QString frmMDI::menuItemForKey(const QString& key) {
    static const QHash<QString, QString> map{
        {QStringLiteral("Employee"), QStringLiteral("mnuSetupEmployee")},
        {QStringLiteral("Schedule"), QStringLiteral("mnuSetupSchedules")},
        {QStringLiteral("Absence"), QStringLiteral("mnuSetupAbsence")},
        {QStringLiteral("Import"), QStringLiteral("mnuUtilitiesImportAtt")},
        {QStringLiteral("Edit"), QStringLiteral("mnuClkDataEditClkData")},
        {QStringLiteral("Weekly"), QStringLiteral("mnuRptTA")},
        {QStringLiteral("PrintID"), QStringLiteral("mnuUtilitiesPrintID")},
        {QStringLiteral("Archive"), QStringLiteral("mnuUtilitiesArchive")},
        {QStringLiteral("Exit"), QStringLiteral("mnuSetupExit")},
    };
    return map.value(key);
}

frmMDI::frmMDI() {
    setObjectName(QStringLiteral("frmMDI"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Zelto-PLAX"));
    area_ = new QMdiArea;
    area_->setObjectName(QStringLiteral("MDIClient"));
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    setMdiArea(area_);
    ui::setParentWindow(this);
    buildMenus();
    buildToolbar();
    refreshMenus();
    resize(1024, 720);
}

frmMDI::~frmMDI() {
    if (mdiArea() == area_)
        setMdiArea(nullptr);
    ui::setParentWindow(nullptr);
}

QMenu* frmMDI::addMenu(QMenu* parent, const QString& name, const QString& caption) {
    QMenu* m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}

QAction* frmMDI::addItem(QMenu* menu, const QString& name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, name] { runMenuItem(name); });
    return a;
}

void frmMDI::buildMenus() {
    QMenu* setup = addMenu(nullptr, QStringLiteral("mnuSetup"), QStringLiteral("&Setup"));
    addItem(setup, QStringLiteral("mnuSetupCompany"), QStringLiteral("&Company"));
    addItem(setup, QStringLiteral("mnuSetupPLAXClk"), QStringLiteral("PLAX Clock"));
    setup->addSeparator();
    addItem(setup, QStringLiteral("mnuSetupEmployee"), QStringLiteral("&Employee"));
    addItem(setup, QStringLiteral("mnuSetupMessages"), QStringLiteral("&Message"));
    addItem(setup, QStringLiteral("mnuSetupDepartments"), QStringLiteral("&Department"));
    addItem(setup, QStringLiteral("mnuSetupSchedules"), QStringLiteral("&Schedule"));
    addItem(setup, QStringLiteral("mnuSetupAbsence"), QStringLiteral("&Absence"));
    addItem(setup, QStringLiteral("mnuSetupHolidays"), QStringLiteral("&Holiday"));
    setup->addSeparator();
    addItem(setup, QStringLiteral("mnuSetupPassword"), QStringLiteral("&Password"));
    setup->addSeparator();
    addItem(setup, QStringLiteral("mnuSetupExit"), QStringLiteral("E&xit"));

    QMenu* clk = addMenu(nullptr, QStringLiteral("mnuClkData"), QStringLiteral("Clock &Data"));
    addItem(clk, QStringLiteral("mnuClkDataEditClkData"), QStringLiteral("&Time Sheet"));

    QMenu* reports = addMenu(nullptr, QStringLiteral("mnuReports"), QStringLiteral("&Reports"));
    addItem(reports, QStringLiteral("mnuReportsDepLst"), QStringLiteral("De&partments Listing"));
    addItem(reports, QStringLiteral("mnuReportsEmpLst"), QStringLiteral("&Employees Report"));
    addItem(reports, QStringLiteral("mnuReportsAbsLst"), QStringLiteral("&Absences Report"));
    addItem(reports, QStringLiteral("mnuReportsHolLst"), QStringLiteral("&Holidays Listing"));
    reports->addSeparator();
    addItem(reports, QStringLiteral("mnuRptTA"), QStringLiteral("Time && Attendance Reports"));
    addItem(reports, QStringLiteral("mnuReportsExceptions"), QStringLiteral("E&xceptions Report"));

    QMenu* util = addMenu(nullptr, QStringLiteral("mnuUtilities"), QStringLiteral("&Utilities"));
    addItem(util, QStringLiteral("mnuUtilitiesArchive"), QStringLiteral("&Archive"));
    addItem(util, QStringLiteral("mnuUtilitiesUnarchive"), QStringLiteral("Unar&chive"));
    util->addSeparator();
    addItem(util, QStringLiteral("mnuUtilitiesPrintID"), QStringLiteral("&Print ID"));
    util->addSeparator();
    QMenu* exp = addMenu(util, QStringLiteral("mnuUtilitiesExport"), QStringLiteral("&Export"));
    addItem(exp, QStringLiteral("mnuUtilitiesExportPers"), QStringLiteral("Personal data"));
    addItem(exp, QStringLiteral("mnuUtilitiesExportAtt"), QStringLiteral("Attendence Data"));
    QMenu* imp = addMenu(util, QStringLiteral("mnuUtilitiesImport"), QStringLiteral("&Import"));
    addItem(imp, QStringLiteral("mnuUtilitiesImportPer"), QStringLiteral("Import Personal Data"));
    addItem(imp, QStringLiteral("mnuUtilitiesImportAtt"), QStringLiteral("Import Attendance Data"));
    QMenu* dbm = addMenu(util, QStringLiteral("mnuUitilitiesDB"), QStringLiteral("&Database"));
    addItem(dbm, QStringLiteral("mnuUtilitiesDBCompact"), QStringLiteral("&Compact"));

    QMenu* help = addMenu(nullptr, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    addItem(help, QStringLiteral("mnuHelpContents"), QStringLiteral("&Contents"));
    addItem(help, QStringLiteral("mnuHelpSearch"), QStringLiteral("&Search..."));
    QAction* web = addItem(help, QStringLiteral("mnuHelpZeltoWeb"), QStringLiteral("V&isit Zelto Website"));
    web->setVisible(!webAddress().isEmpty());
    help->addSeparator();
    addItem(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About..."));
}

void frmMDI::buildToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(32, 32));
    for (const ToolButton& b : kButtons) {
        const QString key = QString::fromLatin1(b.key);
        QAction* a = toolbar_->addAction(toolbarIcon(key), QString::fromLatin1(b.caption));
        a->setObjectName(QStringLiteral("Toolbar1_") + key);
        a->setData(key);
        a->setToolTip(QString::fromLatin1(b.tooltip));
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        if (key == QLatin1String("Import") || key == QLatin1String("Archive") || key == QLatin1String("Exit"))
            toolbar_->insertSeparator(a);
    }
}

QAction* frmMDI::item(const QString& name) const {
    for (QAction* a : findChildren<QAction*>())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void frmMDI::refreshMenus() {
    for (QAction* a : findChildren<QAction*>()) {
        const QString name = a->objectName();
        if (!name.startsWith(QLatin1String("mnu")) || (a->menu() != nullptr))
            continue;
        a->setEnabled(ownItem(name) || hasMenuHandler(name));
    }
    for (QAction* a : toolbar_->actions()) {
        if (a->isSeparator())
            continue;
        const QAction* target = item(menuItemForKey(a->data().toString()));
        a->setEnabled(target && target->isEnabled());
    }
}

void frmMDI::runMenuItem(const QString& name) {
    if (name == QLatin1String("mnuSetupPassword"))
        return mnuSetupPassword_Click();
    if (name == QLatin1String("mnuSetupExit"))
        return mnuSetupExit_Click();
    if (name == QLatin1String("mnuUtilitiesDBCompact"))
        return; // does nothing
    if (name == QLatin1String("mnuHelpContents"))
        return mnuHelpContents_Click();
    if (name == QLatin1String("mnuHelpSearch"))
        return mnuHelpSearch_Click();
    if (name == QLatin1String("mnuHelpZeltoWeb"))
        return mnuHelpZeltoWeb_Click();
    if (name == QLatin1String("mnuHelpAbout"))
        return mnuHelpAbout_Click();
    try {
        runMenuHandler(name);
    } catch (const std::exception& e) {
        if (!errorsIgnored(name))
            ShowError(QString(), e);
    } catch (...) {
        if (!errorsIgnored(name))
            ShowError(QString(), QStringLiteral("Unexpected error"), 0);
    }
}

void frmMDI::Toolbar1_ButtonClick(const QString& key) {
    const QString name = menuItemForKey(key);
    if (name.isEmpty())
        return;
    if (QAction* a = item(name); a && a->isEnabled())
        runMenuItem(name);
}

void frmMDI::MDIForm_Load() {
    show();
    LoadCompanySettings();
    if (CompanyDb && CompanyDb->isOpen()) {
        // A file of an earlier version is brought up to date once. Should
        // another program hold it now, nothing changes and the next start
        // tries again.
        try {
            schema::upgradeCompanyDb(*CompanyDb, Company);
        } catch (const std::exception&) {
        }
        // A week archived or restored when the program ended half way is
        // finished or put back, as its commit decided.
        archive::settleArchiveMovesQuietly(CompanyDb.get(), archive::archiveFolder(AppPath));
    }
    setWindowTitle(QStringLiteral("Zelto-PLAX"));
    refreshMenus();
    if (frmSplash* s = splash())
        s->Timer1->start();
}

void frmMDI::mnuSetupPassword_Click() { showSingle<frmDBPswd>(g_password); }
void frmMDI::mnuHelpAbout_Click() { showSingle<frmAbout>(g_about); }
void frmMDI::mnuSetupExit_Click() { close(); }

void frmMDI::mnuHelpContents_Click() {
    // A stale index beside the help file is removed so the viewer starts
    // from the file itself.
    const QString gid = AppPath + QStringLiteral("PLAX.gid");
    if (QFileInfo(gid).exists()) {
        QFile::setPermissions(gid, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(gid);
    }
    help::WinHelp(this, HelpFile, help::HELP_FINDER, 0);
}

void frmMDI::mnuHelpSearch_Click() { help::WinHelp(this, HelpFile, help::HELP_PARTIALKEY, 0); }

void frmMDI::mnuHelpZeltoWeb_Click() {
    if (!webAddress().isEmpty())
        QDesktopServices::openUrl(QUrl(webAddress()));
}

void frmMDI::closeEvent(QCloseEvent* event) {
    // The screens close first; one that refuses keeps the program running.
    area_->closeAllSubWindows();
    if (!area_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (CompanyDb && CompanyDb->isOpen())
        CloseDb();
    QuitHelp(this);
    EndProgram();
}

} // namespace plax
