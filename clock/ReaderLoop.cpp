// The badge-reader side of the clock window: the port routines, the two
// polling loops and the port's event handler.
//
// The loops run on a single-shot timer instead of inside the activation
// handler, and only when there is something to read: the port's receive
// event (after its MachineSpeed pause) moves the input into the reader
// buffer and starts a pass PollDelay ms later. A pass takes one frame, cuts
// the ID out of it and runs the Enter path; frames that arrived together
// (swipes queued during a confirmation) stay in the buffer for the passes
// that follow, one punch each. Between passes the thread sleeps: no timer
// wakes it while nobody swipes.
#include "ReaderFrames.h"
#include "frmClock.h"

#include "core/types/Clock.h"
#include "platform/serial/SerialPort.h"
#include "platform/ui/Dialogs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace plax::clk {

namespace {
const QString kStatus = QStringLiteral("Status");

QString lineErrorText(int code) {
    switch (code) {
    case serial::ev::Break:
        return QStringLiteral("Break Received");
    case serial::ev::CTSTimeout:
        return QStringLiteral("CTS Timeout");
    case serial::ev::DSRTimeout:
        return QStringLiteral("DSR Timeout");
    case serial::ev::Frame:
        return QStringLiteral("Framing Error");
    case serial::ev::Overrun:
        return QStringLiteral("Overrun Error");
    case serial::ev::CDTimeout:
        return QStringLiteral("Carrier Detect Timeout");
    case serial::ev::RxOver:
        return QStringLiteral("Receive Buffer Overflow");
    case serial::ev::RxParity:
        return QStringLiteral("Parity Error");
    case serial::ev::TxFull:
        return QStringLiteral("Transmit Buffer Full");
    case serial::ev::DCB:
        return QStringLiteral("Error retrieving DCB");
    default:
        return QStringLiteral("Unknown error or event");
    }
}
} // namespace

void StartClockTimer() {
    if (auto* w = frmClock::instance())
        w->Timer1()->start();
}

void StopClockTimer() {
    if (auto* w = frmClock::instance())
        w->Timer1()->stop();
}

void SetPortParams(serial::SerialPort& port) {
    const frmClock* w = frmClock::instance();
    const CommSettings c = w ? w->commSettings() : CommSettings{};
    try {
        port.setCommPort(c.CommPort);
        port.setSettings(c.Settings);
    } catch (const std::exception&) {
        try {
            port.setCommPort(serial::kDefaultCommPort);
            port.setSettings(serial::kDefaultSettings);
        } catch (const std::exception&) {
        }
    }
}

bool ClosePort(serial::SerialPort& port) {
    try {
        if (!port.PortOpen())
            return false;
        for (;;) {
            if (port.OutBufferCount() == 0) {
                QThread::msleep(200);
                port.setPortOpen(false);
                if (auto* w = frmClock::instance())
                    w->setPanelText(kStatus, QStringLiteral("Status: Port %1 is closed").arg(port.CommPort()));
                StopClockTimer();
                return true;
            }
            QCoreApplication::processEvents();
        }
    } catch (const std::exception&) {
        return false;
    }
}

bool OpenPort(serial::SerialPort& port) {
    try {
        const frmClock* w = frmClock::instance();
        const CommSettings c = w ? w->commSettings() : CommSettings{};
        // A port whose device went away is open in name only: it is closed
        // and opened again, as on other settings.
        const bool open = port.PortOpen() && !port.deviceLost();
        if (open && port.CommPort() == c.CommPort && port.Settings() == c.Settings)
            PortReopen() = false;
        else if (!port.PortOpen())
            PortReopen() = true;
        else if (ClosePort(port))
            PortReopen() = true;
        if (PortReopen()) {
            SetPortParams(port);
            port.setPortOpen(true);
            if (auto* win = frmClock::instance())
                win->setPanelText(kStatus, QStringLiteral("Status: Port %1 is Open").arg(port.CommPort()));
            StartClockTimer();
        }
    } catch (const std::exception&) {
    }
    return port.PortOpen();
}

void frmClock::PollMSR100Reader() { startPolling(Reader::MSR100); }
void frmClock::PollRS2000Reader() { startPolling(Reader::RS2000); }

