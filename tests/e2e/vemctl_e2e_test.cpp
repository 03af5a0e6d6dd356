#include <sys/stat.h>
#include <unistd.h>

#include "VemctlRun.h"
#include "model/DeviceImage.h"

namespace {

using vem::test::QorsimProcess;
using vem::test::readAll;
using vem::test::writeFile;
using Result = vem::test::VemctlResult;
using Vemctl = vem::test::VemctlFolder;

TEST_F(Vemctl, ProgramVerifiesAndReadThenProgramGivesTheSameDevice) {
    QorsimProcess sim({"--memory", path("device")});
    const Result programmed = onDevice(sim, {"program", "default.qor"});
    ASSERT_EQ(programmed.exit, 0) << programmed.err.toStdString();
    EXPECT_TRUE(programmed.err.contains("verified"));
    const QByteArray main = memory("main.bin"), header = memory("header.bin"), screen = memory("screen.bin");
    ASSERT_EQ(main.size(), 16384);

    QDir(folder.path()).mkdir("copy");
    const Result read = onDevice(sim, {"read", "-o", "copy/default.qor"});
    ASSERT_EQ(read.exit, 0) << read.err.toStdString();
    EXPECT_EQ(readAll(path("copy/default-readout.bin")), main + header);
    const Result again = onDevice(sim, {"program", "copy/default.qor"});
    ASSERT_EQ(again.exit, 0) << again.err.toStdString();
    sim.stop();
    EXPECT_EQ(memory("main.bin"), main);
    EXPECT_EQ(memory("screen.bin"), screen);
    // Only the programming date may differ.
    QByteArray header2 = memory("header.bin");
    ASSERT_EQ(header2.size(), header.size());
    for (std::size_t at = vem::HeaderAt::ProgramDay; at <= vem::HeaderAt::ProgramMinute; ++at) header2[at] = header[at];
    EXPECT_EQ(header2, header);
}

// A device that holds no image of this program (qorsim starts with zeros) is not taken as a
// project unless asked to.
TEST_F(Vemctl, ReadRefusesAnImageWithoutTheMarkUnlessForced) {
    QorsimProcess sim;
    const Result refused = onDevice(sim, {"read", "-o", "r.qor"});
    EXPECT_EQ(refused.exit, 1);
    EXPECT_TRUE(refused.err.contains("--force")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("r.qor")));
    const Result forced = onDevice(sim, {"read", "-o", "r.qor", "--force"});
    EXPECT_EQ(forced.exit, 0) << forced.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("r.qor")));
}

