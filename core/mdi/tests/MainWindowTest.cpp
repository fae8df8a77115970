#include "ProgramFixture.h"

#include "core/mdi/Startup.h"
#include "core/mdi/frmAbout.h"
#include "core/mdi/frmDBPswd.h"
#include "core/mdi/frmMDI.h"
#include "platform/help/WinHelp.h"
#include "testing/ScreenEvents.h"
#include "testing/TempCompany.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>

using namespace plax;

namespace {

QStringList itemsOf(const QMenu* m) {
    QStringList out;
    for (const QAction* a : m->actions())
        if (!a->isSeparator())
            out << a->objectName() + "=" + a->text();
    return out;
}

// A click on the main window's toolbar button of `key`, which shows.
void clickToolbarButton(frmMDI* w, const QString& key) {
    const QString name = "Toolbar1_" + key;
    if (const QWidget* b = test::toolButton(w, name)) {
        EXPECT_TRUE(b->isVisible()) << key.toStdString();
    }
    test::clickToolButton(w, name);
}

} // namespace

class MainWindow : public test::ProgramFixture {
protected:
    test::TempCompany company;
    QPointer<frmMDI> w;

    void SetUp() override {
        ProgramFixture::SetUp();
        AppPath = company.dir();
        HelpFile = AppPath + "PLAX.hlp";
        CompanyDbPath = company.path();
        CompanyDb = std::move(company.handle());
    }
    // The main window as the program opens it once the database is open.
    void build() {
        showMainWindow();
        w = mainWindow();
        ASSERT_TRUE(w);
        test::showActive(w);
    }
};

TEST_F(MainWindow, MenuTreeAndToolbarAreComplete) {
    build();
    EXPECT_EQ(w->windowTitle(), "Zelto-PLAX");
    QStringList top;
    for (const QAction* a : w->menuBar()->actions())
        top << a->objectName() + "=" + a->text();
    EXPECT_EQ(top, (QStringList{"mnuSetup=&Setup", "mnuClkData=Clock &Data", "mnuReports=&Reports",
                                "mnuUtilities=&Utilities", "mnuHelp=&Help"}));
    const auto menu = [&](const char* name) { return w->findChild<QMenu*>(name); };
    EXPECT_EQ(itemsOf(menu("mnuSetup")),
              (QStringList{"mnuSetupCompany=&Company", "mnuSetupPLAXClk=PLAX Clock", "mnuSetupEmployee=&Employee",
                           "mnuSetupMessages=&Message", "mnuSetupDepartments=&Department",
                           "mnuSetupSchedules=&Schedule", "mnuSetupAbsence=&Absence", "mnuSetupHolidays=&Holiday",
                           "mnuSetupPassword=&Password", "mnuSetupExit=E&xit"}));
    EXPECT_EQ(itemsOf(menu("mnuClkData")), QStringList{"mnuClkDataEditClkData=&Time Sheet"});
    EXPECT_EQ(itemsOf(menu("mnuReports")),
              (QStringList{"mnuReportsDepLst=De&partments Listing", "mnuReportsEmpLst=&Employees Report",
                           "mnuReportsAbsLst=&Absences Report", "mnuReportsHolLst=&Holidays Listing",
                           "mnuRptTA=Time && Attendance Reports", "mnuReportsExceptions=E&xceptions Report"}));
    EXPECT_EQ(itemsOf(menu("mnuUtilities")),
              (QStringList{"mnuUtilitiesArchive=&Archive", "mnuUtilitiesUnarchive=Unar&chive",
                           "mnuUtilitiesPrintID=&Print ID", "mnuUtilitiesExport=&Export",
                           "mnuUtilitiesImport=&Import", "mnuUitilitiesDB=&Database"}));
    EXPECT_EQ(itemsOf(menu("mnuUtilitiesExport")),
              (QStringList{"mnuUtilitiesExportPers=Personal data", "mnuUtilitiesExportAtt=Attendence Data"}));
    EXPECT_EQ(itemsOf(menu("mnuUtilitiesImport")),
              (QStringList{"mnuUtilitiesImportPer=Import Personal Data",
                           "mnuUtilitiesImportAtt=Import Attendance Data"}));
    EXPECT_EQ(itemsOf(menu("mnuUitilitiesDB")), QStringList{"mnuUtilitiesDBCompact=&Compact"});
    EXPECT_EQ(itemsOf(menu("mnuHelp")),
              (QStringList{"mnuHelpContents=&Contents", "mnuHelpSearch=&Search...",
                           "mnuHelpZeltoWeb=V&isit Zelto Website", "mnuHelpAbout=&About..."}));
    EXPECT_EQ(w->item("mnuHelpZeltoWeb")->isVisible(), !frmMDI::webAddress().isEmpty());

    QStringList buttons;
    for (const QAction* a : w->toolbar()->actions())
        if (!a->isSeparator())
            buttons << a->text() + "|" + a->data().toString() + "|" + a->toolTip();
    EXPECT_EQ(buttons, (QStringList{"Employee|Employee|Setup employees", "Schedule|Schedule|Setup employee schedules",
                                    "Absence|Absence|Setup employee absences", "Import|Import|Import clock data file",
                                    "Time Sheet|Edit|Edit clock in\\out data", "Weekly|Weekly|Preview weekly report",
                                    "Employee ID|PrintID|Print employee ID",
                                    "Archive|Archive|Archive atttendance data", "Exit|Exit|Exit PLAX"}));
}

