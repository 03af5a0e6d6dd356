#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "Pty.h"
#include "serial/COMManager.h"
#include "serial/PortPath.h"
#include "serial/Serial.h"

namespace vem {
namespace {

using test::Pty;

TEST(SerialPty, EnvironmentPathsAreListedFirstWhenPresent) {
    Pty pty;
    const QByteArray old = qgetenv("VEM_PORT");
    qputenv("VEM_PORT", "/nonexistent/ttyX:" + pty.slave().toUtf8());
    TCOMManager m;
    qputenv("VEM_PORT", old);
    ASSERT_GE(m.count(), 1);
    EXPECT_EQ(m.entry(0).systemLocation, pty.slave());
    EXPECT_EQ(m.entry(0).displayName, pty.slave());
    EXPECT_EQ(m.DefaultPort(), m.entry(0).number);
    for (int i = 0; i < m.count(); ++i) EXPECT_NE(m.entry(i).systemLocation, "/nonexistent/ttyX");
    EXPECT_FALSE(m.RecheckPorts());
}

TEST(SerialPty, BytesPassBothWaysUnchangedAndAClosedPortDoesNothing) {
    Pty pty;
    COMManager().AddDevicePath(pty.slave());
    const int number = COMManager().NumberAt(pty.slave());
    TSerial s;
    s.PortByIndex(COMManager().Port2Index(number));
    s.SetCOMPort(9999);  // not listed
    ASSERT_EQ(s.COMPort(), number);

    QByteArray got;
    bool sending = false;
    s.OnRxChar = [&](TSerial& sender) {
        EXPECT_FALSE(sending);  // never from inside TData
        const int n = sender.GetBufRec();
        QByteArray part(n, '\0');
        EXPECT_EQ(sender.RData(part.data(), 1000), static_cast<unsigned>(n));
        got += part;
    };
    s.SetActive(true);
    ASSERT_TRUE(s.Active());
    EXPECT_EQ(COMManager().entry(COMManager().Port2Index(number)).serial, &s);

    QByteArray bytes;
    for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
    EXPECT_EQ(s.TData(bytes.constData(), 256), 256u);
    EXPECT_EQ(s.TText("\r\n"), 2u);
    EXPECT_EQ(pty.receive(258), bytes + "\r\n");
    pty.send(bytes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return got.size() >= 256; }));
    EXPECT_EQ(got, bytes);

    // What arrives while TData waits is reported once it has returned.
    got.clear();
    pty.send("ping");
    sending = true;
    EXPECT_EQ(s.TData(bytes.constData(), 256), 256u);
    sending = false;
    EXPECT_EQ(pty.receive(256), bytes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return got == "ping"; }));

    s.OnRxChar = nullptr;
    pty.send("xyz");
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.GetBufRec() == 3; }));
    EXPECT_EQ(s.RText(), "xyz");
    EXPECT_EQ(s.RText(), "");

    s.SetActive(false);
    EXPECT_EQ(COMManager().entry(COMManager().Port2Index(number)).serial, nullptr);
    pty.send("late");
    char buf[8];
    EXPECT_EQ(s.GetBufRec(), 0);
    EXPECT_EQ(s.RData(buf, sizeof buf), 0u);
    EXPECT_EQ(s.RText(), "");
    EXPECT_EQ(s.TText("lost"), 0u);
    EXPECT_FALSE(s.Purge(true, true, true, true));

    s.SetActive(true);  // what came while closed is gone
    pty.send("new");
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.GetBufRec() >= 3; }));
    EXPECT_EQ(s.RText(), "new");
}