TEST_F(Vemctl, VerifyNamesTheAreaAndOffsetOfACorruptedByte) {
    QorsimProcess sim({"--corrupt-byte", QString::number(vem::MainAreaSize + 0x20)});
    const Result r = onDevice(sim, {"program", "default.qor"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.err.contains("found a difference")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Area header, offset 32 (0x0020)")) << r.err.toStdString();
}

TEST_F(Vemctl, DeviceFaultsEndWithExitCodeOneAndTheirMessage) {
    struct Case {
        QStringList fault;
        QStringList command;
        const char* message;
    };
    const Case cases[] = {
        {{"--no-reply-at", "0"}, {"program", "default.qor"}, "No reply from the device"},
        {{"--wrong-reply-at", "0"}, {"program", "default.qor"}, "did not acknowledge"},
        {{"--no-reply-at", "40"}, {"program", "default.qor"}, "step 40 of 268"},
        {{"--short-readback", "10"}, {"read", "-o", "r.qor"}, "No reply from the device"},
        {{"--no-reply-at", "0"}, {"info"}, "QV info, step 0 of 2"},
        {{"--no-reply-at", "0"}, {"clock"}, "No reply from the device"},
        {{"--no-reply-at", "3"}, {"upload-font", "font.zsz"}, "The transfer is incomplete"},
        // The read-back of the verify gets 0x55 bytes in place of a main area block.
        {{"--wrong-reply-at", "275"}, {"program", "default.qor"}, "Area main, offset"},
    };
    writeFile(path("font.zsz"), QByteArray(3584, 'f'));
    for (const Case& c : cases) {
        QorsimProcess sim(c.fault);
        const Result r = onDevice(sim, QStringList(c.command) << "--timeout-ms" << "300");
        EXPECT_EQ(r.exit, 1) << c.fault.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        if (!QString(c.message).startsWith("Area")) {
            EXPECT_TRUE(r.err.contains("Port " + sim.path())) << r.err.toStdString();
        }
    }
    const Result absent = run({"info", "--port", "/dev/no-such-port"});
    EXPECT_EQ(absent.exit, 1);
    EXPECT_TRUE(absent.err.contains("/dev/no-such-port: It does not exist.")) << absent.err.toStdString();
}

// Noise on the line or a second device: a reply of more bytes than its block fails the run at
// that step. Nothing of it is written, and the verify after programming names it rather than
// differing bytes.
TEST_F(Vemctl, RepliesOfMoreBytesThanABlockFailTheRun) {
    const char* const extraBytes = "More bytes came than a block holds";
    {
        QorsimProcess sim({"--noise-before-block", "10"});
        const Result read = onDevice(sim, {"read", "-o", "r.qor", "--force"});
        EXPECT_EQ(read.exit, 1);
        EXPECT_TRUE(read.err.contains(extraBytes)) << read.err.toStdString();
        EXPECT_TRUE(read.err.contains("Port " + sim.path() + ", Read from QV, step ")) << read.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("r.qor")));
        EXPECT_FALSE(QFile::exists(path("r-readout.bin")));
    }
    QorsimProcess sim({"--noise-after-block", "10"});
    const Result programmed = onDevice(sim, {"program", "default.qor"});
    EXPECT_EQ(programmed.exit, 1);
    EXPECT_TRUE(programmed.err.contains(extraBytes)) << programmed.err.toStdString();
    EXPECT_FALSE(programmed.err.contains("found a difference")) << programmed.err.toStdString();
}

// A fresh device (zeros) or one that answers garbage holds no project that VEM wrote: info says
// so instead of showing its bytes as a name and a date.
TEST_F(Vemctl, InfoOfADeviceWithoutTheMarkSaysItHoldsNoProject) {
    for (const QStringList& device : {QStringList{}, QStringList{"--wrong-reply-at", "0"}}) {
        QorsimProcess sim(device);
        const Result info = onDevice(sim, {"info"});
        EXPECT_EQ(info.exit, 1) << device.join(' ').toStdString();
        EXPECT_TRUE(info.err.contains("The device holds no project written by VEM")) << info.err.toStdString();
        EXPECT_FALSE(info.out.contains("project:")) << info.out.toStdString();
    }
}

TEST_F(Vemctl, ADeviceThatGoesAwayEndsTheTransfer) {
    QorsimProcess sim({"--baud", "9600"});
    QProcess p;
    p.setWorkingDirectory(folder.path());
    p.start(VEMCTL_PATH, {"program", "default.qor", "--port", sim.path(), "--language", VEM_DATA_DIR "/language-en.txt"});
    QByteArray err;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (err += p.readAllStandardError()).contains("block"); }, 20000));
    sim.kill();
    ASSERT_TRUE(p.waitForFinished(20000));
    err += p.readAllStandardError();
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(err.contains("The connection to the device was lost.")) << err.toStdString();
}

