// Start-up of the terminal: the database path from the registry, missing,
// damaged and protected files, the logon screen and the splash.
#include "ClockFixture.h"

#include "clock/TerminalStart.h"
#include "core/archivefiles/ArchiveFiles.h"
#include "core/archivefiles/ArchiveMoves.h"
#include "core/common/frmLogon.h"
#include "platform/registry/Registry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using namespace plax;
using namespace plax::test;

namespace {
frmLogon* logonScreen() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* l = qobject_cast<frmLogon*>(w); l && l->isVisible())
            return l;
    return nullptr;
}
QWidget* splashScreen() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmSplash") && w->isVisible())
            return w;
    return nullptr;
}
// Runs the event loop until the clock window is up (the splash shows for a
// second), however long a busy machine takes.
clk::frmClock* waitForClock() {
    test::waitUntil([] { return clk::clockWindow() && clk::clockWindow()->isVisible(); });
    return clk::clockWindow();
}
void pointRegistryAt(const QString& path) {
    SaveWindowsSetting(kAppKey, QStringLiteral("Company Settings"), QStringLiteral("Database"), path);
}
} // namespace

class Startup : public ClockTest {
protected:
    void TearDown() override {
        if (QPointer<clk::frmClock> w = clk::clockWindow()) {
            w->close(); // unloads and deletes itself
            QCoreApplication::processEvents();
        }
        if (auto* l = logonScreen())
            delete l;
        ClockTest::TearDown();
    }
};

TEST_F(Startup, OpensTheDatabaseOfTheRegistryAndShowsTheClockAfterTheSplash) {
    setting("Company Settings", "CompanyName", "Acme");
    // A week the office program restored when it ended after the commit,
    // before it deleted the archive (beside the terminal: one program
    // folder).
    const QString folder = archive::archiveFolder(GetAppPath());
    const bool ownFolder = QDir().mkdir(folder);
    const QString week = folder + "/03022026.mdb";
    QFile(week).open(QIODevice::WriteOnly);
    {
        db::Database::Transaction tx(*CompanyDb);
        archive::PendingMove move(*CompanyDb, week, archive::Move::Restore);
        tx.commit();
    }
    CompanyDb.reset();
    pointRegistryAt(company->path());
    clk::Main();
    EXPECT_FALSE(QFile::exists(week));
    EXPECT_FALSE(QFile::exists(week + ".moving"));
    if (ownFolder)
        QDir(folder).removeRecursively();
    EXPECT_TRUE(boxes.messages.empty());
    ASSERT_TRUE(splashScreen());
    EXPECT_FALSE(clk::clockWindow());
    ASSERT_TRUE(CompanyDb && CompanyDb->isOpen());
    clk::frmClock* w = waitForClock();
    ASSERT_TRUE(w);
    QCoreApplication::processEvents();
    EXPECT_FALSE(splashScreen());
    EXPECT_EQ(w->windowTitle(), "Acme --- Zelto-PLAX Clock");
    EXPECT_FALSE(programEnded());
    EXPECT_EQ(HelpFile, GetAppPath() + "PLAX.hlp"); // F1 opens it (ClockWindow tests)
}

TEST_F(Startup, AMissingDatabaseEndsTheProgramAndKeepsThePath) {
    const QString missing = company->dir() + "gone.mdb";
    pointRegistryAt(missing);
    clk::Main();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, "Database is missing.");
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 3024");
    EXPECT_TRUE(programEnded());
    EXPECT_FALSE(splashScreen());
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "x"), missing);
    EXPECT_TRUE(boxes.inputRequests.empty()); // never asks for another place
}

TEST_F(Startup, TheFirstRunWritesTheDefaultPath) {
    clk::Main();
    const QString expected = GetAppPath() + "Company07.mdb";
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "x"), expected);
    if (!QFile::exists(expected)) {
        ASSERT_EQ(boxes.messages.size(), 1u);
        EXPECT_EQ(boxes.messages[0].text, "Database is missing.");
    }
}

TEST_F(Startup, ADamagedDatabaseNeedsRepair) {
    const QString damaged = company->dir() + "damaged.mdb";
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("SQLite format 3") + QByteArray(4000, '\x07'));
    f.close();
    pointRegistryAt(damaged);
    clk::Main();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, "Database needs repair.");
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 3049");
    EXPECT_TRUE(programEnded());
}

TEST_F(Startup, AProtectedDatabaseAsksForThePasswordUntilItIsRight) {
    TempCompany secret(QStringLiteral("s3cret"));
    secret.db().close();
    pointRegistryAt(secret.path());
    clk::Main();
    EXPECT_TRUE(boxes.messages.empty());
    QPointer<frmLogon> logon = logonScreen();
    ASSERT_TRUE(logon);
    EXPECT_FALSE(splashScreen());
    test::waitUntil([&] { return logon->txtPassword->hasFocus(); });

    QTest::keyClicks(logon->txtPassword, "wrong");
    QTest::mouseClick(logon->cmdOK, Qt::LeftButton);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_TRUE(boxes.messages[0].title.endsWith("3031"));
    EXPECT_EQ(logonScreen(), logon);

    // The box gives the focus back to the password, selected, so the
    // password typed again replaces it; Tab to OK and Enter.
    test::waitUntil([&] { return logon->txtPassword->hasFocus(); });
    EXPECT_EQ(logon->txtPassword->selectedText(), "wrong");
    QTest::keyClicks(logon->txtPassword, "s3cret");
    QTest::keyClick(logon->txtPassword, Qt::Key_Tab);
    ASSERT_TRUE(logon->cmdOK->hasFocus());
    QTest::keyClick(logon->cmdOK, Qt::Key_Return);
    EXPECT_EQ(boxes.messages.size(), 1u);
    test::waitUntil([&] { return !logon; }); // closed and gone
    EXPECT_FALSE(logonScreen());
    EXPECT_TRUE(splashScreen());
    ASSERT_TRUE(waitForClock());
    EXPECT_EQ(CompanyDb->path(), secret.path());
    clk::clockWindow()->close();
    QCoreApplication::processEvents();
}

TEST_F(Startup, CancelOnTheLogonScreenEndsTheProgram) {
    TempCompany secret(QStringLiteral("s3cret"));
    secret.db().close();
    pointRegistryAt(secret.path());
    clk::Main();
    QPointer<frmLogon> logon = logonScreen();
    ASSERT_TRUE(logon);
    test::waitUntil([&] { return logon->txtPassword->hasFocus(); });
    QTest::keyClick(logon->txtPassword, Qt::Key_Escape); // as Cancel
    EXPECT_TRUE(programEnded());
    test::waitUntil([&] { return !logon; });
    EXPECT_TRUE(boxes.messages.empty());
}
