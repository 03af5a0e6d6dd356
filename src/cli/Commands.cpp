#include "Commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "files/FileIo.h"
#include "files/ImageBuild.h"
#include "files/ImageFile.h"
#include "files/ProjectCheck.h"
#include "editor/ScreenPicture.h"
#include "host/Encoding.h"
#include "serial/COMManager.h"

namespace vem::cli {
namespace {

std::string fileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Goes to the folder of `path`; false (and said why) when it is not there.
bool enterFolderOf(const QString& path, Console& console) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir::setCurrent(folder)) return true;
    console.error(folder + ": no such folder");
    return false;
}

QString hexByte(std::uint8_t b) { return QString::asprintf("0x%02X", static_cast<unsigned>(b)); }

}  // namespace

bool Commands::openProject(const QString& path, bool needTemplate) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        console_.error(path + ": no such file");
        return false;
    }
    if (!enterFolderOf(path, console_)) return false;
    const Outcome opened = session_.openProject(fileSystemName(file.fileName()), toCp1252(file.fileName()));
    for (int slot : opened.messages) console_.message(session_.messages(), slot, toCp1252(path));
    if (!opened.ok) return false;
    if (needTemplate && !session_.image().imageTemplateLoaded) {
        console_.message(session_.messages(), Msg::NoImageTemplate,
                         "template " + session_.project().imageFileName + " beside " + toCp1252(path));
        return false;
    }
    return true;
}

int Commands::deviceExit(const DeviceRunner& runner) const {
    switch (runner.failureSlot()) {
    case Msg::NoImageTemplate:
    case Msg::FontFileWrongSize:
    case Msg::FirmwareFileWrongSize: return FileProblem;
    default: return DeviceFailure;
    }
}

int Commands::ports() {
    const TCOMManager& manager = COMManager();
    for (int i = 0; i < manager.count(); ++i) {
        const PortEntry& e = manager.entry(i);
        QString line = e.systemLocation;
        if (!e.description.isEmpty()) line += "  " + e.description;
        if (!e.serialNumber.isEmpty()) line += "  serial number " + e.serialNumber;
        console_.result(line);
    }
    if (manager.count() == 0) console_.note("no serial ports found");
    return Success;
}

int Commands::program(const Request& request) {
    if (!openProject(request.file)) return FileProblem;
    DeviceRunner runner(session_, request.port, console_);
    if (!runner.run(session_.startProgramming(runner.portName(), currentLocalTime()))) return deviceExit(runner);
    if (!request.verify) {
        console_.note("programmed " + request.file);
        return Success;
    }
    const DeviceImage sent = session_.image();
    if (!runner.run(session_.startReadBack(runner.portName()))) return deviceExit(runner);
    if (!sameImage(sent)) return DeviceFailure;
    console_.note("programmed and verified " + request.file);
    return Success;
}

bool Commands::sameImage(const DeviceImage& sent) {
    const auto expected = imageAreas(sent);
    const auto found = imageAreas(session_.image());
    for (std::size_t a = 0; a < expected.size(); ++a) {
        const auto want = expected[a].bytes;
        const auto got = found[a].bytes;
        const auto [w, g] = std::mismatch(want.begin(), want.end(), got.begin());
        if (w == want.end()) continue;
        const auto offset = w - want.begin();
        const MessageTable& messages = session_.messages();
        console_.message(messages, Msg::VerifyFailed);
        console_.error("  " + fromCp1252(messages.text(Msg::VerifyDetail))
                                  .arg(expected[a].name)
                                  .arg(QString("%1 (0x%2)").arg(offset).arg(offset, 4, 16, QChar('0')))
                                  .arg(hexByte(*w), hexByte(*g)));
        return false;
    }
    return true;
}

int Commands::read(const Request& request) {
    if (!enterFolderOf(request.output, console_)) return FileProblem;
    DeviceRunner runner(session_, request.port, console_);
    if (!runner.run(session_.startReadBack(runner.portName()))) return deviceExit(runner);
    // The project refers to the image it came from, so that programming it gives the device back.
    Project project = session_.project();
    project.imageFileName = ReadoutFileName;
    session_.takeProject(project, session_.image());
    const QString name = QFileInfo(request.output).fileName();
    const Outcome saved = session_.saveProjectAs(fileSystemName(name));
    for (int slot : saved.messages) console_.message(session_.messages(), slot, toCp1252(request.output));
    if (!saved.ok) return FileProblem;
    console_.note("read into " + request.output + " and " + ReadoutFileName + " beside it");
    return Success;
}

int Commands::info(const Request& request) {
    DeviceRunner runner(session_, request.port, console_);
    if (!runner.run(session_.startReadInfo(runner.portName()))) return deviceExit(runner);
    const Session::DeviceInfo& device = session_.deviceInfo();
    console_.result("project: " + fromCp1252(device.fileName));
    console_.result("programmed: " + fromCp1252(device.programmed));
    return Success;
}

int Commands::clock(const Request& request) {
    DeviceRunner runner(session_, request.port, console_);
    if (!runner.run(session_.startSetClock(runner.portName()))) return deviceExit(runner);
    console_.note("clock set");
    return Success;
}

int Commands::uploadFont(const Request& request) { return upload(request, true); }

int Commands::uploadFirmware(const Request& request) { return upload(request, false); }

int Commands::upload(const Request& request, bool font) {
    // Larger than any file the device takes, so a wrong one is still refused by its size.
    const auto bytes = readFileBytes(fileSystemName(request.file), 2 * FirmwareSize);
    if (!bytes) {
        console_.error(request.file + ": cannot be read");
        return FileProblem;
    }
    DeviceRunner runner(session_, request.port, console_);
    const std::string port = runner.portName();
    const Outcome started = font ? session_.startFontUpload(port, *bytes) : session_.startFirmwareUpload(port, *bytes);
    if (!runner.run(started)) return deviceExit(runner);
    console_.note("uploaded " + request.file);
    return Success;
}

int Commands::build(const Request& request) {
    if (!openProject(request.file)) return FileProblem;
    session_.buildImage(currentLocalTime());
    if (!QDir().mkpath(request.output)) {
        console_.error(request.output + ": cannot be made");
        return FileProblem;
    }
    for (const ImageArea& area : imageAreas(session_.image())) {
        const QString file = QDir(request.output).filePath(area.fileName);
        if (!writeFileReplacing(fileSystemName(file), area.bytes)) {
            console_.error(file + ": cannot be written");
            return FileProblem;
        }
        console_.note("wrote " + file);
    }
    return Success;
}

int Commands::check(const Request& request) {
    if (!enterFolderOf(request.file, console_)) return FileProblem;
    const auto problems = checkProjectFile(fileSystemName(QFileInfo(request.file).fileName()));
    for (const std::string& problem : problems) console_.result(fromCp1252(problem));
    if (problems.empty()) console_.note(request.file + ": no problem found");
    return problems.empty() ? Success : FileProblem;
}

int Commands::show(const Request& request) {
    if (!openProject(request.file, false)) return FileProblem;
    const int dataSet = request.dataSet.value_or(session_.project().activeDataSet + 1);
    const QString picture = fromCp1252(screenPicture(session_.project(), dataSet - 1));
    for (const QString& line : picture.split('\n')) {
        if (!line.isEmpty()) console_.result(line);
    }
    return Success;
}

}  // namespace vem::cli