TEST_F(Vemctl, ServiceCommandsReachTheDevice) {
    QorsimProcess sim({"--memory", path("device"), "--split", "--merge-blocks", "--latency-ms", "2"});
    const QByteArray glyphs(3584, '\x5A');
    writeFile(path("font.zsz"), glyphs);
    const Result up = onDevice(sim, {"upload-font", "font.zsz"});
    EXPECT_EQ(up.exit, 0) << up.err.toStdString();
    const Result clock = onDevice(sim, {"clock"});
    EXPECT_EQ(clock.exit, 0) << clock.err.toStdString();
    ASSERT_EQ(onDevice(sim, {"program", "default.qor", "--no-verify"}).exit, 0);
    sim.stop();
    EXPECT_EQ(memory("font.bin"), glyphs);
    EXPECT_NE(memory("clock.bin"), QByteArray(64, '\0'));
    // The two header blocks that a merging device sends at once come as one reply whenever the
    // host reads them together, and an information request then times out: asked of a plain device.
    QorsimProcess plain({"--memory", path("device")});
    const Result info = onDevice(plain, {"info"});
    EXPECT_EQ(info.exit, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains("project: default.qor")) << info.out.toStdString();
}

TEST_F(Vemctl, BuildWritesTheAreasQorsimLoads) {
    // The project's names are found from its folder, the command line's from the working folder.
    QDir(folder.path()).mkpath("site");
    for (const char* name : {"default.qor", "default.bin"}) QFile::copy(path(name), path(QString("site/") + name));
    const Result built = run({"build", "site/default.qor", "-o", "image"});
    ASSERT_EQ(built.exit, 0) << built.err.toStdString();
    EXPECT_EQ(readAll(path("image/main.bin")).size(), 16384);
    EXPECT_EQ(readAll(path("image/screen.bin")).size(), 640);
    QorsimProcess sim({"--memory", path("image")});
    const Result info = onDevice(sim, {"info"});
    EXPECT_TRUE(info.out.contains("project: default.qor")) << info.out.toStdString();
}

// A save through a link writes beside the file the link leads to, and an open through the link
// looks for the image there too.
TEST_F(Vemctl, AProjectReachedByALinkFindsTheImageSavedBesideItsFile) {
    QorsimProcess sim;
    ASSERT_EQ(onDevice(sim, {"program", "default.qor"}).exit, 0);
    QDir(folder.path()).mkpath("a");
    QDir(folder.path()).mkpath("b");
    ASSERT_EQ(onDevice(sim, {"read", "-o", "b/real.qor"}).exit, 0);
    ASSERT_TRUE(QFile::link("../b/real.qor", path("a/link.qor")));
    const Result read = onDevice(sim, {"read", "-o", "a/link.qor"});
    ASSERT_EQ(read.exit, 0) << read.err.toStdString();
    EXPECT_TRUE(QFileInfo(path("a/link.qor")).isSymLink());
    const Result verified = onDevice(sim, {"verify", "a/link.qor"});
    EXPECT_EQ(verified.exit, 0) << verified.err.toStdString();
}

