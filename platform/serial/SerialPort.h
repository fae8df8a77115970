#pragma once
// The serial-port control of the clock terminal, on Qt SerialPort.
//
// It keeps the control's shape the terminal was written against: a port
// number (CommPort), a settings text (Settings), PortOpen, the buffer
// counts, Input (everything received so far) and one OnComm signal with the
// code of the event in CommEvent: 2 for received data, 1001..1011 for line
// errors. The port is opened for reading only; nothing is ever sent.
//
// Port number n is the device named for "Com<n>" in the registry section
// "Serial Ports", or /dev/ttyS<n-1> when none is named (see PortMap.h).
//
// Threading: user-interface thread only.

#include "SerialSettings.h"

#include <QObject>
#include <QString>
#include <memory>
#include <stdexcept>

class QSerialPort;
class QTimer;

namespace plax::serial {

// Error numbers of the control, raised by its setters.
namespace err {
constexpr int InvalidPropertyValue = 380; // "Invalid property value"
constexpr int InvalidPort = 8002;         // "Invalid port number"
constexpr int PortAlreadyOpen = 8005;     // "Port already open"
constexpr int PortNotAvailable = 8010;    // the device exists but cannot be opened
constexpr int NotOpen = 8012;             // "The device is not open"
} // namespace err

class SerialError : public std::runtime_error {
public:
    SerialError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Event codes in CommEvent.
namespace ev {
constexpr int Send = 1;
constexpr int Receive = 2;
constexpr int CTS = 3;
constexpr int DSR = 4;
constexpr int CD = 5;
constexpr int Ring = 6;
constexpr int EndOfFile = 7;
constexpr int Break = 1001;
constexpr int CTSTimeout = 1002;
constexpr int DSRTimeout = 1003;
constexpr int Frame = 1004;
constexpr int Overrun = 1006;
constexpr int CDTimeout = 1007;
constexpr int RxOver = 1008;
constexpr int RxParity = 1009;
constexpr int TxFull = 1010;
constexpr int DCB = 1011;
// The device went away (an adapter unplugged), raised once for each opening
// of the port, after the read that met the loss has returned; not one of
// the control's codes.
constexpr int DeviceLost = 1100;
} // namespace ev

class SerialPort : public QObject {
    Q_OBJECT
public:
    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

    int CommPort() const { return commPort_; }
    // 1..16; raises InvalidPort outside that range and PortAlreadyOpen while open.
    void setCommPort(int port);

    const QString& Settings() const { return settings_; }
    // Raises InvalidPropertyValue for a text parseSettings refuses.
    void setSettings(const QString& text);

    bool PortOpen() const;
    // Opening raises InvalidPort for a device that does not exist and
    // PortNotAvailable when it cannot be opened; closing never raises.
    void setPortOpen(bool open);

    int InBufferCount() const;
    int OutBufferCount() const;
    // Everything received so far; empties the receive buffer.
    QString Input();
    int CommEvent() const { return commEvent_; }

    // The device the port number stands for at the moment.
    QString deviceName() const;
    // The device went away since the port was opened: the port is still
    // open but reads nothing until it is closed and opened again.
    bool deviceLost() const { return lost_; }

    // Sets CommEvent and raises OnComm. The line-error watch calls it; it is
    // public so the terminal's handling of each code can be exercised on a
    // pseudo-terminal, which has no line errors of its own.
    void raiseEvent(int code);

signals:
    void OnComm();

private:
    void applySettings();
    void checkLineErrors();
    int pendingInSystem() const;

    std::unique_ptr<QSerialPort> port_;
    QTimer* errorWatch_ = nullptr;
    int commPort_ = kDefaultCommPort;
    QString settings_ = kDefaultSettings;
    int commEvent_ = 0;
    bool lost_ = false; // the device went away since the port was opened
    bool countersUsable_ = false;
    struct Counters {
        int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
    } counters_;
};

} // namespace plax::serial
