#include "ProgramFixture.h"

#include "core/archivefiles/ArchiveMoves.h"
#include "core/common/Settings.h"
#include "core/common/frmLogon.h"
#include "core/mdi/Startup.h"
#include "core/mdi/frmDBPswd.h"
#include "core/mdi/frmMDI.h"
#include "platform/help/HelpViewer.h"
#include "testing/ScreenEvents.h"
#include "testing/TempCompany.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace plax;

namespace {

QString readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class Startup : public test::ProgramFixture {};

TEST_F(Startup, DemoDatabaseOpensTheMainWindowAndWritesTheDefaultPath) {
    test::TempCompany c;
    c.fillDemo(CalDate::ymd(2026, 3, 4));
    SaveRegValue(c.db(), "Company Settings", "WorkDay", "4");
    // A week archived when the program ended after the commit, before its
    // new archive took the old one's place.
    const QString week = c.dir() + "Archive/03022026.mdb";
    QDir().mkpath(c.dir() + "Archive");
    for (const QString& file : {week, archive::newArchiveOf(week)}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.toUtf8());
    }
    {
        db::Database::Transaction tx(c.db());
        archive::PendingMove move(c.db(), week, archive::Move::Archive);
        tx.commit();
    }
    c.handle().reset();
    ASSERT_FALSE(QFile::exists(registry.file()));

    Main(c.dir());
    EXPECT_EQ(readFile(week), archive::newArchiveOf(week));
    EXPECT_EQ(QDir(c.dir() + "Archive").entryList(QDir::Files), QStringList{"03022026.mdb"});
    EXPECT_TRUE(readFile(registry.file()).contains("Database=" + c.dir() + "Company07.mdb"));
    EXPECT_EQ(AppPath, c.dir());
    EXPECT_EQ(DataPath, c.dir() + "Data/");
    EXPECT_EQ(HelpFile, c.dir() + "PLAX.hlp");
    ASSERT_TRUE(mainWindow());
    EXPECT_TRUE(mainWindow()->isVisible());
    EXPECT_EQ(mainWindow()->windowTitle(), "Zelto-PLAX");
    EXPECT_EQ(Company.WorkDay, 4); // the load handler read the settings
    ASSERT_TRUE(CompanyDb && CompanyDb->isOpen());
    EXPECT_FALSE(CompanyDb->isExclusive());
    EXPECT_EQ(CompanyDbPassword, "");
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_FALSE(programEnded());

    // The splash closes on its timer once the main window is up.
    QPointer<QWidget> s = splash();
    ASSERT_TRUE(s);
    test::waitUntil([&s] { return !s; });
}

TEST_F(Startup, ProtectedDatabaseGoesThroughTheLogonScreen) {
    test::TempCompany c("open sesame");
    c.handle().reset();
    Main(c.dir());
    EXPECT_TRUE(boxes.messages.empty()); // no error box for the protected file
    EXPECT_FALSE(mainWindow());
    QPointer<frmLogon> logon = visibleWindow<frmLogon>();
    ASSERT_TRUE(logon);
    EXPECT_EQ(logon->windowTitle(), QApplication::applicationName() + " Logon");

    QTest::keyClicks(logon->txtPassword, "open says me");
    logon->cmdOK->click();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 3031");
    EXPECT_TRUE(logon && logon->isVisible());
    EXPECT_FALSE(mainWindow());

    logon->txtPassword->setText("open sesame");
    QTest::keyClick(logon->txtPassword, Qt::Key_Return);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(logon);
    ASSERT_TRUE(mainWindow());
    EXPECT_TRUE(mainWindow()->isVisible());
    EXPECT_EQ(CompanyDbPassword, "open sesame");
    EXPECT_EQ(boxes.messages.size(), 1u);
    EXPECT_FALSE(programEnded());
}

TEST_F(Startup, MissingDatabaseAsksForANewPlace) {
    test::TempCompany c;
    c.handle().reset();
    const QString gone = c.dir() + "moved/Company07.mdb";
    SaveWindowsSetting(kAppKey, "Company Settings", "Database", gone);
    const QString before = readFile(registry.file());

    // An empty answer ends the program and changes nothing.
    boxes.inputs = {QString()};
    Main(c.dir());
    ASSERT_EQ(boxes.inputRequests.size(), 1u);
    EXPECT_EQ(boxes.inputRequests[0].prompt,
              "Database file is missing.  Please enter new path and file name:");
    EXPECT_EQ(boxes.inputRequests[0].title, "Get Database Location:");
    EXPECT_EQ(boxes.inputRequests[0].defaultText, c.dir() + "Company06.mdb");
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(readFile(registry.file()), before);
    EXPECT_FALSE(mainWindow());

    // Cancel likewise.
    boxes.inputs = {std::nullopt};
    Main(c.dir());
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(readFile(registry.file()), before);

    // A new path is stored; the program asks for a restart and ends without
    // trying it.
    boxes.inputs = {c.path()};
    Main(c.dir());
    EXPECT_EQ(ends, 3);
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "x"), c.path());
    EXPECT_EQ(boxes.texts(), QStringList{"Database file has changed. You need to restart the application in "
                                         "order for the changes to take effect."});
    EXPECT_FALSE(mainWindow());
    EXPECT_FALSE(CompanyDb);
}

