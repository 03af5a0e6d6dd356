// vemctl's verify, diff, several devices at once and --json, against qorsim devices.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>

#include "VemctlRun.h"
#include "model/DeviceImage.h"

namespace {

using vem::test::QorsimProcess;
using vem::test::readAll;
using vem::test::writeFile;
using Result = vem::test::VemctlResult;

// Replaces line `line` (from 1) of a project text.
QByteArray withLine(QByteArray text, int line, const QByteArray& replacement) {
    QList<QByteArray> lines = text.split('\n');
    lines[line - 1] = replacement;
    return lines.join('\n');
}

// Replaces item `item` (from 0) of a comma-separated line.
QByteArray withItem(const QByteArray& text, int line, int item, const QByteArray& replacement) {
    QList<QByteArray> items = text.split('\n')[line - 1].split(',');
    items[item] = replacement;
    return withLine(text, line, items.join(','));
}

QJsonObject parsed(const QString& out) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
    return document.object();
}

struct VemctlDevices : vem::test::VemctlFolder {
    // Everything but the programming date of what the device keeps in `memory` equals the build.
    void expectHoldsBuild(const QString& memoryFolder) {
        for (const char* area : {"main.bin", "screen.bin"})
            EXPECT_EQ(memory(area, memoryFolder), memory(area, "image")) << area;
        QByteArray header = memory("header.bin", memoryFolder);
        const QByteArray built = memory("header.bin", "image");
        ASSERT_EQ(header.size(), built.size());
        for (std::size_t at = vem::HeaderAt::ProgramDay; at <= vem::HeaderAt::ProgramMinute; ++at)
            header[at] = built[at];
        EXPECT_EQ(header, built);
    }
};

TEST_F(VemctlDevices, VerifyPassesOnTheProjectAndFailsOnAnotherOrACorruptedByte) {
    QorsimProcess sim;
    ASSERT_EQ(onDevice(sim, {"program", "default.qor", "--no-verify"}).exit, 0);
    const Result holds = onDevice(sim, {"verify", "default.qor"});
    EXPECT_EQ(holds.exit, 0) << holds.err.toStdString();
    EXPECT_TRUE(holds.err.contains("the device holds")) << holds.err.toStdString();

    // The same name in another folder, with another data hold time.
    QDir(folder.path()).mkdir("other");
    ASSERT_TRUE(QFile::copy(path("default.bin"), path("other/default.bin")));
    writeFile(path("other/default.qor"), withLine(readAll(path("default.qor")), 123, "9"));
    const Result other = onDevice(sim, {"verify", "other/default.qor"});
    EXPECT_EQ(other.exit, 1);
    EXPECT_TRUE(other.err.contains("Area header, offset 67 (0x0043): expected 0x09, read 0x03; 1 byte(s)"))
        << other.err.toStdString();

    QorsimProcess corrupting({"--corrupt-byte", "100"});
    ASSERT_EQ(onDevice(corrupting, {"program", "default.qor", "--no-verify"}).exit, 0);
    const Result corrupted = onDevice(corrupting, {"verify", "default.qor"});
    EXPECT_EQ(corrupted.exit, 1);
    EXPECT_TRUE(corrupted.err.contains("Area main, offset 100 (0x0064)")) << corrupted.err.toStdString();

    // Of several devices, the summary line of one that differs says its first difference.
    const Result both = run({"verify", "default.qor", "--port", sim.path(), "--port", corrupting.path()});
    EXPECT_EQ(both.exit, 1);
    const QStringList lines = both.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << both.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(corrupting.path() + "  failed  ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("does not hold " + path("default.qor") +
                                  ": Area main, offset 100 (0x0064): expected 0xFF, read 0x00"))
        << lines[1].toStdString();
}