void frmClock::startPolling(Reader reader) {
    // Also while polling already: the port opens again if it was closed
    // (Cancel in an error box, a reader pulled out) or its settings changed.
    // A port that does not open leaves a running loop reading nothing.
    if (!OpenPort(*MSComm1_)) {
        ui::MsgBox(QStringLiteral("Unable to open communication port."), ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    pollingReader_ = reader;
    // A first pause, then each pass pauses again before it reads.
    schedulePass(2 * std::max(0, comm_.PollDelay));
}

void frmClock::reopenPort() {
    if (unloaded_ || stopPolling_ || pollingReader_ == Reader::None) {
        reopenTimer_->stop();
        return;
    }
    // Quietly: the loss had its box, and nobody may be there to answer more.
    if (!MSComm1_->PortOpen() || MSComm1_->deviceLost())
        OpenPort(*MSComm1_);
    // Until the box of the loss is answered, Cancel may close the port again.
    if (MSComm1_->PortOpen() && !MSComm1_->deviceLost() && !lineErrorsUp_.count(serial::ev::DeviceLost))
        reopenTimer_->stop();
}

void frmClock::schedulePass(int ms) {
    if (!stopPolling_ && pollingReader_ != Reader::None && !pollTimer_->isActive())
        pollTimer_->start(ms);
}

void frmClock::receive() {
    // A read that fails (the port closed) gives nothing.
    try {
        if (MSComm1_->PortOpen() && MSComm1_->InBufferCount() > 0)
            received_.append(MSComm1_->Input(), Clock::nowMinute());
    } catch (const std::exception&) {
    }
}

bool frmClock::waitForInput(int ms) {
    const QPointer<frmClock> self(this);
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    // The receive handler runs first and fills the buffer.
    connect(MSComm1_, &serial::SerialPort::OnComm, &wait, &QEventLoop::quit);
    wait.exec();
    return bool(self);
}

QString frmClock::ReadPort() {
    for (int attempt = 0; attempt < 4 && received_.isEmpty(); ++attempt) {
        receive();
        if (received_.isEmpty() && !waitForInput(kReadTickMs))
            return {};
    }
    return received_.takeRest();
}

void frmClock::pollPass() {
    if (inPass_ || stopPolling_ || pollingReader_ == Reader::None)
        return;
    const QPointer<frmClock> self(this);
    const auto goOn = [&self] { return self && !self->stopPolling_ && self->pollingReader_ != Reader::None; };
    inPass_ = true;
    const auto done = [&] {
        if (!self)
            return;
        inPass_ = false;
        // Swipes that queued up meanwhile: the next one after the pause.
        receive();
        if (!received_.isEmpty())
            schedulePass(std::max(0, comm_.PollDelay));
    };

    receive();
    const std::optional<ReaderBuffer::Frame> frame = received_.takeFrame();
    if (!frame)
        return done();
    const std::optional<QString> id =
        pollingReader_ == Reader::MSR100
            ? cutMsr100Frame(frame->text)
            : cutRs2000Frame(frame->text, [&] { return goOn() ? ReadPort() : QString(); });
    if (!goOn() || !id)
        return done();
    txtID_->setText(*id);
    QCoreApplication::processEvents();
    if (goOn()) {
        swipedAt_ = frame->at;
        txtID_KeyPress(13);
    }
    // Swiped while the error box of a typed ID is up: that ID goes back.
    if (self && heldTypedId_)
        txtID_->setText(*heldTypedId_);
    done();
}

void frmClock::MSComm1_OnComm() {
    const int code = MSComm1_->CommEvent();
    if (code == serial::ev::Receive) {
        QThread::msleep(unsigned(std::clamp(comm_.MachineSpeed, 0, 1000) * 10));
        receive();
        schedulePass(std::max(0, comm_.PollDelay));
        return;
    }
    if (code == serial::ev::Send || (code >= serial::ev::CTS && code <= serial::ev::EndOfFile))
        return;
    // A reader pulled out is looked for until it is back, box or no box.
    if (code == serial::ev::DeviceLost)
        reopenTimer_->start();
    // One box for an event: while it is up, the same event (a line error
    // that keeps coming) raises no other on top of it.
    if (!lineErrorsUp_.insert(code).second)
        return;
    const QString text = lineErrorText(code);
    setPanelText(kStatus, QStringLiteral("Status: ") + text);
    ui::Beep();
    const QPointer<frmClock> self(this);
    const ui::Answer a = ui::MsgBox(text, ui::Buttons::OKCancel, ui::Icon::None,
                                    QStringLiteral("Click Cancel to close port, OK to ignore."));
    if (!self)
        return;
    lineErrorsUp_.erase(code);
    if (a == ui::Answer::Cancel)
        ClosePort(*MSComm1_);
}

} // namespace plax::clk
