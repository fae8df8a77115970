#include "core/settings/SettingsScreens.h"
#include "Fixture.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "core/common/Settings.h"
#include "core/common/TypedBoxes.h"
#include "core/settings/frmCommParm.h"
#include "core/settings/frmSetupCompany.h"
#include "platform/registry/Registry.h"
#include "platform/registry/tests/TempRegistry.h"
#include "platform/ui/Dialogs.h"

#include "testing/LocaleForms.h"
#include "testing/ScreenEvents.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::settings;
using namespace plax::settings::fixture;

namespace {

class SettingsScreens : public ::testing::Test {
  protected:
    void SetUp() override {
        Company = CompanySettings();
        Company.CompanyName = "Acme";
        Company.setDayStart(TimeOfDay::fromMinutes(6 * 60 + 45));
        CompanyDbPath = co.path();
        AppPath = co.dir();
        CompanyDb = std::move(co.handle());
    }
    void TearDown() override {
        CompanyDb.reset();
        setMdiArea(nullptr);
    }
    db::Database& db() { return *CompanyDb; }

    template <typename T> T* child(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QString::fromUtf8(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    void click(QWidget* w, const char* name) { child<QPushButton>(w, name)->click(); }

    plax::test::TempRegistry registry;
    plax::test::TempCompany co;
    ui::ScriptedResponder answers;
};

TEST_F(SettingsScreens, CompanyScreenShowsTheSettingsAndSavesOnlyChanges) {
    frmSetupCompany f;
    EXPECT_EQ(f.windowTitle(), "Setup: Company");
    EXPECT_EQ(child<QLineEdit>(&f, "txtCompanyName")->text(), "Acme");
    EXPECT_EQ(child<QLineEdit>(&f, "txtCompanyName")->maxLength(), 60);
    EXPECT_EQ(child<QPlainTextEdit>(&f, "txtZeltoDataFile")->toPlainText(), co.path());
    EXPECT_TRUE(child<QCheckBox>(&f, "chkIncludeWages")->isChecked());
    EXPECT_EQ(child<QLineEdit>(&f, "txtRoundTotal")->text(), "5");
    EXPECT_EQ(child<QLineEdit>(&f, "txtGraceP")->text(), "0");
    auto* week = child<QComboBox>(&f, "cboWorkWeek");
    ASSERT_EQ(week->count(), 7);
    EXPECT_EQ(week->itemText(0), "Sunday");
    EXPECT_EQ(week->currentText(), "Monday");
    EXPECT_EQ(child<QLineEdit>(&f, "DTPWeekStartTime")->text(), "06:45 AM");

    click(&f, "cmdSave");
    EXPECT_TRUE(answers.messages.empty());
    EXPECT_EQ(count(db(), "SELECT count(*) FROM Registry"), 0);

    // A cancelled week start day change shows the stored day again.
    answers.answers = {ui::Answer::Cancel};
    week->setCurrentIndex(4);
    click(&f, "cmdSave");
    EXPECT_EQ(week->currentText(), "Monday");

    // The company name reaches the main window's caption.
    QMainWindow main;
    auto* area = new QMdiArea(&main);
    main.setCentralWidget(area);
    setMdiArea(area);
    child<QLineEdit>(&f, "txtCompanyName")->setText("Zenith");
    child<TimeBox>(&f, "DTPWeekStartTime")->setTime(TimeOfDay::fromMinutes(7 * 60));
    click(&f, "cmdSave"); // OK to the day start question
    EXPECT_EQ(main.windowTitle(), "Zenith --- Zelto Time & Attendance Management System ");
    EXPECT_EQ(regValue(db(), "Company Settings", "DayStartTime"), "07:00");
    EXPECT_EQ(Company.DayStartHours, 7);
}

TEST_F(SettingsScreens, CloseAsksOnlyWhenSomethingChangedAndNoWritesNothing) {
    QPointer<frmSetupCompany> f = new frmSetupCompany;
    showScreen(f);
    child<QLineEdit>(f, "txtRoundTotal")->setText("60");
    answers.answers = {ui::Answer::Yes};
    click(f, "cmdSave");
    EXPECT_EQ(answers.texts(), QStringList{"Invalid rounding value."});

    answers.messages.clear();
    answers.answers = {ui::Answer::No};
    click(f, "cmdClose"); // the refused value still counts as changed
    EXPECT_EQ(answers.texts(), QStringList{"Would you like to save the changes?"});
    EXPECT_EQ(answers.last()->buttons, ui::Buttons::YesNo);
    EXPECT_EQ(answers.last()->icon, ui::Icon::Question);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.isNull());
    EXPECT_EQ(count(db(), "SELECT count(*) FROM Registry"), 0);

    // The window's close box asks alike; Yes saves.
    f = new frmSetupCompany;
    showScreen(f);
    test::showActive(f);
    auto* name = child<QLineEdit>(f, "txtCompanyName");
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, "Zenith");
    answers.answers = {ui::Answer::Yes};
    f->close();
    EXPECT_EQ(answers.texts(), QStringList(2, "Would you like to save the changes?"));
    EXPECT_EQ(regValue(db(), "Company Settings", "CompanyName"), "Zenith");
    EXPECT_FALSE(f && f->isVisible());
}

// Round To and Grace Period typed with the locale's decimal separator (in
// every locale, core/settings/CMakeLists.txt): "7,5" under de_DE is 7.5,
// so the unit in force is 8 and the totals are rounded to it. The rows keep
// a point, so the next start, the clock terminal included, reads the same
// whatever its locale.
TEST_F(SettingsScreens, RoundToAndGraceAreReadWithTheLocalesDecimalSeparator) {
    const CalDate mon = CalDate::ymd(2024, 1, 8);
    addShift(db(), "A", mon, "08:00", mon, "16:07", 2, 8, 5);
    QPointer<frmSetupCompany> f = new frmSetupCompany;
    showScreen(f);
    test::showActive(f);
    for (const auto& [box, typed] : {std::pair{"txtRoundTotal", "7.5"}, std::pair{"txtGraceP", "3.5"}}) {
        auto* edit = child<QLineEdit>(f, box);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, test::typedAmount(typed));
    }
    answers.answers = {ui::Answer::Yes, ui::Answer::OK};
    f->close(); // the close box: save, and recompute the totals
    plax::test::waitUntil([&] { return f.isNull(); });
    EXPECT_EQ(answers.texts(), (QStringList{"Would you like to save the changes?",
                                            "You have changed the rounding value.\rTotal time will be updated."}));
    EXPECT_EQ(regValue(db(), "Company Settings", "RoundTotal"), "7.5");
    EXPECT_EQ(regValue(db(), "Company Settings", "GraceP"), "3.5");
    EXPECT_EQ(count(db(), "SELECT TotalHrs * 60 + TotalMin FROM [Time Attendance]"), 488);
    CompanySettings next;
    LoadCompanySettings(db(), next);
    EXPECT_EQ(std::pair(Company.RoundTotal, Company.GraceP), std::pair(8, 4));
    EXPECT_EQ(std::pair(next.RoundTotal, next.GraceP), std::pair(8, 4));
}