TEST_F(VemctlDevices, ADeviceFallingSilentFailsAloneWhileTheOthersAreProgrammed) {
    ASSERT_EQ(run({"build", "default.qor", "-o", "image"}).exit, 0);
    QorsimProcess first({"--memory", path("one")}), second({"--memory", path("two")});
    QorsimProcess silent({"--memory", path("three"), "--silent-at", "40"});
    const Result r = run({"program", "default.qor", "--port", first.path(), "--port", second.path(), "--port",
                          silent.path(), "--timeout-ms", "500"});
    EXPECT_EQ(r.exit, 1) << r.err.toStdString();
    const QStringList lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(first.path() + "  ok  ") && lines[0].endsWith("default.qor")) << r.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(second.path() + "  ok  ")) << r.out.toStdString();
    EXPECT_TRUE(lines[2].startsWith(silent.path() + "  failed  ")) << r.out.toStdString();
    EXPECT_TRUE(lines[2].contains("No reply from the device") && lines[2].contains("step 40 of 268"))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(silent.path() + ": No reply from the device")) << r.err.toStdString();
    first.stop();
    second.stop();
    expectHoldsBuild("one");
    expectHoldsBuild("two");
}

TEST_F(VemctlDevices, AllPortsTakesTheDevicesVemPortNames) {
    QorsimProcess first, second;
    ASSERT_TRUE(QFile::link(first.path(), path("first")));  // the first again, by a link
    const QList<std::pair<QString, QString>> environment{
        {"VEM_PORT", first.path() + ":" + second.path() + ":" + path("first")}};
    const Result listed = vem::test::vemctl({"ports", "--json"}, folder.path(), environment);
    const QJsonArray ports = parsed(listed.out)["ports"].toArray();
    ASSERT_GE(ports.size(), 3);
    EXPECT_EQ(ports[0].toObject()["path"].toString(), first.path());
    EXPECT_EQ(ports[1].toObject()["path"].toString(), second.path());

    const Result r = vem::test::vemctl({"clock", "--all-ports", "--timeout-ms", "300"}, folder.path(), environment);
    const QStringList lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), ports.size() - 1) << r.out.toStdString();  // each device once
    EXPECT_TRUE(lines[0].startsWith(first.path() + "  ok  ")) << r.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(second.path() + "  ok  ")) << r.out.toStdString();
    // Ports of this machine besides the two have no device behind them.
    EXPECT_EQ(r.exit, ports.size() == 3 ? 0 : 1);
}