TEST_F(MainWindow, ItemsWithoutHandlersAreDisabledAndToolbarKeysReachHandlers) {
    QStringList ran;
    for (const char* name : {"mnuSetupEmployee", "mnuSetupSchedules", "mnuSetupAbsence", "mnuUtilitiesImportAtt",
                             "mnuClkDataEditClkData", "mnuRptTA", "mnuUtilitiesPrintID", "mnuUtilitiesArchive"})
        registerMenuHandler(name, [&ran, name] { ran << name; });
    build();
    EXPECT_TRUE(w->item("mnuSetupEmployee")->isEnabled());
    EXPECT_FALSE(w->item("mnuSetupCompany")->isEnabled());
    EXPECT_FALSE(w->item("mnuReportsDepLst")->isEnabled());
    for (const char* own : {"mnuSetupPassword", "mnuSetupExit", "mnuUtilitiesDBCompact", "mnuHelpContents",
                            "mnuHelpSearch", "mnuHelpAbout"})
        EXPECT_TRUE(w->item(own)->isEnabled()) << own;

    for (const char* key : {"Employee", "Schedule", "Absence", "Import", "Edit", "Weekly", "PrintID", "Archive"})
        clickToolbarButton(w, key);
    EXPECT_EQ(ran, (QStringList{"mnuSetupEmployee", "mnuSetupSchedules", "mnuSetupAbsence", "mnuUtilitiesImportAtt",
                                "mnuClkDataEditClkData", "mnuRptTA", "mnuUtilitiesPrintID", "mnuUtilitiesArchive"}));

    // The compact item does nothing.
    w->item("mnuUtilitiesDBCompact")->trigger();
    EXPECT_TRUE(w->area()->subWindowList().isEmpty());
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(MainWindow, ShowFailuresAreIgnoredOnlyWhereTheyShouldBe) {
    registerMenuHandler("mnuClkDataEditClkData", [] { throw db::DbError(3078, "no table"); });
    registerMenuHandler("mnuSetupEmployee", [] { throw db::DbError(3078, "no table"); });
    build();
    w->item("mnuClkDataEditClkData")->trigger();
    EXPECT_TRUE(boxes.messages.empty());
    w->item("mnuSetupEmployee")->trigger();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 3078");
}

TEST_F(MainWindow, OpeningAFileOfAnEarlierVersionMendsItsEarlyPunchWeeks) {
    CompanyDb->executeScript("PRAGMA user_version = 1");
    CompanyDb->execute("INSERT INTO Registry (RegKey, RegField, RegValue) "
                       "VALUES ('Company Settings', 'DayStartTime', '06:00')");
    CompanyDb->execute("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn) VALUES ('A', '2026-12-28', 0, '03:00')");
    build();
    EXPECT_EQ(CompanyDb->openRecordset("SELECT Week FROM [Time Attendance]").field(0).toInt(), 52);
    EXPECT_EQ(CompanyDb->openRecordset("PRAGMA user_version").field(0).toInt(), 2);
}

TEST_F(MainWindow, OneInstancePerScreen) {
    build();
    w->item("mnuSetupPassword")->trigger();
    w->item("mnuSetupPassword")->trigger();
    w->item("mnuHelpAbout")->trigger();
    w->item("mnuHelpAbout")->trigger();
    ASSERT_EQ(w->area()->subWindowList().size(), 2);
    EXPECT_TRUE(qobject_cast<frmDBPswd*>(w->area()->subWindowList()[0]->widget()));
    auto* about = qobject_cast<frmAbout*>(w->area()->subWindowList()[1]->widget());
    ASSERT_TRUE(about);
    EXPECT_EQ(about->windowTitle(), "About " + QApplication::applicationName());
    EXPECT_EQ(about->lblVersion->text(), "Version 3.0.0");
    EXPECT_FALSE(about->lblDisclaimer->text().isEmpty());
    about->cmdOK->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->area()->subWindowList().size(), 1);
    w->item("mnuHelpAbout")->trigger(); // a new one after closing
    EXPECT_EQ(w->area()->subWindowList().size(), 2);
}

TEST_F(MainWindow, HelpContentsRemovesAStaleIndexFirst) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(PLAX_SOURCE_DIR) + "/help/PLAX.hlp", HelpFile));
    const QString gid = AppPath + "PLAX.gid";
    {
        QFile f(gid);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("stale");
    }
    QFile::setPermissions(gid, QFile::ReadOwner);
    build();
    w->item("mnuHelpContents")->trigger();
    EXPECT_FALSE(QFileInfo::exists(gid));
    QPointer<QWidget> viewer = help::openViewer(HelpFile);
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    w->item("mnuHelpSearch")->trigger();
    EXPECT_EQ(help::openViewer(HelpFile), viewer.data());

    // Exit closes the screens, the database and the help viewer, and ends.
    w->item("mnuSetupPassword")->trigger();
    clickToolbarButton(w, "Exit");
    test::waitUntil([&] { return w.isNull(); });
    EXPECT_FALSE(viewer);
    EXPECT_FALSE(CompanyDb);
    EXPECT_EQ(ends, 1);
}
