// vemctl stopped by SIGTERM, SIGINT or SIGHUP in the middle of programming qorsim.
#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "VemctlRun.h"
#include "serial/PortRegistry.h"
#include "serial/SerialPort.h"

namespace {

using vem::test::QorsimProcess;

// The lock files that name the device behind `path` (Qt's name for them: LCK..pts_7).
QStringList lockFiles(const QString& path) {
    const QFileInfo device(QFileInfo(path).canonicalFilePath());
    const QString name = "LCK.." + device.dir().dirName() + "_" + device.fileName();
    QStringList found;
    for (const char* folder : {"/var/lock", "/run/lock", "/var/spool/locks", "/tmp", "/var/tmp"})
        if (QFileInfo::exists(QString(folder) + "/" + name)) found << QString(folder) + "/" + name;
    return found;
}

speed_t lineSpeed(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    const bool read = fd >= 0 && ::tcgetattr(fd, &t) == 0;
    if (fd >= 0) ::close(fd);
    return read ? ::cfgetospeed(&t) : B0;
}

struct VemctlInterrupt : vem::test::VemctlFolder {};

TEST_F(VemctlInterrupt, APortOnWhichProgrammingWasStoppedIsClosedAndRestoredWithOneLine) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        // The device's line idles at 9600 baud; vemctl sets 57600 while it programs.
        QorsimProcess sim({"--baud", "57600", "--idle-baud", "9600", "--memory", path("device")});
        ASSERT_FALSE(sim.path().isEmpty());
        QProcess vemctl;
        vemctl.setWorkingDirectory(folder.path());
        vemctl.start(VEMCTL_PATH, {"program", "default.qor", "--port", sim.path(), "--json", "--language",
                                   VEM_DATA_DIR "/language-en.txt"});
        // Once a tenth of the blocks has gone out.
        QString err;
        const QRegularExpression progress(R"((\d+)/268)");
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                err += QString::fromUtf8(vemctl.readAllStandardError());
                auto match = progress.globalMatch(err);
                int last = 0;
                while (match.hasNext()) last = match.next().captured(1).toInt();
                return last >= 27;
            },
            20000))
            << err.toStdString();
        ASSERT_FALSE(lockFiles(sim.path()).isEmpty());
        ASSERT_EQ(::kill(static_cast<pid_t>(vemctl.processId()), signal), 0);
        ASSERT_TRUE(vemctl.waitForFinished(10000));
        err += QString::fromUtf8(vemctl.readAllStandardError());

        EXPECT_EQ(vemctl.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(vemctl.exitCode(), 128 + signal);
        const QRegularExpression line(sim.path() + R"(: interrupted at step (\d+) of 268: The device now holds )"
                                                   R"(an incomplete image; program it again\.\n)");
        const auto said = line.match(err);
        ASSERT_TRUE(said.hasMatch()) << err.toStdString();
        EXPECT_GT(said.captured(1).toInt(), 0);
        EXPECT_EQ(err.count("interrupted"), 1) << err.toStdString();

        const QJsonObject document = QJsonDocument::fromJson(vemctl.readAllStandardOutput()).object();
        EXPECT_EQ(document["exit"].toInt(), 128 + signal);
        const QJsonArray devices = document["devices"].toArray();
        ASSERT_EQ(devices.size(), 1);
        const QJsonObject device = devices[0].toObject();
        EXPECT_FALSE(device["ok"].toBool());
        EXPECT_EQ(device["exit"].toInt(), 128 + signal);
        const QJsonObject failure = device["failure"].toObject();
        EXPECT_TRUE(err.contains(failure["message"].toString())) << failure["message"].toString().toStdString();
        const QJsonObject interrupted = failure["interrupted"].toObject();
        EXPECT_EQ(interrupted["signal"].toInt(), signal);
        EXPECT_EQ(interrupted["step"].toInt(), said.captured(1).toInt());
        EXPECT_EQ(interrupted["steps"].toInt(), 268);
        EXPECT_TRUE(interrupted["deviceIncomplete"].toBool());

        // Let go as a finished run would be: no lock, the line settings from before, open to anyone.
        EXPECT_TRUE(lockFiles(sim.path()).isEmpty()) << lockFiles(sim.path()).join(' ').toStdString();
        EXPECT_EQ(lineSpeed(sim.path()), speed_t(B9600));
        vem::PortRegistry registry;
        registry.addDevicePath(sim.path());
        vem::SerialPort port(registry);
        port.setPortNumber(registry.numberAt(sim.path()));
        EXPECT_TRUE(port.open());
    }
}

// Interrupted in the second before the port closes, the device holds all it was sent: said in
// the language's words.
TEST_F(VemctlInterrupt, AnInterruptAfterTheLastBlockSaysTheOperationCompleted) {
    QorsimProcess sim({"--memory", path("device")});
    QProcess vemctl;
    vemctl.setWorkingDirectory(folder.path());
    vemctl.start(VEMCTL_PATH, {"program", "default.qor", "--no-verify", "--port", sim.path(), "--json", "--language",
                               VEM_DATA_DIR "/language.txt"});
    QString err;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (err += vemctl.readAllStandardError()).contains("268/268"); }, 20000));
    ASSERT_EQ(::kill(static_cast<pid_t>(vemctl.processId()), SIGINT), 0);
    ASSERT_TRUE(vemctl.waitForFinished(10000));
    err += vemctl.readAllStandardError();
    EXPECT_TRUE(err.contains(": unterbrochen nach Schritt 268 von 268: der Vorgang war abgeschlossen\n")) << err.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(vemctl.readAllStandardOutput()).object();
    const QJsonObject interrupted = document["devices"][0]["failure"]["interrupted"].toObject();
    EXPECT_TRUE(interrupted["completed"].toBool());
    EXPECT_FALSE(interrupted["deviceIncomplete"].toBool());
}

// A reader of its messages that goes away (`| head -2`) stops no device operation.
TEST_F(VemctlInterrupt, ProgrammingGoesOnWhenStderrIsClosed) {
    QorsimProcess sim({"--memory", path("device")});
    QProcess vemctl;
    vemctl.setWorkingDirectory(folder.path());
    vemctl.setChildProcessModifier([] {
        int gone[2];  // a pipe whose reading end no one holds
        if (::pipe(gone) != 0) ::_exit(99);
        ::dup2(gone[1], STDERR_FILENO);
        ::close(gone[0]);
        ::close(gone[1]);
    });
    vemctl.start(VEMCTL_PATH, {"program", "default.qor", "--port", sim.path(), "--json"});
    ASSERT_TRUE(vemctl.waitForFinished(30000));
    EXPECT_EQ(vemctl.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vemctl.exitCode(), 0);
    EXPECT_EQ(QJsonDocument::fromJson(vemctl.readAllStandardOutput()).object()["exit"].toInt(-1), 0);
}

}  // namespace
