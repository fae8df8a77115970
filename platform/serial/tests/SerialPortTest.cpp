#include "platform/registry/tests/TempRegistry.h"
#include "platform/serial/PortMap.h"
#include "platform/serial/SerialPort.h"
#include "platform/serial/tests/PtyPair.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>
#include <vector>

using namespace plax;
using namespace plax::serial;

namespace {
// Names the pseudo-terminal as the device of "Com<port>" in the registry.
void nameDevice(int port, const QString& device) {
    reg::RegistryFile f;
    ASSERT_EQ(f.load(), reg::code::Success);
    bool created = false;
    ASSERT_EQ(f.createSection(kPortSection, &created), reg::code::Success);
    ASSERT_EQ(f.setValue(kPortSection, QStringLiteral("Com%1").arg(port), device), reg::code::Success);
}

// Runs the event loop until `n` bytes are waiting, however long a busy
// machine takes, and once more after they are (the count includes bytes the
// event loop has not seen yet, so their receive event is still to come).
bool waitForBytes(SerialPort& p, int n) {
    while (p.InBufferCount() < n) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    QCoreApplication::processEvents();
    return true;
}
} // namespace

TEST(PortMap, DefaultDevicesAndDevicesNamedInTheRegistry) {
    test::TempRegistry r;
    EXPECT_EQ(deviceForPort(1), "/dev/ttyS0");
    EXPECT_EQ(deviceForPort(2), "/dev/ttyS1");
    nameDevice(2, "/dev/ttyUSB0");
    EXPECT_EQ(deviceForPort(2), "/dev/ttyUSB0");
    EXPECT_EQ(deviceForPort(3), "/dev/ttyS2");
}

TEST(SerialPort, PropertiesRefuseInvalidValues) {
    SerialPort p;
    EXPECT_EQ(p.CommPort(), 2);
    EXPECT_EQ(p.Settings(), "9600,n,8,1");
    for (int bad : {0, -1, 17}) {
        try {
            p.setCommPort(bad);
            ADD_FAILURE() << bad;
        } catch (const SerialError& e) {
            EXPECT_EQ(e.number(), err::InvalidPort);
        }
    }
    try {
        p.setSettings("9600,q,8,1");
        ADD_FAILURE();
    } catch (const SerialError& e) {
        EXPECT_EQ(e.number(), err::InvalidPropertyValue);
    }
    EXPECT_EQ(p.CommPort(), 2);
    EXPECT_EQ(p.Settings(), "9600,n,8,1");
    EXPECT_THROW(p.InBufferCount(), SerialError); // closed
    EXPECT_THROW(p.Input(), SerialError);
}

TEST(SerialPort, APortWithoutDeviceCannotBeOpened) {
    test::TempRegistry r;
    nameDevice(5, "/dev/no-such-reader");
    SerialPort p;
    p.setCommPort(5);
    try {
        p.setPortOpen(true);
        ADD_FAILURE();
    } catch (const SerialError& e) {
        EXPECT_EQ(e.number(), err::InvalidPort);
    }
    EXPECT_FALSE(p.PortOpen());
}

TEST(SerialPort, ReceivesFromAPseudoTerminalAtEverySetting) {
    test::TempRegistry r;
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    nameDevice(2, pty.slavePath());
    for (const char* settings : {"9600,n,8,1", "4800,o,7,1.5", "115200,e,8,2", "300,m,5,1", "256000,s,6,2"}) {
        SerialPort p;
        std::vector<int> events;
        QObject::connect(&p, &SerialPort::OnComm, [&] { events.push_back(p.CommEvent()); });
        p.setSettings(settings);
        p.setPortOpen(true);
        ASSERT_TRUE(p.PortOpen()) << settings;
        EXPECT_THROW(p.setCommPort(3), SerialError); // not while open
        EXPECT_EQ(p.InBufferCount(), 0);
        EXPECT_EQ(p.OutBufferCount(), 0);

        pty.send(";1234?\r");
        ASSERT_TRUE(waitForBytes(p, 7)) << settings;
        ASSERT_FALSE(events.empty()) << settings;
        EXPECT_EQ(events.front(), ev::Receive);
        EXPECT_EQ(p.Input(), ";1234?\r");
        EXPECT_EQ(p.InBufferCount(), 0);
        EXPECT_EQ(p.Input(), "");
        p.setPortOpen(false);
        EXPECT_FALSE(p.PortOpen());
    }
}

TEST(SerialPort, InputTakesWhatArrivedSinceTheEventLoopLastRan) {
    test::TempRegistry r;
    test::PtyPair pty;
    nameDevice(2, pty.slavePath());
    SerialPort p;
    p.setPortOpen(true);
    pty.send(";12");
    ASSERT_TRUE(waitForBytes(p, 3));
    pty.send("34?");
    QThread::msleep(50); // no event loop in between
    EXPECT_EQ(p.InBufferCount(), 6);
    EXPECT_EQ(p.Input(), ";1234?");
}

TEST(SerialPort, RaisedEventsCarryTheirCode) {
    SerialPort p;
    std::vector<int> codes;
    QObject::connect(&p, &SerialPort::OnComm, [&] { codes.push_back(p.CommEvent()); });
    p.raiseEvent(ev::Frame);
    p.raiseEvent(ev::RxParity);
    EXPECT_EQ(codes, (std::vector<int>{1004, 1009}));
}
