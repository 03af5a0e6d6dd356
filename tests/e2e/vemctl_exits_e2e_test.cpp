// vemctl's exit codes and its one JSON document, on every way each command can end.
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
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

// Each command line ends with its exit code and one JSON document that carries it; where the
// document lists errors, they are the lines said on stderr, and there are some exactly when it
// failed. <sim> answers, <mute> never does, <link> is a link to <sim>, <odd> one to <mute> whose
// name looks like placeholders.
TEST_F(VemctlExits, EveryOutcomeOfEveryCommandWritesOneJsonDocumentWithItsExitCode) {
    QorsimProcess sim({"--memory", path("device")});
    const MuteTerminal mute;
    ASSERT_FALSE(mute.path.isEmpty());
    ASSERT_TRUE(QFile::link(sim.path(), path("link")));
    struct stat simNode {};
    ASSERT_EQ(::stat(QFile::encodeName(sim.path()).constData(), &simNode), 0);
    // A second node of the device; without the right to make one, the link stands in.
    const bool madeNode = ::mknod(QFile::encodeName(path("node")).constData(), S_IFCHR | 0600, simNode.st_rdev) == 0;
    const QString node = madeNode ? path("node") : path("link");
    ASSERT_TRUE(QFile::link(mute.path, path("qor%3%1")));
    writeFile(path("font.zsz"), QByteArray(3584, 'f'));
    writeFile(path("firmware.ldr"), QByteArray(100, 'f'));
    writeFile(path("garbage.qor"), QByteArray(5000, '\x01'));
    QDir(folder.path()).mkdir("lone");
    ASSERT_TRUE(QFile::link("loop.qor", path("loop.qor")));
    writeFile(path("locked.qor"), "previous");
    ASSERT_TRUE(QFile::setPermissions(path("locked.qor"), QFile::ReadOwner));
    ASSERT_TRUE(QFile::copy(path("default.qor"), path("lone/default.qor")));  // without its template
    const auto devices = [&](QString text) {
        return text.replace("<sim>", sim.path()).replace("<mute>", mute.path).replace("<link>", path("link"))
            .replace("<odd>", path("qor%3%1")).replace("<node>", node);
    };
    const struct {
        QStringList arguments;
        int exit;
        QStringList said = {};  // on stderr
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
        {{"build", "lone/default.qor", "-o", "image"}, 3, {path("lone/default.bin"), "copy it there"}},
        {{"program", "default.qor", "--port", "<sim>"}, 0},
        {{"program", "default.qor", "--port", "<mute>"}, 1},
        {{"program", "default.qor"}, 2},
        {{"program", "default.qor", "--port", ""}, 2},
        {{"program", "none.qor", "--port", "<sim>"}, 3},
        {{"program", "garbage.qor", "--port", "<sim>"}, 3},
        {{"program", "lone/default.qor", "--port", "<sim>", "--force"}, 3},
        {{"verify", "default.qor", "--port", "<sim>"}, 0},
        {{"verify", "default.qor", "--port", "<mute>"}, 1},
        {{"verify", "default.qor", "--port", "<sim>", "--port", "<mute>"}, 1},
        {{"verify", "lone/default.qor", "--port", "<sim>"}, 3},
        {{"read", "--port", "<sim>", "-o", "copy.qor"}, 0},
        {{"read", "--port", "<mute>", "-o", "copy.qor"}, 1},
        {{"read", "--port", "<sim>"}, 2},
        {{"info", "--port", "<sim>"}, 0},
        {{"info", "--port", "<mute>"}, 1},
        // The port as it is, never taken for a placeholder, and the time-out as given.
        {{"info", "--port", "<odd>"}, 1, {"within 0.3 seconds", "Port <odd>, QV info, step 0 of 2"}},
        // One port named twice, also as a link and its target.
        {{"info", "--port", "<sim>", "--port", "<sim>"}, 2, {"<sim>"}},
        {{"info", "--port", "<sim>", "--port", "<link>"}, 2, {"<sim>", "<link>"}},
        {{"info", "--port", "<sim>", "--port", "<node>"}, 2, {"<sim>", "<node>"}},
        {{"clock", "--port", "<sim>"}, 0},
        {{"clock", "--port", "<mute>"}, 1},
        {{"upload-font", "font.zsz", "--port", "<sim>"}, 0},
        {{"upload-font", "font.zsz", "--port", "<mute>"}, 1},
        {{"upload-font", "none.zsz", "--port", "<sim>"}, 3},
        {{"upload-firmware", "firmware.ldr", "--port", "<mute>"}, 1},
        {{"upload-firmware", "none.ldr", "--port", "<sim>"}, 3},
        {{"diff", "default.qor", "port:<sim>"}, 0},
        {{"diff", "default.qor", "copy.qor"}, 0},
        {{"diff", "default.qor", "image"}, 0},
        {{"diff", "default.qor", "port:<mute>"}, 4},
        {{"diff", "default.qor", "port:/nonexistent"}, 4},
        {{"diff", "default.qor", "none.qor"}, 4},
        {{"diff", "lone/default.qor", "default.qor"}, 4},
        {{"diff", "default.qor"}, 2},
        // File arguments that name no file: empty, a folder, a loop of links, a name too long.
        {{"check", ""}, 3, {"empty file name"}},
        {{"show", ""}, 3},
        {{"build", "", "-o", "image"}, 3},
        {{"program", "", "--port", "<sim>"}, 3},
        {{"verify", "", "--port", "<sim>"}, 3},
        {{"upload-font", "", "--port", "<sim>"}, 3},
        {{"diff", "", "default.qor"}, 4},
        {{"diff", "default.qor", ""}, 4},
        {{"show", "lone"}, 3, {"is a folder"}},
        {{"show", "loop.qor"}, 3, {"is a loop of links"}},
        {{"build", QString(300, 'n'), "-o", "image"}, 3, {"name too long"}},
        // A read that could not be saved is refused before the device is asked (<mute> never answers).
        {{"read", "--port", "<mute>", "-o", "lone/"}, 3, {"it is a folder"}},
        {{"read", "--port", "<mute>", "-o", "no/copy.qor"}, 3, {"the folder does not exist"}},
        {{"read", "--port", "<mute>", "-o", "/dev/full"}, 3, {"not an ordinary file"}},
        {{"read", "--port", "<mute>", "-o", "loop.qor"}, 3, {"its links form a loop"}},
        {{"read", "--port", "<mute>", "-o", "locked.qor"}, 3, {"the file is read-only", "--force replaces it"}},
    };
    for (const auto& c : cases) {
        QStringList arguments;
        for (const QString& a : c.arguments) arguments << devices(a);
        arguments << "--json" << "--timeout-ms" << "300";
        const Result r = run(arguments);
        const std::string call = arguments.join(' ').toStdString();
        EXPECT_EQ(r.exit, c.exit) << call << "\n" << r.err.toStdString();
        for (const QString& said : c.said) EXPECT_TRUE(r.err.contains(devices(said))) << call << "\n" << r.err.toStdString();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(r.out.toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << call << "\n" << r.out.toStdString();
        EXPECT_TRUE(document.isObject()) << call;
        EXPECT_EQ(document.object()["exit"].toInt(-1), r.exit) << call;
        if (c.arguments.value(0) == "read" && r.exit != 0 && !document.object().contains("errors")) {
            const QJsonObject failure = document.object()["failure"].toObject();
            EXPECT_FALSE(failure.isEmpty()) << call;
            EXPECT_EQ(failure.contains("file"), failure.contains("reason")) << call;
        }
        if (!document.object().contains("errors")) continue;
        const QJsonArray errors = document.object()["errors"].toArray();
        EXPECT_EQ(errors.isEmpty(), r.exit == 0) << call << "\n" << r.out.toStdString();
        for (const auto& line : errors) EXPECT_TRUE(r.err.contains(line.toString())) << call << "\n" << r.err.toStdString();
    }
}

// Results that stdout does not take are no success: a full disk, or stdout closed.
TEST_F(VemctlExits, OutputThatCannotBeWrittenIsAnError) {
    for (const QStringList& arguments : {QStringList{"show", "default.qor"}, {"check", "default.qor", "--json"}}) {
        for (const bool closed : {false, true}) {
            QProcess p;
            p.setWorkingDirectory(folder.path());
            if (closed) p.setChildProcessModifier([] { ::close(STDOUT_FILENO); });
            else p.setStandardOutputFile("/dev/full");
            p.start(VEMCTL_PATH, QStringList(arguments) << "--language" << VEM_DATA_DIR "/language-en.txt");
            ASSERT_TRUE(p.waitForFinished(30000));
            const QString err = QString::fromUtf8(p.readAllStandardError());
            EXPECT_EQ(p.exitCode(), 5) << arguments.join(' ').toStdString() << " closed " << closed;
            EXPECT_TRUE(err.contains("The output could not be written: ")) << err.toStdString();
        }
    }
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
