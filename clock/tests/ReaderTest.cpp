// Badge readers on a pseudo-terminal named as "Com2": the frames as the
// readers send them, queues of swipes, a busy database, the port status,
// line errors and a missing port.
#include "ClockFixture.h"

#include "platform/db/FileSystem.h"
#include "platform/serial/PortMap.h"
#include "platform/serial/SerialPort.h"
#include "platform/serial/tests/PtyPair.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>

using namespace plax;
using namespace plax::test;

namespace {
void nameDevice(int port, const QString& device) {
    reg::RegistryFile f;
    bool created = false;
    ASSERT_EQ(f.load(), reg::code::Success);
    ASSERT_EQ(f.createSection(serial::kPortSection, &created), reg::code::Success);
    ASSERT_EQ(f.setValue(serial::kPortSection, QStringLiteral("Com%1").arg(port), device), reg::code::Success);
}

// Lets the event loop (and so the polling loop) run until `done`, however
// long a busy machine takes, or, given `ms`, for that long at most (a pause
// in which nothing is to happen).
bool runUntil(const std::function<bool()>& done, int ms = -1) {
    QElapsedTimer t;
    t.start();
    while (ms < 0 || t.elapsed() < ms) {
        QCoreApplication::processEvents();
        if (done())
            return true;
        QThread::msleep(2);
    }
    return done();
}
} // namespace

class Reader : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        ASSERT_TRUE(pty.ok());
        nameDevice(2, pty.slavePath());
        setting("Communication", "PollDelay", "5");
        setting("Communication", "MachineSpeed", "0");
        employee("A1", "Ann", QStringLiteral("000"));
        employee("B2", "Bob", QStringLiteral("000"));
    }
    void TearDown() override {
        if (window)
            window->close();
        ClockTest::TearDown();
    }
    clk::frmClock& openReader(const char* theClock) {
        setting("Company Settings", "TheClock", QLatin1String(theClock));
        return openWindow();
    }
    // Sends a frame and waits until the punch road has answered it. With
    // `rest`, the frame comes in two reads: `rest` is sent the moment the
    // terminal has taken the first part from the port, from inside its wait
    // for more (the port is read only between events), so the split does
    // not depend on how fast a busy machine runs another thread.
    bool swipe(const QByteArray& frame, const QByteArray& rest = {}) {
        const int before = window->lstLog()->count() + int(boxes.messages.size());
        const QString last = window->lastMessage();
        pty.send(frame);
        QTimer taken;
        if (!rest.isEmpty()) {
            // The first part is in the port before any event can take it.
            waitWithoutEvents([&] { return window->MSComm1().InBufferCount() > 0; });
            QObject::connect(&taken, &QTimer::timeout, [&] {
                if (window->MSComm1().InBufferCount() == 0) {
                    taken.stop();
                    pty.send(rest);
                }
            });
            taken.start(0);
        }
        return runUntil([&] {
            return window->lstLog()->count() + int(boxes.messages.size()) > before ||
                   window->lastMessage() != last;
        });
    }
    // Waits without letting events run until `done`.
    static void waitWithoutEvents(const std::function<bool()>& done) {
        while (!done())
            QThread::msleep(1);
    }
    QStringList loggedIds() {
        QStringList ids;
        for (int i = 0; i < window->lstLog()->count(); ++i)
            ids << window->lstLog()->item(i)->text().section(QLatin1Char(','), 0, 0);
        return ids;
    }

    PtyPair pty;
};