// The project and its image land together, only where asked, under the names as given.
TEST_F(Vemctl, ReadSavesAnImageOfItsOwnAndRefusesAReadOnlyProjectUnlessForced) {
    QorsimProcess sim;
    ASSERT_EQ(onDevice(sim, {"program", "default.qor"}).exit, 0);
    writeFile(path("ro.qor"), "previous");
    ASSERT_EQ(::chmod(QFile::encodeName(path("ro.qor")).constData(), 0444), 0);
    const Result refused = onDevice(sim, {"read", "-o", "ro.qor", "--json"});
    EXPECT_EQ(refused.exit, 3);
    EXPECT_TRUE(refused.out.contains("\"failure\"")) << refused.out.toStdString();
    EXPECT_EQ(readAll(path("ro.qor")), "previous");
    EXPECT_FALSE(QFile::exists(path("ro-readout.bin")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.qor")).constData(), 0600), 0);
    const Result notAFile = onDevice(sim, {"read", "-o", "fifo.qor", "--json"});
    EXPECT_EQ(notAFile.exit, 3);
    EXPECT_TRUE(notAFile.out.contains("\"reason\": \"it is not an ordinary file")) << notAFile.out.toStdString();
    EXPECT_TRUE(notAFile.err.contains(path("fifo.qor") + ": it is not an ordinary file")) << notAFile.err.toStdString();
    EXPECT_EQ(onDevice(sim, {"read", "-o", "ro.qor", "--force"}).exit, 0);
    EXPECT_TRUE(readAll(path("ro.qor")).startsWith("ro-readout.bin"));

    // A name that is not UTF-8 keeps its bytes, through read and check alike, and reaches the
    // device as the Windows-1252 name it is.
    QProcess shell;
    shell.setWorkingDirectory(folder.path());
    shell.start("/bin/sh", {"-c", QString("\"%1\" read -o \"$(printf 'latin\\344.qor')\" --port %2 && "
                                          "\"%1\" check \"$(printf 'latin\\344.qor')\" && "
                                          "\"%1\" program \"$(printf 'latin\\344.qor')\" --port %2 && "
                                          "\"%1\" info --port %2")
                                      .arg(VEMCTL_PATH, sim.path())});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(shell.readAllStandardOutput()).contains(u"latin\u00e4.qor"));
    const QByteArray latin = folder.path().toUtf8() + "/latin\xe4";
    for (const char* suffix : {".qor", "-readout.bin"})
        EXPECT_EQ(::access((latin + suffix).constData(), F_OK), 0) << suffix;
}

TEST_F(Vemctl, BuildWritesAllThreeAreasOrNone) {
    QDir(folder.path()).mkdir("image");
    writeFile(path("image/main.bin"), "old");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("image/screen.bin")).constData(), 0600), 0);
    const Result refused = run({"build", "default.qor", "-o", "image"});
    EXPECT_EQ(refused.exit, 3);
    EXPECT_TRUE(refused.err.contains("screen.bin: cannot be written: it is not an ordinary file")) << refused.err.toStdString();
    EXPECT_EQ(readAll(path("image/main.bin")), "old");
    EXPECT_FALSE(QFile::exists(path("image/header.bin")));
}

TEST_F(Vemctl, UsageAndFileProblemsHaveTheirExitCodes) {
    QByteArray text = readAll(path("default.qor"));
    text.replace(0, text.indexOf('\n') + 1, "missing.bin\r\n");  // the template is on line 1
    writeFile(path("lost.qor"), text);
    const struct {
        QStringList arguments;
        int exit;
        const char* output = "";
    } cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"program"}, 2},
        {{"program", "default.qor"}, 2},  // no port
        {{"read", "--port", "/dev/null"}, 2},
        {{"show", "default.qor", "--data-set", "5"}, 2},
        {{"show", "default.qor", "--data-set", "0"}, 2},
        {{"info", "--port", "/dev/null", "--baud", "12345"}, 2},
        {{"info", "--port", "/dev/null", "--timeout-ms", "0"}, 2},
        {{"info", "--port", "/dev/null", "--timeout-ms", "soon"}, 2},
        {{"check", "default.qor", "--quiet", "--verbose"}, 2},
        {{"--help"}, 0, "Exit codes"},
        {{"check", "default.qor", "--quiet"}, 0},
        {{"show", "default.qor"}, 0, "field 1: row 3, column 10, length 20"},
        {{"show", "default.qor", "--data-set", "4"}, 0},
        {{"check", "lost.qor"}, 3, "missing.bin"},
        {{"program", "lost.qor", "--port", "/dev/null"}, 3},
        {{"program", "none.qor", "--port", "/dev/null"}, 3},
        {{"upload-font", "default.bin", "--port", "/dev/null"}, 3},
        {{"build", "default.qor", "-o", "default.bin/x"}, 3},
    };
    for (const auto& c : cases) {
        const Result r = run(c.arguments);
        EXPECT_EQ(r.exit, c.exit) << c.arguments.join(' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(c.output)) << c.arguments.join(' ').toStdString();
    }
}

