// The badge-reader side of the clock window: the port routines, the two
// polling loops and the port's event handler.
//
// The loops run on a single-shot timer instead of inside the activation
// handler: each pass pauses PollDelay ms, reads the port, cuts the ID out of
// the frame and runs the Enter path; the window, the keyboard and the clock
// display stay served between passes and during the reads.
#include "ReaderFrames.h"
#include "frmClock.h"

#include "platform/serial/SerialPort.h"
#include "platform/ui/Dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
        if (port.PortOpen() && port.CommPort() == c.CommPort && port.Settings() == c.Settings)
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
    if (!OpenPort(*MSComm1_)) {
        ui::MsgBox(QStringLiteral("Unable to open communication port."), ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    pollingReader_ = reader;
    // A first pause, then each pass pauses again before it reads.
    pollTimer_->start(2 * std::max(0, comm_.PollDelay));
}

QString frmClock::ReadPort() {
    QString result;
    for (int attempt = 0; attempt < 4; ++attempt) {
        QElapsedTimer waited;
        waited.start();
        while (MSComm1_->InBufferCount() < 1 && waited.elapsed() < kReadTickMs) {
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        if (MSComm1_->InBufferCount() > 0) {
            result = MSComm1_->Input();
            break;
        }
    }
    return result;
}

void frmClock::pollPass() {
    if (stopPolling_ || pollingReader_ == Reader::None)
        return;
    const QPointer<frmClock> self(this);
    // A read that fails (the port closed) gives the empty text.
    auto read = [this]() -> QString {
        try {
            return ReadPort();
        } catch (const std::exception&) {
            return {};
        }
    };
    const auto goOn = [&self] { return self && !self->stopPolling_ && self->pollingReader_ != Reader::None; };

    const QString s = read();
    if (!goOn())
        return;
    const std::optional<QString> id =
        pollingReader_ == Reader::MSR100 ? cutMsr100Frame(s) : cutRs2000Frame(s, [&] {
            const QString more = read();
            return goOn() ? more : QString();
        });
    if (!goOn())
        return;
    if (id) {
        txtID_->setText(*id);
        QCoreApplication::processEvents();
        if (!goOn())
            return;
        txtID_KeyPress(13);
        if (!goOn())
            return;
    }
    pollTimer_->start(std::max(0, comm_.PollDelay));
}

void frmClock::MSComm1_OnComm() {
    const int code = MSComm1_->CommEvent();
    if (code == serial::ev::Receive) {
        QThread::msleep(unsigned(std::clamp(comm_.MachineSpeed, 0, 1000) * 10));
        return;
    }
    if (code == serial::ev::Send || (code >= serial::ev::CTS && code <= serial::ev::EndOfFile))
        return;
    const QString text = lineErrorText(code);
    setPanelText(kStatus, QStringLiteral("Status: ") + text);
    ui::Beep();
    if (ui::MsgBox(text, ui::Buttons::OKCancel, ui::Icon::None,
                   QStringLiteral("Click Cancel to close port, OK to ignore.")) == ui::Answer::Cancel)
        ClosePort(*MSComm1_);
}

} // namespace plax::clk
