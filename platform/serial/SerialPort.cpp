#include "SerialPort.h"

#include "PortMap.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QTimer>

#include <utility>

#include <sys/ioctl.h>
#ifdef __linux__
#include <linux/serial.h>
#endif

namespace plax::serial {

namespace {
QSerialPort::Parity toQt(Parity p) {
    switch (p) {
    case Parity::Even:
        return QSerialPort::EvenParity;
    case Parity::Odd:
        return QSerialPort::OddParity;
    case Parity::Mark:
        return QSerialPort::MarkParity;
    case Parity::Space:
        return QSerialPort::SpaceParity;
    case Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(StopBits s) {
    switch (s) {
    case StopBits::Two:
        return QSerialPort::TwoStop;
    case StopBits::OneAndHalf:
#ifdef Q_OS_WIN
        return QSerialPort::OneAndHalfStop;
#else
        // POSIX knows one or two stop bits; a UART sends 1.5 for "two" with
        // five data bits, which is where 1.5 stop bits are used.
        return QSerialPort::TwoStop;
#endif
    case StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}
} // namespace

// One QSerialPort for the life of the control, closed and opened again at
// the same or another device: the port may be closed and reopened from
// inside one of its own signals (a box raised by a line error, with the
// event loop running under it), and an object deleted there would be used
// again once the signal returns.
SerialPort::SerialPort(QObject* parent) : QObject(parent), port_(std::make_unique<QSerialPort>()) {
    connect(port_.get(), &QSerialPort::readyRead, this, [this] {
        checkLineErrors();
        if (PortOpen())
            raiseEvent(ev::Receive);
    });
    connect(port_.get(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::ResourceError && e != QSerialPort::ReadError)
            return;
        port_->clearError();
        // A device that went away fails every read from then on: one event
        // for the loss, not one for each read. Its descriptor stays readable
        // (hung up), so the port stops watching it; otherwise the terminal
        // would spin on it until the port closes.
        if (lost_ || !PortOpen())
            return;
        lost_ = true;
        for (QSocketNotifier* n : port_->findChildren<QSocketNotifier*>())
            n->setEnabled(false);
        // Told once the port's read has returned: the handler may close and
        // reopen the port, which must not happen under the read.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (lost_ && PortOpen())
                    raiseEvent(ev::DeviceLost);
            },
            Qt::QueuedConnection);
    });
}

SerialPort::~SerialPort() { port_->close(); }

void SerialPort::setCommPort(int port) {
    if (PortOpen())
        throw SerialError(err::PortAlreadyOpen, QStringLiteral("Port already open"));
    if (port < 1 || port > kMaxCommPort)
        throw SerialError(err::InvalidPort, QStringLiteral("Invalid port number"));
    commPort_ = port;
}

void SerialPort::setSettings(const QString& text) {
    if (!parseSettings(text))
        throw SerialError(err::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    settings_ = text;
    if (PortOpen())
        applySettings();
}

QString SerialPort::deviceName() const { return deviceForPort(commPort_); }

bool SerialPort::PortOpen() const { return port_->isOpen(); }

void SerialPort::setPortOpen(bool open) {
    if (!open) {
        if (errorWatch_)
            errorWatch_->stop();
        port_->close();
        lost_ = false;
        return;
    }
    if (PortOpen())
        throw SerialError(err::PortAlreadyOpen, QStringLiteral("Port already open"));

    const QString device = deviceName();
    if (!QFileInfo::exists(device))
        throw SerialError(err::InvalidPort, QStringLiteral("Invalid port number"));
    port_->setPortName(device);
    // The terminal only listens to the reader.
    if (!port_->open(QIODevice::ReadOnly)) {
        const QString why = port_->errorString();
        port_->clearError();
        throw SerialError(err::PortNotAvailable,
                          QStringLiteral("The port %1 (%2) cannot be opened: %3").arg(commPort_).arg(device, why));
    }
    lost_ = false;
    applySettings();
    // Readers that draw their power from the handshake lines need them on;
    // a pseudo-terminal has none, which is fine.
    port_->setDataTerminalReady(true);
    port_->setRequestToSend(true);
    port_->clearError();

#ifdef __linux__
    serial_icounter_struct c{};
    countersUsable_ = ::ioctl(int(port_->handle()), TIOCGICOUNT, &c) == 0;
    if (countersUsable_)
        counters_ = {c.frame, c.overrun, c.parity, c.brk, c.buf_overrun};
#endif
    if (countersUsable_) {
        if (!errorWatch_) {
            errorWatch_ = new QTimer(this);
            errorWatch_->setInterval(250);
            connect(errorWatch_, &QTimer::timeout, this, &SerialPort::checkLineErrors);
        }
        errorWatch_->start();
    }
}

void SerialPort::applySettings() {
    const LineSettings s = parseSettings(settings_).value_or(LineSettings{});
    port_->setBaudRate(s.baudRate);
    port_->setParity(toQt(s.parity));
    port_->setDataBits(QSerialPort::DataBits(s.dataBits));
    port_->setStopBits(toQt(s.stopBits));
    port_->setFlowControl(QSerialPort::NoFlowControl);
}

// Bytes the system holds for the port that Qt has not read yet.
int SerialPort::pendingInSystem() const {
    int n = 0;
#ifdef FIONREAD
    if (::ioctl(int(port_->handle()), FIONREAD, &n) != 0)
        n = 0;
#endif
    return n;
}

int SerialPort::InBufferCount() const {
    if (!PortOpen())
        throw SerialError(err::NotOpen, QStringLiteral("The device is not open"));
    return int(port_->bytesAvailable()) + pendingInSystem();
}

int SerialPort::OutBufferCount() const {
    if (!PortOpen())
        throw SerialError(err::NotOpen, QStringLiteral("The device is not open"));
    return int(port_->bytesToWrite());
}

QString SerialPort::Input() {
    if (!PortOpen())
        throw SerialError(err::NotOpen, QStringLiteral("The device is not open"));
    // Everything received so far, also what arrived since the event loop
    // last ran (read quietly: no further receive events for it).
    for (int round = 0; round < 64 && pendingInSystem() > 0; ++round) {
        const QSignalBlocker quiet(port_.get());
        if (!port_->waitForReadyRead(0))
            break;
    }
    port_->clearError();
    return QString::fromLatin1(port_->readAll());
}

void SerialPort::raiseEvent(int code) {
    commEvent_ = code;
    emit OnComm();
}

void SerialPort::checkLineErrors() {
#ifdef __linux__
    if (!countersUsable_ || !PortOpen())
        return;
    serial_icounter_struct c{};
    if (::ioctl(int(port_->handle()), TIOCGICOUNT, &c) != 0)
        return;
    const Counters old = counters_;
    counters_ = {c.frame, c.overrun, c.parity, c.brk, c.buf_overrun};
    const std::pair<bool, int> events[] = {{c.brk != old.brk, ev::Break},
                                           {c.frame != old.frame, ev::Frame},
                                           {c.overrun != old.overrun, ev::Overrun},
                                           {c.buf_overrun != old.bufOverrun, ev::RxOver},
                                           {c.parity != old.parity, ev::RxParity}};
    // A handler may close the port on the first one.
    for (const auto& [happened, code] : events)
        if (happened && PortOpen())
            raiseEvent(code);
#endif
}

} // namespace plax::serial
