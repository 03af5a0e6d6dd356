#include "Commands.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include "DeviceRunner.h"
#include "ProjectOpen.h"
#include "editor/ScreenPicture.h"
#include "files/FileIo.h"
#include "files/ImageFile.h"
#include "files/ReadBack.h"
#include "host/Encoding.h"
#include "serial/PortRegistry.h"

namespace vem::cli {

int Commands::ports() {
    QJsonArray listed;
    for (int i = 0; i < ports_.count(); ++i) {
        const PortEntry& e = ports_.entry(i);
        QString line = e.systemLocation;
        if (!e.description.isEmpty()) line += "  " + e.description;
        if (!e.serialNumber.isEmpty()) line += "  serial number " + e.serialNumber;
        console_.result(line);
        listed.append(QJsonObject{
            {"path", e.systemLocation}, {"description", e.description}, {"serialNumber", e.serialNumber}});
    }
    if (ports_.count() == 0) console_.note("no serial ports found");
    if (console_.json()) console_.document({{"ports", listed}, {"exit", Success}});
    return Success;
}

int Commands::read(const Request& request) {
    QJsonObject facts{{"port", request.port.path}, {"output", request.output}};
    const auto finish = [&](int exit) {
        facts["exit"] = exit;
        if (console_.json()) console_.document(facts);
        return exit;
    };
    if (!enterFolderOf(request.output, console_)) return finish(FileProblem);
    DeviceRunner runner(session_, request.port, ports_, console_);
    if (!runner.run(session_.startReadBack(runner.portName()))) {
        facts["failure"] = runner.failureFacts();
        return finish(runner.failureExit());
    }
    if (runner.unmarkedReadBack()) {
        if (!request.force) {
            const QString problem = "the image read back lacks the mark of the images VEM builds (byte 0x40 of "
                                    "the header is not 'N'): not taken; --force takes it";
            console_.error(request.port.path + ": " + problem);
            facts["failure"] = QJsonObject{{"message", problem}, {"detail", request.port.path}};
            return finish(DeviceFailure);
        }
        session_.takeReadBack();
    }
    // The project refers to the image it came from, so that programming it gives the device back.
    Project project = session_.project();
    project.imageFileName = ReadoutFileName;
    session_.takeProject(project, session_.image());
    facts["project"] = fromCp1252(headerProjectName(session_.image()));
    const QString name = QFileInfo(request.output).fileName();
    const Outcome saved = session_.saveProjectAs(fileSystemName(name));
    for (int slot : saved.messages) console_.message(session_.messages(), slot, toCp1252(request.output));
    if (!saved.ok) return finish(FileProblem);
    const QString image = QFileInfo(request.output).dir().filePath(ReadoutFileName);
    facts["image"] = image;
    console_.note("read into " + request.output + " and " + ReadoutFileName + " beside it");
    return finish(Success);
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
    DeviceRunner runner(session_, request.port, ports_, console_);
    const std::string port = runner.portName();
    const Outcome started = font ? session_.startFontUpload(port, *bytes) : session_.startFirmwareUpload(port, *bytes);
    if (!runner.run(started)) return runner.failureExit();
    console_.note("uploaded " + request.file);
    return Success;
}

int Commands::build(const Request& request) {
    if (!openProjectIn(session_, console_, request.file)) return FileProblem;
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
    const auto found = checkProjectIn(console_, request.file);
    if (!found) return FileProblem;
    const std::vector<std::string>& problems = *found;
    QJsonArray listed;
    for (const std::string& problem : problems) {
        console_.result(fromCp1252(problem));
        listed.append(fromCp1252(problem));
    }
    if (problems.empty()) console_.note(request.file + ": no problem found");
    const int exit = problems.empty() ? Success : FileProblem;
    if (console_.json()) console_.document({{"file", request.file}, {"problems", listed}, {"exit", exit}});
    return exit;
}

int Commands::show(const Request& request) {
    if (!openProjectIn(session_, console_, request.file, false)) return FileProblem;
    const int dataSet = request.dataSet.value_or(session_.project().activeDataSet + 1);
    const QString picture = fromCp1252(screenPicture(session_.project(), dataSet - 1));
    QJsonArray rows;
    for (const QString& line : picture.split('\n')) {
        if (line.isEmpty()) continue;
        console_.result(line);
        rows.append(line);
    }
    if (console_.json()) console_.document({{"file", request.file}, {"dataSet", dataSet}, {"lines", rows}, {"exit", Success}});
    return Success;
}

}  // namespace vem::cli
