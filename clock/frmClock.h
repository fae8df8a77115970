#pragma once
// The clock window of the terminal: the ID box, the message panel, the log
// of this run's punches and the status bar; the punch road runs on Enter in
// the ID box, whether the ID was typed or cut out of a badge-reader frame.
//
// Threading: user-interface thread only. One instance per run.

#include "PunchRoad.h"
#include "ReaderFrames.h"
#include "TerminalSettings.h"

#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;

namespace plax::serial {
class SerialPort;
}

namespace plax::clk {

enum class Reader { None, MSR100, RS2000 };

class frmClock : public QMainWindow {
    Q_OBJECT
public:
    explicit frmClock(QWidget* parent = nullptr);
    ~frmClock() override;

    // The window of this run, or nullptr.
    static frmClock* instance();

    // Clock display tick: the "Time" panel (and the "Date" panel, which each
    // punch refreshes as well).
    void Timer1_Timer();

    // The reader loops; they return at once and, until the window unloads,
    // run a pass PollDelay ms after the port has received data.
    void PollMSR100Reader();
    void PollRS2000Reader();
    // The rest of a frame that came in two reads: up to four short waits for
    // input, then the text received up to the next frame (which stays for
    // the next pass).
    QString ReadPort();
    // Serial-port event handler.
    void MSComm1_OnComm();

    // Controls, as the routines and the tests reach them.
    QLineEdit* txtID() const { return txtID_; }
    QLabel* lblMsg() const { return lblMsg_; }
    QListWidget* lstLog() const { return lstLog_; }
    QTimer* Timer1() const { return timer1_; }
    serial::SerialPort& MSComm1() const { return *MSComm1_; }
    QString panelText(const QString& key) const;
    void setPanelText(const QString& key, const QString& text);

    const TerminalSettings& settings() const { return settings_; }
    const CommSettings& commSettings() const { return comm_; }
    const CurrentEmployee& currentEmployee() const { return current_; }
    // The text ShowMessage showed last (the panel itself is empty again).
    const QString& lastMessage() const { return lastMessage_; }
    bool StopPolling() const { return stopPolling_; }
    // How often the activation handler has run.
    int activations() const { return activations_; }
    bool polling() const { return pollingReader_ != Reader::None; }
    // Badge-reader punches waiting for the database's write lock.
    const KeptPunches& keptPunches() const { return kept_; }

    // How long ShowMessage holds the message panel (2000 ms; tests shorten it).
    static void setMessageHoldMs(int ms);
    static int messageHoldMs();
    // How long one of ReadPort's waits lasts: one advance of the system timer.
    static constexpr int kReadTickMs = 16;
    // Kept punches are tried again this often, each try taking the lock
    // only if it is free at once (waiting means waking every millisecond):
    // the window never freezes, and a lock held for an hour costs little.
    static constexpr int kKeptRetryMs = 200;
    static constexpr int kKeptWaitMs = 0;
    // A badge reader that went away is looked for this often until its port
    // is open again: one look for the device, no box.
    static constexpr int kReopenRetryMs = 1000;

    static int twipsToPixels(int twips);

protected:
    // The window loads when it is first shown and unloads when it closes.
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Load handler, run as the window is first shown: centres it, sets the
    // caption and fills the date panel; once the window is up it creates
    // the employee query and runs the first activation.
    void Form_Load();
    // Activation handler: rereads the settings, applies InOutList and, for
    // a badge reader, starts polling it; when it polls already, its port
    // opens again if it is closed. Runs at the first activation and
    // whenever the terminal becomes active again after another program was.
    void Form_Activate();
    // Unload handler: stops polling, closes the port, stops the clock
    // display, closes the database and ends the program.
    void Form_Unload();
    // Key handler of the ID box: Enter (13) runs the punch road.
    void txtID_KeyPress(int keyAscii);
    void buildLayout();
    void runPunchRoad();
    void LookupEmployee();
    void ShowMessage(const QString& text);
    db::Database& database();
    void startPolling(Reader reader);
    void pollPass();
    void schedulePass(int ms);
    // Opens the port again once the device of a lost reader is back.
    void reopenPort();
    // Moves what the port has received into the reader buffer.
    void receive();
    // Sleeps in the event loop until input or `ms`; false when the window
    // went away meanwhile.
    bool waitForInput(int ms);
    // Writes the kept punches; true when none is left.
    bool writeKept(int busyWaitMs);
    // Keeps a swiped punch for the database and says it is taken.
    void keep(const KeptPunch& p);
    void addLogLine(const QString& line);
    void applyCaption();
    void showDate();

    QLabel* lblPrompt_ = nullptr;
    QLineEdit* txtID_ = nullptr;
    QGroupBox* fraMessage_ = nullptr;
    QLabel* lblMsg_ = nullptr;
    QListWidget* lstLog_ = nullptr;
    QLabel* panelDate_ = nullptr;
    QLabel* panelTime_ = nullptr;
    QLabel* panelStatus_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* pollTimer_ = nullptr;
    QTimer* keptTimer_ = nullptr;
    QTimer* reopenTimer_ = nullptr;
    serial::SerialPort* MSComm1_ = nullptr;

    TerminalSettings settings_;
    CommSettings comm_;
    CurrentEmployee current_;
    QString lastMessage_;
    std::unique_ptr<EmployeeQuery> employeeQuery_;
    std::uint64_t queryGeneration_ = 0;

    std::set<int> lineErrorsUp_; // event codes whose box is up
    bool stopPolling_ = false;
    Reader pollingReader_ = Reader::None;
    bool inPass_ = false;
    ReaderBuffer received_;
    // The minute of the swipe whose ID the reader put into the box; unset
    // for a typed ID.
    std::optional<DateTimeMin> swipedAt_;
    // A typed ID whose error box is up; a swipe meanwhile puts it back.
    std::optional<QString> heldTypedId_;
    KeptPunches kept_;
    bool activationPending_ = true;
    int activations_ = 0;
    bool loaded_ = false;
    bool unloaded_ = false;
};

// Port routines of the reader loops; they reach the status bar, the clock
// display and the port of the clock window through its single instance.
bool OpenPort(serial::SerialPort& port);
void SetPortParams(serial::SerialPort& port);
bool ClosePort(serial::SerialPort& port);
void StartClockTimer();
void StopClockTimer();
// Whether the next OpenPort sets the port up and opens it.
bool& PortReopen();

} // namespace plax::clk
