#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "../ui/Pty.h"
#include "serial/PortPath.h"
#include "serial/PortRegistry.h"
#include "serial/SerialPort.h"

namespace vem {
namespace {

using test::Pty;

// A registry that lists `path`, and a serial port on it.
struct OnePort {
    explicit OnePort(const QString& path) {
        registry.addDevicePath(path);
        serial.setPortNumber(registry.numberAt(path));
    }
    PortRegistry registry;
    SerialPort serial{registry};
};

TEST(SerialPty, EnvironmentPathsAreListedFirstWhenPresent) {
    Pty pty;
    const QByteArray old = qgetenv("VEM_PORT");
    qputenv("VEM_PORT", "/nonexistent/ttyX:" + pty.slave().toUtf8());
    PortRegistry m;
    qputenv("VEM_PORT", old);
    ASSERT_GE(m.count(), 1);
    EXPECT_EQ(m.entry(0).systemLocation, pty.slave());
    EXPECT_EQ(m.entry(0).displayName, pty.slave());
    EXPECT_EQ(m.defaultPort(), m.entry(0).number);
    for (int i = 0; i < m.count(); ++i) EXPECT_NE(m.entry(i).systemLocation, "/nonexistent/ttyX");
    EXPECT_FALSE(m.recheck());
    SerialPort s(m);
    EXPECT_EQ(s.portNumber(), m.defaultPort());
}

// The start reads the system's ports on a thread while the window is built: the list read
// ahead is the one the next registry starts with, and every later look reads the system anew.
TEST(SerialPty, APortListReadAheadIsTheListOfTheNextRegistryOnly) {
    const QByteArray old = qgetenv("VEM_PORT");
    qunsetenv("VEM_PORT");
    PortRegistry plain;
    PortRegistry::listAhead();
    PortRegistry ahead;
    qputenv("VEM_PORT", old);
    ASSERT_EQ(ahead.count(), plain.count());
    for (int i = 0; i < plain.count(); ++i) EXPECT_EQ(ahead.entry(i).systemLocation, plain.entry(i).systemLocation);
    EXPECT_FALSE(ahead.recheck());
    PortRegistry later;
    EXPECT_EQ(later.count(), plain.count());
}

TEST(SerialPty, BytesPassBothWaysUnchangedAndAClosedPortDoesNothing) {
    Pty pty;
    OnePort one(pty.slave());
    SerialPort& s = one.serial;
    const int number = s.portNumber();
    s.setPortNumber(9999);  // not listed
    ASSERT_EQ(s.portNumber(), number);

    QByteArray got;
    bool sending = false;
    QObject::connect(&s, &SerialPort::bytesArrived, [&] {
        EXPECT_FALSE(sending);  // never from inside write()
        const qint64 n = s.bytesAvailable();
        const QByteArray part = s.readAll();
        EXPECT_EQ(part.size(), n);
        got += part;
    });
    ASSERT_TRUE(s.open());
    EXPECT_FALSE(s.open());  // once

    QByteArray bytes;
    for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
    EXPECT_EQ(s.write(bytes), 256);
    EXPECT_EQ(s.write("\r\n", 2), 2);
    EXPECT_EQ(pty.receive(258), bytes + "\r\n");
    pty.send(bytes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return got.size() >= 256; }));
    EXPECT_EQ(got, bytes);

    // What arrives while write() waits is reported once it has returned.
    got.clear();
    pty.send("ping");
    sending = true;
    EXPECT_EQ(s.write(bytes), 256);
    sending = false;
    EXPECT_EQ(pty.receive(256), bytes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return got == "ping"; }));

    s.disconnect();
    pty.send("xyz");
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.bytesAvailable() == 3; }));
    EXPECT_EQ(s.readAll(), "xyz");
    EXPECT_EQ(s.readAll(), "");

    s.close();
    EXPECT_FALSE(s.isOpen());
    pty.send("late");
    EXPECT_EQ(s.bytesAvailable(), 0);
    EXPECT_EQ(s.bytesToWrite(), 0);
    EXPECT_EQ(s.readAll(), "");
    EXPECT_EQ(s.write("lost"), 0);

    ASSERT_TRUE(s.open());  // what came while closed is gone
    pty.send("new");
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.bytesAvailable() >= 3; }));
    EXPECT_EQ(s.readAll(), "new");
}

// A closing port waits for its output beside the event loop, not inside it: another port's
// bytes keep arriving meanwhile. Until it lets the device go it keeps the line settings and the
// port (a reopen takes it back); then the settings from before the open are back.
TEST(SerialPty, AClosingPortWaitsForItsOutputWithoutStoppingOthers) {
    Pty slow, other;
    PortRegistry registry;
    registry.addDevicePath(slow.slave());
    registry.addDevicePath(other.slave());
    SerialPort draining(registry), listening(registry);
    draining.setPortNumber(registry.numberAt(slow.slave()));
    listening.setPortNumber(registry.numberAt(other.slave()));
    draining.line().Baudrate = TBaudrate::br_001200;  // 600 bytes take seconds on this line
    const speed_t before = slow.speed();
    ASSERT_NE(before, speed_t(B1200));
    ASSERT_TRUE(draining.open());
    ASSERT_TRUE(listening.open());
    QByteArray heard;
    bool closingWhenHeard = false;
    QObject::connect(&listening, &SerialPort::bytesArrived, [&] {
        heard += listening.readAll();
        closingWhenHeard = draining.isClosing();
    });

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        heard.clear();
        ASSERT_EQ(draining.write(QByteArray(600, 'x')), 600);
        other.send("ping");
        draining.close();
        EXPECT_FALSE(draining.isOpen());
        EXPECT_EQ(draining.write("late"), 0);
        ASSERT_TRUE(draining.isClosing());
        ASSERT_TRUE(QTest::qWaitFor([&] { return heard == "ping"; }));
        EXPECT_TRUE(closingWhenHeard);
        EXPECT_EQ(slow.speed(), speed_t(B1200));
        SerialPort another(registry);
        another.setPortNumber(draining.portNumber());
        EXPECT_FALSE(another.open());
        EXPECT_EQ(another.openProblem().reason, OpenFailure::Busy);
        EXPECT_EQ(slow.receive(600), QByteArray(600, 'x'));
        if (round == 0) {
            ASSERT_TRUE(draining.open());  // taken back while closing
        }
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !draining.isClosing(); }, 10000));
    EXPECT_EQ(slow.speed(), before);
    SerialPort after(registry);
    after.setPortNumber(draining.portNumber());
    EXPECT_TRUE(after.open());
}