TEST_F(VemctlDevices, DiffNamesEachKindOfChangeInOneLine) {
    const QByteArray project = readAll(path("default.qor"));
    const QByteArray image = readAll(path("default.bin"));
    const auto imageWith = [&](std::size_t at, char value) {
        QByteArray changed = image;
        changed[static_cast<qsizetype>(at)] = value;
        return changed;
    };
    const std::size_t field1 = vem::FieldRecordBase;  // data set 1, field 1
    const struct {
        QByteArray project;
        QByteArray image;
        const char* line;
    } cases[] = {
        {withItem(project, 2, 0, "X"), image, "background text, row 1: \"QOR"},
        {project, imageWith(vem::MainAt::DataSetAvailable + 1, 0), "data set 2, available: yes -> no"},
        {withItem(project, 22, 1, "0"), image, "data set 1, field 2 switch: on -> off"},
        {withItem(project, 29, 0, "7"), image, "data set 1, field 1 row: 3 -> 7"},
        {withItem(project, 28, 0, "11"), image, "data set 1, field 1 column: 10 -> 11"},
        {withItem(project, 24, 0, "19"), image, "data set 1, field 1 length: 20 -> 19"},
        {project, imageWith(field1 + 3, '\x81'), "data set 1, field 1 type: Daten -> Datenz\u00e4hler"},
        {project, imageWith(field1 + 2, 5), "data set 1, field 1 offset: 0 -> 5"},
        {project, imageWith(field1 + 1, 1), "data set 1, field 1 conversion: 1 : 1 -> Spiegeln"},
        {withItem(project, 28, 16, "30"), image, "date and time, date column: 24 -> 30"},
        {withLine(project, 123, "9"), image, "Haltezeiten, Dateneinblendung: 3 -> 9"},
        {withLine(project, 127, "8"), image, "QV - Schnittstelle, Baudrate: 9600 -> 57600"},
        {withLine(project, 129, "8080"), image, "IP Adresse, Port: 0 -> 8080"},
        {withLine(project, 139, "1"), image, "Daten senden, Enable: off -> on"},
        {withLine(project, 132, "7"), image, "POS, Kassen Nr.: 1 -> 7"},
        {withLine(withLine(project, 144, "5"), 145, "START"), image, "POS Extended, Startdefinition: \"\" -> \"START\""},
        {withLine(withLine(project, 149, "5,0,0,0,0,0,0,0,0,0"), 150, "SUMME"), image,
         "POS Extended, Schl\u00fcsselwort 1: \"\" -> \"SUMME\""},
    };
    QDir(folder.path()).mkdir("b");
    ASSERT_TRUE(QFile::copy(path("default.qor"), path("b/default.qor")));
    ASSERT_TRUE(QFile::copy(path("default.bin"), path("b/default.bin")));
    const Result same = run({"diff", "default.qor", "b"});
    EXPECT_EQ(same.exit, 0);
    EXPECT_EQ(same.out, "");
    for (const auto& c : cases) {
        writeFile(path("b/default.qor"), c.project);
        writeFile(path("b/default.bin"), c.image);
        const Result r = run({"diff", "default.qor", "b/default.qor"});
        EXPECT_EQ(r.exit, 1) << c.line << "\n" << r.err.toStdString();
        const QStringList lines = r.out.trimmed().split('\n');
        EXPECT_EQ(lines.size(), 1) << r.out.toStdString();
        EXPECT_TRUE(lines.value(0).startsWith(QString::fromUtf8(c.line))) << r.out.toStdString();
    }
    // The project's name is the file's.
    writeFile(path("b/other.qor"), project);
    const Result renamed = run({"diff", "default.qor", "b/other.qor"});
    EXPECT_EQ(renamed.exit, 0);
    EXPECT_EQ(renamed.err.trimmed(), "note: project, name: \"default.qor\" -> \"other.qor\"");
    // Only data set 1 is compared: the availability of data set 2 is left out.
    writeFile(path("b/default.qor"), project);
    writeFile(path("b/default.bin"), imageWith(vem::MainAt::DataSetAvailable + 1, 0));
    EXPECT_EQ(run({"diff", "default.qor", "b/default.qor", "--data-set", "1"}).exit, 0);
}

// The project name and a programming date against none say which project and when: notes, and
// a device is equal to the project it holds, under whatever name its read-back was saved.
TEST_F(VemctlDevices, ADeviceEqualsItsProjectWhateverItsNameAndDate) {
    QorsimProcess sim;
    ASSERT_EQ(onDevice(sim, {"program", "default.qor", "--no-verify"}).exit, 0);
    const Result r = run({"diff", "default.qor", "port:" + sim.path()});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("note: project, programming date: none -> ")) << r.err.toStdString();

    ASSERT_EQ(onDevice(sim, {"read", "-o", "renamed.qor"}).exit, 0);
    const Result verified = onDevice(sim, {"verify", "renamed.qor"});
    EXPECT_EQ(verified.exit, 0) << verified.err.toStdString();
    EXPECT_TRUE(verified.err.contains("note: the device names its project default.qor, the project file renamed.qor"))
        << verified.err.toStdString();
    const QJsonObject named = parsed(run({"diff", "renamed.qor", "port:" + sim.path(), "--json"}).out);
    EXPECT_TRUE(named["equal"].toBool());
    const QJsonArray notes = named["notes"].toArray();
    ASSERT_EQ(notes.size(), 2);
    EXPECT_EQ(notes[0].toObject()["item"].toString(), "name");

    // A build's folder holds its programming date as a device does.
    ASSERT_EQ(run({"build", "default.qor", "-o", "image"}).exit, 0);
    const Result json = run({"diff", "image", "port:" + sim.path(), "--json"});
    const QJsonObject document = parsed(json.out);
    EXPECT_EQ(document["equal"].toBool(), json.exit == 0);
    for (const QJsonValue& d : document["differences"].toArray())
        EXPECT_EQ(d.toObject()["item"].toString(), "programming date");
}