TEST_F(SettingsScreens, BrowseFillsTheLocationAndATypedOneIsStoredCleanForTheNextStart) {
    frmSetupCompany f;
    answers.files = {co.path()};
    click(&f, "cmdZeltoSourceBrowse");
    ASSERT_EQ(answers.fileRequests.size(), 1u);
    EXPECT_EQ(answers.fileRequests[0].title, "Find Data Source");
    EXPECT_EQ(answers.fileRequests[0].initialDir, co.dir());
    EXPECT_EQ(child<QPlainTextEdit>(&f, "txtZeltoDataFile")->toPlainText(), co.path());
    EXPECT_TRUE(f.state().dataFile == f.state().dataFileTag); // same file chosen: unchanged

    answers.files = {QString()}; // Cancel keeps the text
    child<QPlainTextEdit>(&f, "txtZeltoDataFile")->setPlainText("/x/y.mdb");
    click(&f, "cmdZeltoSourceBrowse");
    EXPECT_EQ(child<QPlainTextEdit>(&f, "txtZeltoDataFile")->toPlainText(), "/x/y.mdb");
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "default"), "default");

    // Tab and Shift+Tab move on from the box, as in every other one; a
    // location pasted with tabs, line breaks and blanks is stored clean,
    // for the next start; the open database stays.
    plax::test::showActive(&f);
    auto* location = child<QPlainTextEdit>(&f, "txtZeltoDataFile");
    QTest::mouseClick(location->viewport(), Qt::LeftButton);
    QTest::keyClick(location, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("\t /x/y.mdb \r\n"));
    QTest::keyClick(location, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(location, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>(&f, "cmdZeltoSourceBrowse"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), location);
    QTest::keyClick(location, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(&f, "txtCompanyName"));
    EXPECT_EQ(location->toPlainText().count(QLatin1Char('\t')), 1); // the pasted one; Tab typed none
    QTest::mouseClick(child<QPushButton>(&f, "cmdSave"), Qt::LeftButton);
    EXPECT_EQ(answers.texts().last(),
              "Database location has changed. You need to restart the application in order "
              "for the changes to take effect.");
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "default"), "/x/y.mdb");
    EXPECT_EQ(CompanyDbPath, co.path());
    EXPECT_TRUE(CompanyDb->isOpen());
    EXPECT_EQ(cleanDatabaseLocation(QStringLiteral(" \t/a b/c.mdb\n\u0007 ")), "/a b/c.mdb");
}