TEST_F(Reader, Msr100FramesWithNoiseAndWithoutMarkers) {
    auto& w = openReader("1");
    EXPECT_TRUE(w.polling());
    EXPECT_EQ(w.panelText("Status"), "Status: Port 2 is Open");
    EXPECT_TRUE(w.Timer1()->isActive());

    ASSERT_TRUE(swipe("%B9^x?;A1?junk"));
    setNow(2024, 1, 8, 9, 1);
    ASSERT_TRUE(swipe("B2"));
    setNow(2024, 1, 8, 12, 0);
    ASSERT_TRUE(swipe(";A1"));
    EXPECT_EQ(loggedIds(), (QStringList{"A1", "B2", "A1"}));
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(rowCount("EmpID = 'A1' AND ClockOut = '12:00'"), 1);
    ASSERT_TRUE(swipe(";nobody?"));
    EXPECT_EQ(w.lastMessage(), "*****  Invalid ID!  *****");
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(Reader, Rs2000FramesCarriageReturnSplitAndNFrame) {
    auto& w = openReader("2");
    ASSERT_TRUE(swipe("xx;A1?\r"));
    EXPECT_EQ(loggedIds(), (QStringList{"A1"}));

    // The "N" frame is skipped: nothing is looked up.
    pty.send(";N?\r");
    runUntil([] { return false; }, 300);
    EXPECT_EQ(w.lstLog()->count(), 1);
    EXPECT_EQ(w.lastMessage(), "Thanks Ann.  Clocked In Sucessfully.\r\n");

    // A frame split over two reads: the "?" comes with the second.
    setNow(2024, 1, 8, 9, 1);
    ASSERT_TRUE(swipe(";B", "2?\r"));
    EXPECT_EQ(loggedIds(), (QStringList{"A1", "B2"}));

    // No "?" in either read: the two reads joined, uncut.
    setNow(2024, 1, 8, 12, 0);
    ASSERT_TRUE(swipe(";A", "1"));
    EXPECT_EQ(loggedIds(), (QStringList{"A1", "B2", "A1"}));
    EXPECT_EQ(rowCount("EmpID = 'A1' AND ClockOut = '12:00'"), 1);
}

// A queue of employees at a shift change: swipes that reach the port
// together, or while a confirmation holds the panel, each become a punch,
// in order; the log keeps its newest line in view.
TEST_F(Reader, QueuedSwipesAreEachPunchedInOrder) {
    QStringList ids;
    {
        db::Database::Transaction tx(db());
        for (int i = 0; i < 30; ++i) {
            ids << QStringLiteral("E%1").arg(i, 2, 10, QLatin1Char('0'));
            employee(ids.back(), "Emp", QStringLiteral("000"));
        }
        employee("C3", "Cy", QStringLiteral("000"));
        employee("D4", "Di", QStringLiteral("000"));
        tx.commit();
    }
    auto& w = openReader("2");
    // Thirty swipes in one write, an "N" frame among them.
    QByteArray burst;
    for (const QString& id : ids)
        burst += ";" + id.toLatin1() + (id == "E10" ? "?\r;N?\r" : "?\r");
    pty.send(burst);
    ASSERT_TRUE(runUntil([&] { return w.lstLog()->count() == 30; }));

    // Swipes 0.4 s apart while each confirmation holds the panel for 1 s.
    clk::frmClock::setMessageHoldMs(1000);
    const QStringList late{"A1", "B2", "C3", "D4"};
    std::thread reader([&] {
        for (const QString& id : late) {
            pty.send(";" + id.toLatin1() + "?\r");
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        }
    });
    const bool allPunched = runUntil([&] { return w.lstLog()->count() == 34; });
    reader.join();
    ASSERT_TRUE(allPunched) << loggedIds().join(' ').toStdString();
    EXPECT_EQ(loggedIds(), ids + late);
    QStringList written;
    for (auto rs = db().openRecordset("SELECT EmpID FROM [Time Attendance] ORDER BY rowid"); !rs.eof(); rs.moveNext())
        written << rs.field(0).toString();
    EXPECT_EQ(written, ids + late);
    EXPECT_TRUE(boxes.messages.empty()) << boxes.texts().join(" / ").toStdString();

    QListWidget* log = w.lstLog();
    EXPECT_TRUE(
        runUntil([&] { return log->viewport()->rect().contains(log->visualItemRect(log->item(33))); }));
    EXPECT_FALSE(log->viewport()->rect().intersects(log->visualItemRect(log->item(0))));
}

// Another program holds the write lock beyond the busy timeout: the swipes
// are taken without a box, written when the lock is free in the order they
// came, each at the minute of its swipe, and a typed punch does not
// overtake them. Closing meanwhile says what would be lost; a punch the
// database then refuses (its employee made inactive under the lock) is
// told in the log.
TEST_F(Reader, SwipesWaitForABusyDatabaseAtTheirMinute) {
    employee("C3", "Cy", QStringLiteral("000"));
    auto& w = openReader("1");
    OtherWriter office(company->path(), QStringLiteral("UPDATE Employee SET Status = 0 WHERE ID = 'C3'"));
    pty.send(";A1?");
    const bool taken = runUntil([&] { return w.keptPunches().size() == 1; });
    EXPECT_EQ(w.lastMessage(), "Thanks Ann.  Punch taken at 09:00.\r\n");
    setNow(2024, 1, 8, 9, 2);
    pty.send(";B2?");
    const bool second = runUntil([&] { return w.keptPunches().size() == 2; });
    setNow(2024, 1, 8, 9, 5);
    pty.send(";A1?");
    const bool third = runUntil([&] { return w.keptPunches().size() == 3; });
    EXPECT_EQ(w.lastMessage(), "Thanks Ann.  Punch taken at 09:05.\r\n");
    pty.send(";C3?");
    const bool fourth = runUntil([&] { return w.keptPunches().size() == 4; });

    boxes.answers.push_back(ui::Answer::No);
    w.close();
    const std::vector<ui::MessageRequest> asked = boxes.messages;
    const bool stillOpen = w.isVisible() && !programEnded();

    setNow(2024, 1, 8, 9, 6);
    office.releaseIn(std::chrono::seconds(1));
    punch("B2"); // typed while the lock is still held: it waits
    const bool written = runUntil([&] { return w.keptPunches().empty() && rowCount() == 2; });
    office.join();
    ASSERT_TRUE(taken && second && third && fourth);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "These punches are waiting for the database and are not recorded yet:\r\n"
                             "A1, Ann, 01/08/24, 09:00\r\nB2, Bob, 01/08/24, 09:02\r\nA1, Ann, 01/08/24, 09:05\r\n"
                             "C3, Cy, 01/08/24, 09:05\r\n"
                             "\r\nIf the clock closes now they are lost. Close the clock anyway?");
    EXPECT_EQ(asked[0].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(stillOpen);
    ASSERT_TRUE(written);
    EXPECT_EQ(boxes.messages.size(), 1u) << boxes.texts().join(" / ").toStdString();
    EXPECT_EQ(rowCount("EmpID = 'A1' AND ClockIn = '09:00' AND ClockOut = '09:05' AND TotalMin = 5"), 1);
    EXPECT_EQ(rowCount("EmpID = 'B2' AND ClockIn = '09:02' AND ClockOut = '09:06'"), 1);
    ASSERT_EQ(w.lstLog()->count(), 5);
    EXPECT_EQ(w.lstLog()->item(2)->text(), "A1, Ann, 01/08/24, 09:05 - Clocked Out");
    EXPECT_EQ(w.lstLog()->item(3)->text(), "C3, Cy, 01/08/24, 09:05 - Not recorded: The employee is not active.");
    EXPECT_EQ(w.lastMessage(), "Thanks Bob.  Clocked Out Sucessfully.\r\n");
}

// A typed ID meets a lock held beyond the busy timeout: while its error box
// is up a badge is swiped. The swipe is kept and written as ever, and the
// typed ID stays in the box, so that Enter tries it again.
TEST_F(Reader, ASwipeDuringATypedIdsErrorBoxKeepsTheTypedId) {
    auto& w = openReader("1");
    clk::BusyTimeout shortWait(db(), 200);
    OtherWriter office(company->path());
    class SwipeMeanwhile : public ui::ScriptedResponder {
    public:
        SwipeMeanwhile(PtyPair& pty, clk::frmClock& w) : pty_(pty), w_(w) {}
        ui::Answer message(const ui::MessageRequest& m) override {
            const ui::Answer a = ScriptedResponder::message(m);
            pty_.send(";B2?");
            runUntil([&] { return w_.keptPunches().size() == 1; });
            boxText = w_.txtID()->text();
            return a;
        }
        QString boxText;

    private:
        PtyPair& pty_;
        clk::frmClock& w_;
    } swiping(pty, w);
    punch("A1");
    EXPECT_EQ(swiping.texts(), QStringList{"An error occurred.  Please try again!"});
    EXPECT_EQ(w.keptPunches().size(), 1u);
    EXPECT_EQ(w.txtID()->text(), "A1");
    EXPECT_EQ(swiping.boxText, "A1");

    office.release();
    office.join();
    QTest::keyClick(w.txtID(), Qt::Key_Return);
    EXPECT_TRUE(runUntil([&] { return w.keptPunches().empty() && rowCount() == 2; }));
    EXPECT_EQ(loggedIds(), (QStringList{"B2", "A1"}));
}

// Two PCs: on a network drive the file has the rollback journal, and a
// large change in the office (an exclusive lock) keeps even the lookup
// out. The swipes are taken without a name; each is looked up, tested
// against its schedule and written, at its minute, when the lock is free.
class ReaderOnANetworkDrive : public Reader {
protected:
    void SetUp() override {
        db::overrideFileSystemType(0x6969); // NFS
        Reader::SetUp();
    }
    void TearDown() override {
        Reader::TearDown();
        db::overrideFileSystemType(std::nullopt);
    }
};

TEST_F(ReaderOnANetworkDrive, SwipesWaitWhenEvenTheLookupIsLockedOut) {
    employee("C3", "Cy", QStringLiteral("001"));
    scheduleDay("001", 2, "13:00", "17:00");
    auto& w = openReader("1");
    OtherWriter office(company->path(), QStringLiteral("UPDATE Employee SET FirstName = 'Anne' WHERE ID = 'A1'"),
                       OtherWriter::Exclusive);
    QStringList shown;
    for (const char* id : {"A1", "X9", "C3"}) {
        pty.send(";" + QByteArray(id) + "?");
        if (!runUntil([&] { return w.keptPunches().size() == shown.size() + 1; }))
            break;
        shown << w.lastMessage();
        setNow(2024, 1, 8, 9, shown.size());
    }
    office.release();
    const bool written = runUntil([&] { return w.keptPunches().empty() && w.lstLog()->count() == 3; });
    office.join();
    EXPECT_EQ(shown, (QStringList{"Punch taken at 09:00.", "Punch taken at 09:01.", "Punch taken at 09:02."}));
    ASSERT_TRUE(written);
    EXPECT_TRUE(boxes.messages.empty()) << boxes.texts().join(" / ").toStdString();
    EXPECT_EQ(w.lstLog()->item(0)->text(), "A1, Anne, 01/08/24, 09:00 - Clocked In");
    EXPECT_EQ(w.lstLog()->item(1)->text(), "X9, 01/08/24, 09:01 - Not recorded: Invalid ID");
    EXPECT_EQ(w.lstLog()->item(2)->text(), "C3, Cy, 01/08/24, 09:02 - Not recorded: Not scheduled");
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(Reader, KeyboardStillWorksWhileTheReaderIsPolled) {
    auto& w = openReader("1");
    punch("A1");
    EXPECT_EQ(w.lastMessage(), "Thanks Ann.  Clocked In Sucessfully.\r\n");
    EXPECT_TRUE(w.polling());
}

TEST_F(Reader, APortThatDoesNotExistLeavesTheKeyboard) {
    nameDevice(2, "/dev/no-reader-here");
    auto& w = openReader("1");
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, "Unable to open communication port.");
    EXPECT_EQ(boxes.messages[0].icon, ui::Icon::Information);
    EXPECT_FALSE(w.polling());
    EXPECT_FALSE(w.Timer1()->isActive());
    punch("A1");
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(Reader, InvalidPortSettingsFallBackToPortTwo) {
    setting("Communication", "CommPort", "40");
    setting("Communication", "Settings", "9600,x,8,1");
    auto& w = openReader("1");
    EXPECT_EQ(w.MSComm1().CommPort(), 2);
    EXPECT_EQ(w.MSComm1().Settings(), "9600,n,8,1");
    EXPECT_EQ(w.panelText("Status"), "Status: Port 2 is Open");
    ASSERT_TRUE(swipe(";A1?"));
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(Reader, LineErrorsAskWhetherToCloseThePort) {
    auto& w = openReader("1");
    // OK: the port stays open and polling goes on.
    boxes.answers.push_back(ui::Answer::OK);
    w.MSComm1().raiseEvent(serial::ev::Frame);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, "Framing Error");
    EXPECT_EQ(boxes.messages[0].title, "Click Cancel to close port, OK to ignore.");
    EXPECT_EQ(boxes.messages[0].buttons, ui::Buttons::OKCancel);
    EXPECT_EQ(w.panelText("Status"), "Status: Framing Error");
    EXPECT_EQ(boxes.beeps, 1);
    EXPECT_TRUE(w.MSComm1().PortOpen());

    // Events that are no errors pass quietly.
    w.MSComm1().raiseEvent(serial::ev::CD);
    EXPECT_EQ(boxes.messages.size(), 1u);

    // Cancel: the port closes and the clock display stops.
    boxes.answers.push_back(ui::Answer::Cancel);
    w.MSComm1().raiseEvent(4711);
    EXPECT_EQ(boxes.messages.back().text, "Unknown error or event");
    EXPECT_FALSE(w.MSComm1().PortOpen());
    EXPECT_EQ(w.panelText("Status"), "Status: Port 2 is closed");
    EXPECT_FALSE(w.Timer1()->isActive());

    // The loop goes on reading nothing; the keyboard still works.
    pty.send(";B2?");
    runUntil([] { return false; }, 200);
    EXPECT_TRUE(w.polling());
    EXPECT_EQ(rowCount(), 0);
    punch("A1");
    EXPECT_EQ(rowCount(), 1);

    // The next activation opens the port again and swipes are read; the
    // one sent while it was closed was never heard.
    activateAgain();
    EXPECT_EQ(w.panelText("Status"), "Status: Port 2 is Open");
    EXPECT_TRUE(w.Timer1()->isActive());
    setNow(2024, 1, 8, 9, 1);
    ASSERT_TRUE(swipe(";B2?"));
    EXPECT_EQ(loggedIds(), (QStringList{"A1", "B2"}));
    EXPECT_EQ(boxes.messages.size(), 2u);
}

// The reader's adapter pulled out and plugged back at the same device (a
// link named as Com2, pointed at a new pseudo-terminal). Nobody stands at
// the terminal: it looks for the device on its own, says when the port is
// closed and open again, and punches the swipes; one box for each loss,
// answered at once with OK, or with Cancel only after the reader is back
// and has been read meanwhile.
TEST_F(Reader, AReaderPluggedBackIsReadAgain) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyUSB0"));
    const auto plugIn = [&] {
        QFile::remove(link);
        return pty.plugIn() && QFile::link(pty.slavePath(), link);
    };
    ASSERT_TRUE(QFile::link(pty.slavePath(), link));
    nameDevice(2, link);
    class BoxesUpAWhile : public ui::ScriptedResponder {
    public:
        ui::Answer message(const ui::MessageRequest& m) override {
            const ui::Answer a = ScriptedResponder::message(m);
            if (whileUp)
                std::exchange(whileUp, {})();
            return a;
        }
        std::function<void()> whileUp;
    } held;
    auto& w = openReader("1");
    const auto status = [&](const char* text) { return runUntil([&] { return w.panelText("Status") == text; }); };
    ASSERT_TRUE(swipe(";A1?"));

    held.answers = {ui::Answer::OK, ui::Answer::Cancel};
    pty.end();
    ASSERT_TRUE(status("Status: Port 2 is closed"));
    EXPECT_FALSE(w.Timer1()->isActive());
    ASSERT_TRUE(plugIn());
    ASSERT_TRUE(status("Status: Port 2 is Open"));
    EXPECT_TRUE(w.Timer1()->isActive());
    setNow(2024, 1, 8, 9, 1);
    ASSERT_TRUE(swipe(";B2?"));

    bool readWhileUp = false;
    held.whileUp = [&] {
        if (status("Status: Port 2 is closed") && plugIn() && status("Status: Port 2 is Open")) {
            setNow(2024, 1, 8, 12, 0);
            readWhileUp = swipe(";A1?");
        }
    };
    pty.end();
    ASSERT_TRUE(runUntil([&] { return held.messages.size() == 2; }));
    EXPECT_TRUE(readWhileUp);
    // Cancel closed the port; it opens again on its own.
    ASSERT_TRUE(status("Status: Port 2 is Open"));
    setNow(2024, 1, 8, 12, 1);
    ASSERT_TRUE(swipe(";B2?"));

    EXPECT_EQ(loggedIds(), (QStringList{"A1", "B2", "A1", "B2"}));
    EXPECT_EQ(rowCount("ClockOut IN ('12:00', '12:01')"), 2);
    EXPECT_EQ(held.texts(), (QStringList{"Unknown error or event", "Unknown error or event"}));
    EXPECT_EQ(held.beeps, 2);
}

// The reader's adapter pulled out, or a line error that keeps coming: one
// box for the event, however often the port reports it while the box is
// up, and the keyboard works once it is answered.
TEST_F(Reader, AnEventThatKeepsComingGivesOneBox) {
    auto& w = openReader("1");
    // The box stays up a while with the event loop running under it; the
    // port reports a framing error twice more meanwhile.
    class SlowToAnswer : public ui::ScriptedResponder {
    public:
        explicit SlowToAnswer(serial::SerialPort& port) : port_(port) {}
        ui::Answer message(const ui::MessageRequest& m) override {
            const ui::Answer a = ScriptedResponder::message(m);
            if (m.text == "Framing Error")
                for (int i = 0; i < 2; ++i)
                    port_.raiseEvent(serial::ev::Frame);
            runUntil([] { return false; }, 500);
            return a;
        }

    private:
        serial::SerialPort& port_;
    } slow(w.MSComm1());
    w.MSComm1().raiseEvent(serial::ev::Frame);
    EXPECT_EQ(slow.texts(), QStringList{"Framing Error"});

    pty.end();
    ASSERT_TRUE(runUntil([&] { return slow.messages.size() == 2; }));
    // The pulled device no longer wakes the terminal: a hung-up port stays
    // readable, and watching it spun the event loop (a whole core) until the
    // port was closed. Left alone now, the loop wakes for its timers only.
    int wakes = 0;
    const auto counter = QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                                          [&wakes] { ++wakes; });
    QEventLoop idle;
    QTimer::singleShot(1000, &idle, &QEventLoop::quit);
    idle.exec();
    QObject::disconnect(counter);
    EXPECT_LT(wakes, 200);
    EXPECT_EQ(slow.texts(), (QStringList{"Framing Error", "Unknown error or event"}));
    EXPECT_EQ(slow.beeps, 2);
    punch("A1");
    EXPECT_EQ(rowCount(), 1);
}

TEST_F(Reader, EveryLineErrorHasItsText) {
    auto& w = openReader("1");
    const std::pair<int, const char*> texts[] = {
        {1001, "Break Received"}, {1002, "CTS Timeout"}, {1003, "DSR Timeout"}, {1004, "Framing Error"},
        {1006, "Overrun Error"}, {1007, "Carrier Detect Timeout"}, {1008, "Receive Buffer Overflow"},
        {1009, "Parity Error"}, {1010, "Transmit Buffer Full"}, {1011, "Error retrieving DCB"},
        {1005, "Unknown error or event"}};
    for (const auto& [code, text] : texts) {
        w.MSComm1().raiseEvent(code);
        EXPECT_EQ(boxes.messages.back().text, QLatin1String(text)) << code;
    }
    EXPECT_TRUE(w.MSComm1().PortOpen());
}

TEST_F(Reader, UnloadStopsPollingAndClosesThePort) {
    auto& w = openReader("2");
    w.close();
    EXPECT_TRUE(w.StopPolling());
    EXPECT_FALSE(w.polling());
    EXPECT_FALSE(w.MSComm1().PortOpen());
    EXPECT_FALSE(w.Timer1()->isActive());
    EXPECT_TRUE(programEnded());
}