TEST_F(VemctlDevices, JsonCarriesTheFactsOfTheText) {
    QorsimProcess first, second;
    ASSERT_EQ(onDevice(first, {"program", "default.qor", "--no-verify"}).exit, 0);
    const QStringList ports{"--port", first.path(), "--port", second.path()};
    const Result text = run(QStringList{"info"} << ports << "--timeout-ms" << "300");
    const Result json = run(QStringList{"info", "--json"} << ports << "--timeout-ms" << "300");
    EXPECT_EQ(json.exit, text.exit);
    const QJsonArray devices = parsed(json.out)["devices"].toArray();
    ASSERT_EQ(devices.size(), 2);
    const QStringList lines = text.out.trimmed().split('\n');
    for (int i = 0; i < 2; ++i) {  // the second device holds no project
        const QJsonObject d = devices[i].toObject();
        const QJsonObject failure = d["failure"].toObject();
        EXPECT_TRUE(lines[i].startsWith(d["port"].toString() + "  " + (d["ok"].toBool() ? "ok" : "failed")));
        EXPECT_TRUE(lines[i].endsWith(d["ok"].toBool()
                                          ? d["project"].toString() + ", programmed " + d["programmed"].toString()
                                          : failure["message"].toString() + " (" + failure["detail"].toString() + ")"))
            << lines[i].toStdString();
    }

    QDir(folder.path()).mkdir("other");
    ASSERT_TRUE(QFile::copy(path("default.bin"), path("other/default.bin")));
    writeFile(path("other/default.qor"), withLine(readAll(path("default.qor")), 124, "7"));
    const Result verified = onDevice(first, {"verify", "other/default.qor", "--json"});
    EXPECT_EQ(verified.exit, 1);
    const QJsonObject device = parsed(verified.out)["devices"].toArray()[0].toObject();
    EXPECT_FALSE(device["holds"].toBool());
    EXPECT_EQ(device["project"].toString(), "default.qor");
    const QJsonObject area = device["areas"].toArray()[0].toObject();
    EXPECT_EQ(area["area"].toString(), "header");
    EXPECT_EQ(area["firstOffset"].toInt(), static_cast<int>(vem::HeaderAt::RelayHold));

    const Result problems = run({"check", "default.qor", "--json"});
    EXPECT_EQ(parsed(problems.out)["problems"].toArray().size(), 0);
    EXPECT_EQ(parsed(run({"show", "default.qor", "--json"}).out)["lines"].toArray().size(), 25);
}

TEST_F(VemctlDevices, ControlCharactersFromADeviceLeaveEscaped) {
    QorsimProcess sim;
    const QString name = "a\x1b]0;x\x07\x1b[2J.qor";
    ASSERT_TRUE(QFile::copy(path("default.qor"), path(name)));
    ASSERT_EQ(onDevice(sim, {"program", name, "--no-verify"}).exit, 0);
    const Result info = onDevice(sim, {"info"});
    EXPECT_FALSE(info.out.contains('\x1b')) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains("project: a\\x1b]0;x\\x07\\x1b[2J.qor")) << info.out.toStdString();
    const Result diff = run({"diff", "default.qor", "port:" + sim.path()});
    EXPECT_FALSE(diff.err.contains('\x1b'));
    EXPECT_TRUE(diff.err.contains("project, name: \"default.qor\" -> \"a\\x1b]0;x\\x07\\x1b[2J.qor\""))
        << diff.err.toStdString();
}

}  // namespace