TEST_F(SettingsScreens, PictureButtonsSayWhatTheyDo) {
    frmSetupCompany company;
    frmCommParm clock;
    for (QWidget* screen : {static_cast<QWidget*>(&company), static_cast<QWidget*>(&clock)}) {
        for (QAbstractButton* b : screen->findChildren<QAbstractButton*>()) {
            if (!b->text().isEmpty() && b->text() != "...")
                continue;
            SCOPED_TRACE(b->objectName().toStdString());
            EXPECT_FALSE(b->toolTip().isEmpty());
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
            ASSERT_TRUE(a);
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty());
        }
        EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QPushButton>(screen, "cmdSave"))->text(QAccessible::Name),
                  "Save");
        EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QPushButton>(screen, "cmdClose"))->text(QAccessible::Name),
                  "Close");
    }
    // Pointing at Save shows what it does.
    plax::test::showActive(&company);
    QPushButton* save = child<QPushButton>(&company, "cmdSave");
    QTest::mouseMove(save, save->rect().center());
    test::waitUntil([] { return QToolTip::isVisible(); });
    EXPECT_EQ(QToolTip::text(), "Save the company settings");
}

TEST_F(SettingsScreens, LargeRecomputeShowsItsProgress) {
    QWidget owner;
    const RecomputeProgress progress = recomputeProgress(&owner, "Setup: Company");
    auto bars = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<QProgressDialog*>(w) && w->isVisible();
        return n;
    };
    progress(0, kProgressFrom - 1); // a small table: no bar
    EXPECT_EQ(bars(), 0);
    progress(0, kProgressFrom);
    EXPECT_GE(bars(), 1);
    progress(kProgressFrom, kProgressFrom);
    EXPECT_EQ(bars(), 0);
}

// A rounding change over a large table: the bar and the hourglass are up
// while the rows are rewritten, and timers keep running.
TEST_F(SettingsScreens, RecomputeOfALargeTableShowsProgressWhileItRuns) {
    {
        db::Database::Transaction tx(db());
        db::Query q =
            db().prepare("INSERT INTO [Time Attendance] (EmpID, TDate, Week, ClockIn, DateOut, ClockOut, "
                         "TotalHrs, TotalMin, Recalculate) VALUES (?, ?, 1, '08:00', ?, '16:07', 8, 5, 0)");
        const CalDate first = CalDate::ymd(2024, 1, 1);
        for (int i = 0; i < kProgressFrom + 1000; ++i)
            q.execute({QString::number(i % 50), first.addDays(i / 50), first.addDays(i / 50)});
        tx.commit();
    }
    frmSetupCompany f;
    child<QLineEdit>(&f, "txtRoundTotal")->setText("15");
    int ticks = 0, seenBar = 0, seenWait = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        for (QWidget* w : QApplication::topLevelWidgets())
            seenBar += qobject_cast<QProgressDialog*>(w) && w->isVisible();
        seenWait += ui::waitCursorShown();
    });
    timer.start(0);
    click(&f, "cmdSave"); // OK to the question
    timer.stop();
    EXPECT_GT(ticks, 0);
    EXPECT_GT(seenBar, 0);
    EXPECT_GT(seenWait, 0);
    EXPECT_FALSE(ui::waitCursorShown());
    EXPECT_EQ(count(db(), "SELECT count(*) FROM [Time Attendance] WHERE TotalMin <> 0 OR Recalculate = 0"),
              0);
}