TEST(SerialPty, PortsThatCannotOpenStayClosedWithTheReason) {
    Pty pty;
    COMManager().AddDevicePath(pty.slave());
    TSerial first;
    first.SetCOMPort(COMManager().NumberAt(pty.slave()));
    first.SetActive(true);
    ASSERT_TRUE(first.Active());
    struct Case {
        const char* name;
        std::function<void(SerialLine&)> line;
        int port;
        OpenFailure reason;
    };
    const std::vector<Case> cases{
        {"same port again", [](SerialLine&) {}, first.COMPort(), OpenFailure::Busy},
        {"no port", [](SerialLine&) {}, 0, OpenFailure::Absent},
        {"4 data bits", [](SerialLine& l) { l.DataBits = TDataBits::db_4; }, first.COMPort(),
         OpenFailure::UnsupportedSetting},
        {"DTR/DSR", [](SerialLine& l) { l.HandshakeDtrDsr = true; }, first.COMPort(),
         OpenFailure::UnsupportedSetting},
    };
    for (const Case& c : cases) {
        TSerial s;
        s.SetCOMPort(c.port);
        c.line(s.Line());
        s.SetActive(true);
        EXPECT_FALSE(s.Active()) << c.name;
        EXPECT_EQ(s.LastOpenProblem().reason, c.reason) << c.name;
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
    // Through links in the folder, so that nothing stays listed after the test.
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
        COMManager().AddDevicePath(c.path);
        TSerial s;
        s.SetCOMPort(COMManager().NumberAt(c.path));
        ASSERT_NE(s.COMPort(), 0) << qPrintable(c.path);
        s.SetActive(true);
        EXPECT_FALSE(s.Active()) << qPrintable(c.path);
        EXPECT_EQ(s.LastOpenProblem().reason, OpenFailure::NotASerialPort) << qPrintable(c.path);
        EXPECT_EQ(s.TText("x"), 0u);
    }
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "kept");
    EXPECT_EQ(portPathFault(dir.filePath("missing")), PortPathFault::Absent);
}

TEST(SerialPty, DeviceHangingUpClosesThePortOnce) {
    Pty pty;
    COMManager().AddDevicePath(pty.slave());
    TSerial s;
    s.SetCOMPort(COMManager().NumberAt(pty.slave()));
    int removed = 0;
    s.OnCOMRemoved = [&](TCustomSerial&) { ++removed; };
    s.SetActive(true);
    ASSERT_TRUE(s.Active());
    pty.hangUp();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !s.Active(); }));
    QTest::qWait(50);  // a repeated error would land here
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(s.TText("x"), 0u);
}

TEST(SerialPty, WatchingSeesAPortComeAndGoAndClosesItsComponent) {
    Pty pty;
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyWatched");
    TCOMManager& m = COMManager();
    m.AddDevicePath(link);  // not there yet
    EXPECT_EQ(COMManager().NumberAt(link), 0);
    int arrivals = 0;
    int removals = 0;
    m.OnCOMArrival = [&](TCOMManager&) { ++arrivals; };
    m.OnCOMRemoval = [&](TCOMManager&) { ++removals; };
    m.startWatching();

    ASSERT_TRUE(QFile::link(pty.slave(), link));
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrivals == 1; }));
    TSerial s;
    s.SetCOMPort(COMManager().NumberAt(link));
    int removed = 0;
    s.OnCOMRemoved = [&](TCustomSerial&) { ++removed; };
    s.SetActive(true);
    ASSERT_TRUE(s.Active());
    TSerial busy;
    busy.SetCOMPort(s.COMPort());
    busy.SetActive(true);
    EXPECT_EQ(busy.LastOpenProblem().location, link.toStdString());
    EXPECT_FALSE(m.RecheckPorts());  // the link to s survives a look that finds no change

    ASSERT_TRUE(QFile::remove(link));
    EXPECT_TRUE(QTest::qWaitFor([&] { return removals == 1; }));
    m.stopWatching();
    m.OnCOMArrival = m.OnCOMRemoval = nullptr;
    EXPECT_EQ(arrivals, 1);
    EXPECT_FALSE(s.Active());
    EXPECT_EQ(removed, 1);
    s.SetActive(true);
    EXPECT_EQ(s.LastOpenProblem().reason, OpenFailure::Absent);
    EXPECT_EQ(s.LastOpenProblem().location, link.toStdString());
}

}  // namespace
}  // namespace vem