// The sample with line `line` (from 1) replaced, or cut after line `line` when `text` is null.
QByteArray sampleWith(const QString& sample, int line, const char* text) {
    QList<QByteArray> lines = readAll(sample).split('\n');
    lines.removeLast();  // after the last line feed
    if (text)
        lines[line - 1] = text;
    else
        lines = lines.mid(0, line);
    return lines.join('\n') + '\n';
}

TEST_F(Vemctl, ProgramAndVerifyRefuseWhatCheckRefusesUnlessForced) {
    writeFile(path("cut.qor"), sampleWith(path("default.qor"), 50, nullptr));
    writeFile(path("odd.qor"), sampleWith(path("default.qor"), 123, "300"));  // a hold time the device cannot hold
    QorsimProcess sim({"--memory", path("device")});
    const struct {
        QStringList arguments;
        int exit;
        const char* said;
    } cases[] = {
        {{"program", "cut.qor"}, 3, "has 50 lines, 162 expected"},
        {{"program", "cut.qor", "--force"}, 3, "not a project"},
        {{"verify", "cut.qor"}, 3, "has 50 lines, 162 expected"},
        {{"program", "odd.qor"}, 3, "--force"},
        {{"verify", "odd.qor"}, 3, "data hold time is 300"},
        {{"program", "odd.qor", "--force"}, 0, "programmed and verified"},
        {{"verify", "odd.qor", "--force"}, 0, "the device holds"},
    };
    for (const auto& c : cases) {
        const Result r = onDevice(sim, c.arguments);
        EXPECT_EQ(r.exit, c.exit) << c.arguments.join(' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.said)) << c.arguments.join(' ').toStdString() << "\n" << r.err.toStdString();
    }
    sim.stop();
    EXPECT_EQ(memory("header.bin").at(vem::HeaderAt::DataHold), char(300 & 0xFF));
    EXPECT_TRUE(run({"--help"}).out.contains("--force: even a project check refuses"));
}

TEST_F(Vemctl, ProblemsAndFileFaultsAreSaidInTheChosenLanguage) {
    writeFile(path("odd.qor"), sampleWith(path("default.qor"), 123, "999"));
    const struct {
        const char* language;
        QStringList arguments;
        const char* said;
    } cases[] = {
        {"language.txt", {"check", "odd.qor"}, "Haltezeit Daten ist 999, au\u00DFerhalb von 0..255"},
        {"language-en.txt", {"check", "odd.qor"}, "data hold time is 999, outside 0..255"},
        {"language.txt", {"program", "odd.qor", "--port", "/dev/null"}, "odd.qor: abgelehnt, da die Pr\u00FCfung es ablehnt"},
        {"language.txt", {"show", "none.qor"}, "none.qor: nicht vorhanden"},
        {"language-en.txt", {"show", "none.qor"}, "none.qor: does not exist"},
    };
    for (const auto& c : cases) {
        const Result r = run(QStringList(c.arguments) << "--language" << QString(VEM_DATA_DIR "/") + c.language);
        EXPECT_TRUE((r.out + r.err).contains(QString::fromUtf8(c.said))) << c.language << " " << (r.out + r.err).toStdString();
    }
}

TEST_F(Vemctl, AFifoIsNamedAndNeverWaitedFor) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.qor")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.bin")).constData(), 0600), 0);
    writeFile(path("p.qor"), sampleWith(path("default.qor"), 1, "fifo.bin"));
    const struct {
        QStringList arguments;
        const char* said;
    } cases[] = {
        {{"show", "fifo.qor"}, "fifo.qor: is a FIFO"},
        {{"build", "p.qor", "-o", "out"}, "fifo.bin: is a FIFO"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.arguments);
        EXPECT_EQ(r.exit, 3) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE((r.out + r.err).contains(c.said)) << c.arguments.join(' ').toStdString() << "\n"
                                                      << (r.out + r.err).toStdString();
    }
}

}  // namespace