TEST_F(SettingsScreens, ClockScreenDefaultsEntryTypeAndSave) {
    // Port 3 stands for a USB adapter in the registry mapping.
    ASSERT_TRUE(SaveWindowsSetting(kAppKey, "Serial Ports", "Com3", "/dev/ttyUSB7"));
    frmCommParm f;
    EXPECT_EQ(f.windowTitle(), "Clock Configuration");
    auto* port = child<QComboBox>(&f, "cboPort");
    EXPECT_EQ(port->count(), 16);
    EXPECT_EQ(port->currentText(), "Com2");
    EXPECT_EQ(port->itemData(2, Qt::ToolTipRole).toString(), "/dev/ttyUSB7");
    EXPECT_EQ(port->itemData(0, Qt::ToolTipRole).toString(), "/dev/ttyS0");
    EXPECT_EQ(child<QComboBox>(&f, "cboSpeed")->currentText(), "9600");
    EXPECT_EQ(child<QComboBox>(&f, "cboParity")->currentText(), "None");
    EXPECT_EQ(child<QComboBox>(&f, "cboDataBits")->currentText(), "8");
    EXPECT_EQ(child<QComboBox>(&f, "cboStopBits")->currentText(), "1");
    EXPECT_EQ(child<QComboBox>(&f, "cboMachineSpeed")->currentText(), "5");
    auto* delay = child<QLineEdit>(&f, "mskPollingDelay");
    EXPECT_EQ(delay->text(), "0100");
    EXPECT_TRUE(child<QRadioButton>(&f, "optClkType0")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(&f, "chkInOutLst")->isChecked());
    EXPECT_FALSE(port->isEnabled());
    EXPECT_FALSE(delay->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(&f, "chkInOutLst")->isEnabled());

    click(&f, "cmdSave");
    EXPECT_EQ(count(db(), "SELECT count(*) FROM Registry"), 0);

    child<QRadioButton>(&f, "optClkType2")->click();
    EXPECT_TRUE(port->isEnabled());
    port->setCurrentIndex(2);
    delay->selectAll();
    QTest::keyClicks(delay, "0050");
    click(&f, "cmdSave");
    EXPECT_EQ(regValue(db(), "Company Settings", "TheClock"), "2");
    EXPECT_EQ(regValue(db(), "Communication", "CommPort"), "3");
    EXPECT_EQ(regValue(db(), "Communication", "PollDelay"), "50");
    EXPECT_EQ(Company.TheClock, 2);

    child<QRadioButton>(&f, "optClkType0")->click();
    EXPECT_FALSE(port->isEnabled());
    EXPECT_EQ(port->currentText(), "Com3") << "disabled controls keep their values";
    child<QComboBox>(&f, "cboSpeed")->setCurrentIndex(0);
    click(&f, "cmdClose"); // closes without saving or asking
    EXPECT_TRUE(answers.messages.empty());
    EXPECT_EQ(regValue(db(), "Company Settings", "TheClock"), "2");
    EXPECT_EQ(regValue(db(), "Communication", "Settings"), "<none>");
}

TEST_F(SettingsScreens, ChangesAreSavedBesideAStoredValueTheListsDoNotOffer) {
    db().execute("INSERT INTO Registry (RegKey, RegField, RegValue) VALUES ('Communication', 'Settings', "
                 "'9600,n,8,3')");
    frmCommParm f;
    showScreen(&f);
    test::showActive(&f);
    auto* stop = child<QComboBox>(&f, "cboStopBits");
    EXPECT_EQ(stop->currentIndex(), -1); // stop bits 3 is not offered
    auto* msr = child<QRadioButton>(&f, "optClkType1");
    QTest::mouseClick(msr, Qt::LeftButton, {}, QPoint(4, msr->height() / 2));
    // The baud rate one step up by keyboard, then Save.
    auto* speed = child<QComboBox>(&f, "cboSpeed");
    for (int i = 0; i < 20 && QApplication::focusWidget() != speed; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(speed, Qt::Key_Down);
    QTest::mouseClick(child<QPushButton>(&f, "cmdSave"), Qt::LeftButton);
    EXPECT_EQ(regValue(db(), "Communication", "Settings"), "14400,n,8,3");
    EXPECT_EQ(regValue(db(), "Company Settings", "TheClock"), "1");
    EXPECT_EQ(stop->currentIndex(), -1);
    // Choosing stop bits writes them too.
    for (int i = 0; i < 20 && QApplication::focusWidget() != stop; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(stop, Qt::Key_End);
    QTest::mouseClick(child<QPushButton>(&f, "cmdSave"), Qt::LeftButton);
    EXPECT_EQ(regValue(db(), "Communication", "Settings"), "14400,n,8,2");
    EXPECT_TRUE(answers.messages.empty());
}

TEST_F(SettingsScreens, MenuItemsOpenOneScreenEach) {
    clearMenuHandlers();
    registerSettingsScreens();
    ASSERT_TRUE(runMenuHandler("mnuSetupCompany"));
    ASSERT_TRUE(runMenuHandler("mnuSetupPLAXClk"));
    runMenuHandler("mnuSetupCompany");
    int company = 0, clock = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        company += w->objectName() == "frmSetupCompany" && w->isVisible();
        clock += w->objectName() == "frmCommParm" && w->isVisible();
    }
    EXPECT_EQ(company, 1);
    EXPECT_EQ(clock, 1);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmSetupCompany" || w->objectName() == "frmCommParm")
            w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    clearMenuHandlers();
}

} // namespace
