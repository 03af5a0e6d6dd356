// vemctl's exit codes and its one JSON document, on every way each command can end.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "VemctlRun.h"

namespace {

using vem::test::QorsimProcess;
using vem::test::writeFile;
using Result = vem::test::VemctlResult;
using VemctlExits = vem::test::VemctlFolder;

// A terminal no device answers on.
struct MuteTerminal {
    int master = -1;
    QString path;
    MuteTerminal() {
        int slave = -1;
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
        ::close(slave);
        path = QString::fromLocal8Bit(name);
    }
    ~MuteTerminal() { ::close(master); }
};

// SIM and MUTE stand for a device that answers and one that never does.
QStringList withDevices(QStringList arguments, const QorsimProcess& sim, const MuteTerminal& mute) {
    for (QString& a : arguments) a.replace("SIM", sim.path()).replace("MUTE", mute.path);
    return arguments;
}

TEST_F(VemctlExits, EveryOutcomeOfEveryCommandWritesOneJsonDocumentWithItsExitCode) {
    QorsimProcess sim({"--memory", path("device")});
    const MuteTerminal mute;
    ASSERT_FALSE(mute.path.isEmpty());
    writeFile(path("font.zsz"), QByteArray(3584, 'f'));
    writeFile(path("firmware.ldr"), QByteArray(100, 'f'));
    writeFile(path("garbage.qor"), QByteArray(5000, '\x01'));
    QDir(folder.path()).mkdir("lone");
    ASSERT_TRUE(QFile::copy(path("default.qor"), path("lone/default.qor")));  // without its template
    const struct {
        QStringList arguments;
        int exit;
    } cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"--no-such-option"}, 2},
        {{"--help"}, 0},
        {{"ports"}, 0},
        {{"check", "default.qor"}, 0},
        {{"check", "lone/default.qor"}, 3},
        {{"check", "garbage.qor"}, 3},
        {{"show", "default.qor"}, 0},
        {{"show", "none.qor"}, 3},
        {{"build", "default.qor", "-o", "image"}, 0},
        {{"build", "lone/default.qor", "-o", "image"}, 3},
        {{"program", "default.qor", "--port", "SIM"}, 0},
        {{"program", "default.qor", "--port", "MUTE"}, 1},
        {{"program", "default.qor"}, 2},
        {{"program", "default.qor", "--port", ""}, 2},
        {{"program", "none.qor", "--port", "SIM"}, 3},
        {{"program", "garbage.qor", "--port", "SIM"}, 3},
        {{"program", "lone/default.qor", "--port", "SIM", "--force"}, 3},
        {{"verify", "default.qor", "--port", "SIM"}, 0},
        {{"verify", "default.qor", "--port", "MUTE"}, 1},
        {{"verify", "default.qor", "--port", "SIM", "--port", "MUTE"}, 1},
        {{"verify", "lone/default.qor", "--port", "SIM"}, 3},
        {{"read", "--port", "SIM", "-o", "copy.qor"}, 0},
        {{"read", "--port", "MUTE", "-o", "copy.qor"}, 1},
        {{"read", "--port", "SIM"}, 2},
        {{"info", "--port", "SIM"}, 0},
        {{"info", "--port", "MUTE"}, 1},
        {{"clock", "--port", "SIM"}, 0},
        {{"clock", "--port", "MUTE"}, 1},
        {{"upload-font", "font.zsz", "--port", "SIM"}, 0},
        {{"upload-font", "font.zsz", "--port", "MUTE"}, 1},
        {{"upload-font", "none.zsz", "--port", "SIM"}, 3},
        {{"upload-firmware", "firmware.ldr", "--port", "MUTE"}, 1},
        {{"upload-firmware", "none.ldr", "--port", "SIM"}, 3},
        {{"diff", "default.qor", "port:SIM"}, 0},
        {{"diff", "default.qor", "copy.qor"}, 0},
        {{"diff", "default.qor", "image"}, 0},
        {{"diff", "default.qor", "port:MUTE"}, 4},
        {{"diff", "default.qor", "port:/nonexistent"}, 4},
        {{"diff", "default.qor", "none.qor"}, 4},
        {{"diff", "lone/default.qor", "default.qor"}, 4},
        {{"diff", "default.qor"}, 2},
    };
    for (const auto& c : cases) {
        const QStringList arguments = withDevices(c.arguments, sim, mute) << "--json" << "--timeout-ms" << "300";
        const Result r = run(arguments);
        const std::string call = arguments.join(' ').toStdString();
        EXPECT_EQ(r.exit, c.exit) << call << "\n" << r.err.toStdString();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(r.out.toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << call << "\n" << r.out.toStdString();
        EXPECT_TRUE(document.isObject()) << call;
        EXPECT_EQ(document.object()["exit"].toInt(-1), r.exit) << call;
    }
    // A missing template is named, with what to do about it from a command line.
    const Result lone = run({"build", "lone/default.qor", "-o", "image"});
    EXPECT_TRUE(lone.err.contains(path("lone/default.bin")) && lone.err.contains("copy it there"))
        << lone.err.toStdString();
}

TEST_F(VemctlExits, ALanguageFileThatIsNoneEndsWithOneJsonDocument) {
    QProcess p;
    p.start(VEMCTL_PATH, {"check", path("default.qor"), "--json", "--language", path("none.txt")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 3);
    const QJsonObject document = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    EXPECT_EQ(document["exit"].toInt(), 3);
    EXPECT_TRUE(document["errors"].toArray()[0].toString().startsWith(path("none.txt"))) << p.readAllStandardError().toStdString();
}

TEST_F(VemctlExits, APortNamedTwiceIsAUsageErrorNamingBoth) {
    QorsimProcess sim;
    ASSERT_TRUE(QFile::link(sim.path(), path("link")));
    for (const QString& second : {sim.path(), path("link")}) {
        const Result r = run({"info", "--port", sim.path(), "--port", second});
        EXPECT_EQ(r.exit, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(sim.path()) && r.err.contains(second)) << r.err.toStdString();
    }
}

// Texts from outside stay as they are: a port path is never taken for a placeholder, and the
// time-out said is the one given.
TEST_F(VemctlExits, TheTimeOutMessageSaysTheTimeOutAndThePortAsItIs) {
    QorsimProcess mute({"--no-reply-at", "0"});
    ASSERT_TRUE(QFile::link(mute.path(), path("qor%3%1")));
    const Result r = run({"info", "--port", path("qor%3%1"), "--timeout-ms", "300"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.err.contains("within 0.3 seconds")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Port " + path("qor%3%1") + ", QV info, step 0 of 2")) << r.err.toStdString();
}

// The terminal vemctl runs in is no device: nothing may be written into it.
TEST_F(VemctlExits, TheControllingTerminalIsRefusedAsAPort) {
    const MuteTerminal own;
    ASSERT_FALSE(own.path.isEmpty());
    QProcess p;
    p.setWorkingDirectory(folder.path());
    const QString terminal = own.path;
    p.setChildProcessModifier([terminal] {
        ::setsid();  // a new session, whose first terminal opened becomes its controlling one
        const int fd = ::open(QFile::encodeName(terminal).constData(), O_RDWR);
        if (fd >= 0) ::close(fd);
    });
    p.start(VEMCTL_PATH, {"info", "--port", terminal, "--language", VEM_DATA_DIR "/language-en.txt"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("not a serial port")) << err.toStdString();
}

}  // namespace