TEST_F(Startup, ANewPlaceThatCannotBeStoredGivesNoRestartNotice) {
    test::TempCompany c;
    c.handle().reset();
    SaveWindowsSetting(kAppKey, "Company Settings", "Database", c.dir() + "gone.mdb");
    // The registry can be read but no longer written.
    QFile::remove(registry.file());
    QDir().mkpath(registry.file() + "/x");
    boxes.inputs = {c.path()};
    Main(c.dir() + "elsewhere/");
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(boxes.inputRequests.size(), 1u);
    ASSERT_FALSE(boxes.messages.empty());
    EXPECT_TRUE(boxes.messages[0].title.startsWith("Zelto Error#: 90"));
    for (const QString& t : boxes.texts())
        EXPECT_FALSE(t.startsWith("Database file has changed"));
}

TEST_F(Startup, AnyOtherFailureShowsTheErrorBoxAndEnds) {
    test::TempCompany c;
    c.handle().reset();
    QFile f(c.path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(100, 'x')); // not a database
    f.close();
    Main(c.dir());
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_TRUE(boxes.messages[0].title.startsWith("Zelto Error#: "));
    EXPECT_EQ(boxes.messages[0].icon, ui::Icon::Critical);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(mainWindow());
}

TEST_F(Startup, F1OpensTheTopicOfTheScreenItIsPressedIn) {
    test::TempCompany c("open sesame");
    c.handle().reset();
    ASSERT_TRUE(QFile::copy(QStringLiteral(PLAX_SOURCE_DIR) + "/help/PLAX.hlp", c.dir() + "PLAX.hlp"));
    const auto topic = [] {
        auto* v = static_cast<help::HelpViewer*>(help::openViewer(HelpFile));
        return v && v->isVisible() ? v->currentTopic() : QString();
    };
    // Named at start-up: F1 works from the first screen on.
    Main(c.dir());
    QPointer<frmLogon> logon = visibleWindow<frmLogon>();
    ASSERT_TRUE(logon);
    QTest::keyClick(logon->txtPassword, Qt::Key_F1);
    EXPECT_EQ(topic(), "logon");
    QTest::keyClicks(logon->txtPassword, "open sesame");
    QTest::keyClick(logon->txtPassword, Qt::Key_Return);
    ASSERT_TRUE(mainWindow());

    QTest::keyClick(mainWindow(), Qt::Key_F1);
    EXPECT_EQ(topic(), "mainwindow");
    mainWindow()->item("mnuSetupPassword")->trigger();
    auto* password = mainWindow()->findChild<frmDBPswd*>();
    ASSERT_TRUE(password);
    QTest::keyClick(password->findChild<QLineEdit*>(), Qt::Key_F1);
    EXPECT_EQ(topic(), "password");
    // A message box over the main window belongs to the screen beneath it.
    auto* box = new QMessageBox(QMessageBox::Information, "PLAX", "Saved.", QMessageBox::Ok, mainWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    QTest::keyClick(mainWindow(), Qt::Key_F1);
    QTest::keyClick(box, Qt::Key_F1);
    EXPECT_EQ(topic(), "password");
    box->close();
    // A screen without a topic of its own opens the contents, not the main
    // window's topic; so does the viewer itself.
    auto* bare = new QWidget;
    showScreen(bare);
    QTest::keyClick(bare, Qt::Key_F1);
    EXPECT_EQ(topic(), "contents");
    QTest::keyClick(mainWindow(), Qt::Key_F1);
    QTest::keyClick(help::openViewer(HelpFile), Qt::Key_F1);
    EXPECT_EQ(topic(), "contents");

    // Every screen's number names a topic of the guide.
    const auto guide = help::readHelpFile(HelpFile);
    ASSERT_TRUE(guide);
    for (const help::ScreenTopic& s : screenHelpTopics())
        EXPECT_TRUE(guide->byContext(s.context)) << s.screen;
}