TEST(SerialPty, PortsThatCannotOpenStayClosedWithTheReason) {
    Pty pty;
    OnePort first(pty.slave());
    ASSERT_TRUE(first.serial.open());
    const int port = first.serial.portNumber();
    struct Case {
        const char* name;
        std::function<void(SerialLine&)> line;
        int port;
        OpenFailure reason;
    };
    const std::vector<Case> cases{
        {"same port again", [](SerialLine&) {}, port, OpenFailure::Busy},
        {"no port", [](SerialLine&) {}, 0, OpenFailure::Absent},
        {"4 data bits", [](SerialLine& l) { l.DataBits = TDataBits::db_4; }, port, OpenFailure::UnsupportedSetting},
        {"DTR/DSR", [](SerialLine& l) { l.HandshakeDtrDsr = true; }, port, OpenFailure::UnsupportedSetting},
    };
    for (const Case& c : cases) {
        SerialPort s(first.registry);
        s.setPortNumber(c.port);
        c.line(s.line());
        EXPECT_FALSE(s.open()) << c.name;
        EXPECT_FALSE(s.isOpen()) << c.name;
        EXPECT_EQ(s.openProblem().reason, c.reason) << c.name;
    }
}

TEST(SerialPty, APathThatIsNoSerialPortIsRefusedUntouched) {
    Pty pty;
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain");
    {
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    auto link = [&](const QString& target) {
        const QString path = dir.filePath(QFileInfo(target).fileName() + "-link");
        EXPECT_TRUE(QFile::link(target, path));
        return path;
    };
    const struct {
        QString path;
        PortPathFault fault;
    } cases[] = {
        {plain, PortPathFault::NotADevice},
        {link(dir.path()), PortPathFault::NotADevice},
        {link("/dev/null"), PortPathFault::NotATerminal},
        {link("/dev/zero"), PortPathFault::NotATerminal},
        {link("/dev/tty"), PortPathFault::NotATerminal},
        {link(pty.slave()), PortPathFault::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(portPathFault(c.path), c.fault) << qPrintable(c.path);
        if (c.fault == PortPathFault::None) continue;
        OnePort one(c.path);
        SerialPort& s = one.serial;
        ASSERT_NE(s.portNumber(), 0) << qPrintable(c.path);
        EXPECT_FALSE(s.open()) << qPrintable(c.path);
        EXPECT_EQ(s.openProblem().reason, OpenFailure::NotASerialPort) << qPrintable(c.path);
        EXPECT_EQ(s.write("x"), 0);
    }
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "kept");
    EXPECT_EQ(portPathFault(dir.filePath("missing")), PortPathFault::Absent);
}

TEST(SerialPty, DeviceHangingUpClosesThePortOnce) {
    Pty pty;
    OnePort one(pty.slave());
    SerialPort& s = one.serial;
    QSignalSpy removed(&s, &SerialPort::removed);
    ASSERT_TRUE(s.open());
    pty.hangUp();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !s.isOpen(); }));
    QTest::qWait(50);  // a repeated error would land here
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(s.write("x"), 0);
}

TEST(SerialPty, WatchingSeesAPortComeAndGoAndClosesItsSerialPort) {
    Pty pty;
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyWatched");
    PortRegistry m;
    m.addDevicePath(link);  // not there yet
    EXPECT_EQ(m.numberAt(link), 0);
    QSignalSpy arrivals(&m, &PortRegistry::portsArrived);
    QSignalSpy removals(&m, &PortRegistry::portsRemoved);
    m.startWatching();

    ASSERT_TRUE(QFile::link(pty.slave(), link));
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrivals.count() == 1; }));
    SerialPort s(m);
    s.setPortNumber(m.numberAt(link));
    QSignalSpy removed(&s, &SerialPort::removed);
    ASSERT_TRUE(s.open());
    SerialPort busy(m);
    busy.setPortNumber(s.portNumber());
    EXPECT_FALSE(busy.open());
    EXPECT_EQ(busy.openProblem().location, link.toStdString());
    EXPECT_FALSE(m.recheck());  // a look that finds no change closes nothing
    EXPECT_TRUE(s.isOpen());

    ASSERT_TRUE(QFile::remove(link));
    EXPECT_TRUE(QTest::qWaitFor([&] { return removals.count() == 1; }));
    EXPECT_EQ(arrivals.count(), 1);
    EXPECT_FALSE(s.isOpen());
    EXPECT_EQ(removed.count(), 1);
    EXPECT_FALSE(s.open());
    EXPECT_EQ(s.openProblem().reason, OpenFailure::Absent);
    EXPECT_EQ(s.openProblem().location, link.toStdString());
}

}  // namespace
}  // namespace vem
