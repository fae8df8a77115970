// The clock window itself: caption, panels, the InOutList setting, the
// activation rereading the settings, the message hold and the unload.
#include "ClockFixture.h"

#include "clock/PunchRoad.h"
#include "platform/help/HelpViewer.h"
#include "platform/serial/SerialPort.h"
#include "testing/ScreenEvents.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>

using namespace plax;
using namespace plax::test;

class ClockWindow : public ClockTest {};

TEST_F(ClockWindow, CaptionAndPanelsForKeyboardEntry) {
    setting("Company Settings", "CompanyName", "Acme Tools");
    auto& w = openWindow();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Acme Tools --- Zelto-PLAX Clock");
    EXPECT_EQ(w.panelText("Date"), "Mon, Jan 08, 2024 ");
    // Keyboard only: no port is touched and the clock display stays still.
    EXPECT_EQ(w.panelText("Status"), "");
    EXPECT_EQ(w.panelText("Time"), "");
    EXPECT_FALSE(w.Timer1()->isActive());
    EXPECT_FALSE(w.MSComm1().PortOpen());
    EXPECT_FALSE(w.polling());
    EXPECT_FALSE(w.lstLog()->isHidden());
    EXPECT_TRUE(boxes.messages.empty());

    setNow(2024, 1, 8, 14, 5, 9);
    w.Timer1_Timer();
    EXPECT_EQ(w.panelText("Time"), "14:05:09");
}

TEST_F(ClockWindow, TheDatePanelFollowsTheDayOnALongRun) {
    auto& w = openWindow();
    setNow(2024, 1, 9, 0, 1);
    punch("nobody");
    EXPECT_EQ(w.panelText("Date"), "Tue, Jan 09, 2024 ");
    setNow(2024, 2, 29, 7, 0);
    w.Timer1_Timer();
    EXPECT_EQ(w.panelText("Date"), "Thu, Feb 29, 2024 ");
}

TEST_F(ClockWindow, WithoutTheListTheWindowIsCutAndPunchesAreStillLogged) {
    setting("Company Settings", "InOutList", "0");
    employee("A1", "Ann", QStringLiteral("000"));
    auto& w = openWindow();
    EXPECT_TRUE(w.lstLog()->isHidden());
    EXPECT_EQ(w.height(), clk::frmClock::twipsToPixels(3225));
    punch("A1");
    EXPECT_EQ(w.lstLog()->count(), 1);
}

TEST_F(ClockWindow, EveryActivationRereadsTheSettings) {
    employee("A1", "Ann", QStringLiteral("001"));
    scheduleDay("001", 2, "09:30", "17:00");
    auto& w = openWindow();
    punch("A1"); // 09:00, no grace
    EXPECT_EQ(w.lastMessage(), "********** NOT SCHEDULED! **********\r\n");
    setting("Company Settings", "GraceP", "30");
    setting("Company Settings", "CompanyName", "Renamed");
    activateAgain();
    ASSERT_EQ(w.activations(), 2);
    EXPECT_EQ(w.settings().company.GraceP, 30);
    EXPECT_EQ(w.windowTitle(), "Renamed --- Zelto-PLAX Clock");
    punch("A1");
    EXPECT_EQ(w.lastMessage(), "Thanks Ann.  Clocked In Sucessfully.\r\n");
}

TEST_F(ClockWindow, TheMessageIsHeldForItsTimeAlsoOverMidnight) {
    auto& w = openWindow();
    clk::frmClock::setMessageHoldMs(300);
    setNow(2024, 1, 8, 23, 59, 59);
    // A timer cannot fire during the hold: the panel blocks event handling.
    // (The timer goes with the test: it would fire in the next one.)
    bool timerFired = false;
    const QObject scope;
    QTimer::singleShot(0, &scope, [&] { timerFired = true; });
    // A hold that ran to a time of day would outlast midnight: the test
    // would not end (the test's own timeout, not the clock, is the bound).
    QTest::keyClicks(w.txtID(), "nobody");
    QElapsedTimer t;
    t.start();
    QTest::keyClick(w.txtID(), Qt::Key_Return);
    const qint64 held = t.elapsed();
    EXPECT_FALSE(timerFired);
    EXPECT_GE(held, 300);
    EXPECT_EQ(w.lastMessage(), "*****  Invalid ID!  *****");
    EXPECT_EQ(w.lblMsg()->text(), "");
    EXPECT_EQ(w.txtID()->text(), "");
}

TEST_F(ClockWindow, OnlyEnterRunsThePunchRoad) {
    employee("A1", "Ann", QStringLiteral("000"));
    auto& w = openWindow();
    QTest::keyClicks(w.txtID(), "A1");
    QTest::keyClick(w.txtID(), Qt::Key_Tab);
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(w.txtID()->text(), "A1");
    // The box is the only place to type: Tab leaves the focus in it.
    ASSERT_TRUE(w.txtID()->hasFocus());
    QTest::keyClick(w.txtID(), Qt::Key_Enter); // the keypad's Enter too
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(ClockWindow, UnloadClosesTheDatabaseAndEndsTheProgram) {
    auto& w = openWindow();
    w.close();
    EXPECT_TRUE(programEnded());
    EXPECT_TRUE(w.StopPolling());
    EXPECT_FALSE(CompanyDb && CompanyDb->isOpen());
}

TEST_F(ClockWindow, ASettingsErrorIsNotShownAgainWhenItsBoxCloses) {
    setting("Company Settings", "DayStartTime", "soon");
    auto& w = openWindow();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(w.activations(), 1);
    // Closing the box gives the window back its activation: not a new one.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    EXPECT_EQ(w.activations(), 1);
    EXPECT_EQ(boxes.messages.size(), 1u);
}

TEST_F(ClockWindow, F1OpensTheTopicForEmployeesAtTheTerminal) {
    NameHelpFile(QStringLiteral(PLAX_SOURCE_DIR) + "/help/PLAX.hlp");
    auto& w = openWindow();
    QTest::keyClick(w.txtID(), Qt::Key_F1);
    QPointer<help::HelpViewer> v = static_cast<help::HelpViewer*>(help::openViewer(HelpFile));
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->currentTopic(), "clockterminal");
    EXPECT_EQ(w.txtID()->text(), "");
    // The topic quotes the terminal's messages as they appear.
    const QString topic = v->txtTopic->toPlainText().replace(QChar(0xA0), QLatin1Char(' '));
    clk::CurrentEmployee ann;
    ann.FirstName = "Ann";
    for (const QString& shown : {clk::invalidIdText(), clk::notScheduledText(ann), clk::punchErrorText(),
                                 clk::resultText(0, ann), clk::resultText(1, ann), clk::resultText(2, ann),
                                 clk::keptText({ann, {Clock::today(), TimeOfDay::parse("07:58").value()}})})
        EXPECT_TRUE(topic.contains(shown.section("\r\n", 0, 0))) << shown.toStdString();
    v->close();
}
