#include "Commands.h"

#include <QJsonArray>
#include <filesystem>

#include "DeviceRunner.h"
#include "ProjectOpen.h"
#include "editor/ScreenPicture.h"
#include "files/FileIo.h"
#include "files/ImageFile.h"
#include "files/ProjectFile.h"
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
    const MessageTable& texts = session_.messages();
    const auto saveRefused = [&](int slot, const std::string& file, int reason) {
        const QString name = fromFileSystemName(file), why = fromCp1252(texts.text(reason));
        console_.message(texts, slot);
        console_.error("  " + name + ": " + why);
        if (reason == Msg::SaveReasonReadOnly) console_.error("  --force replaces it");
        facts["failure"] = QJsonObject{{"message", fromCp1252(texts.text(slot))}, {"file", name}, {"reason", why}};
        return finish(FileProblem);
    };
    // A target the save would refuse is said before the device is read, not after.
    if (const FileWrite target = checkReplaceable(fileSystemName(request.output), {request.force}); !target.ok())
        return saveRefused(Msg::ProjectSaveFailed, target.file, saveFailureReason(target.error));
    if (!folderOfExists(request.output, console_, session_.messages())) return finish(FileProblem);
    DeviceRunner runner(session_, request.port, ports_, console_);
    if (!runner.run(session_.device().startReadBack(runner.portName()))) {
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
        session_.answer(true);
    }
    facts["project"] = fromCp1252(headerProjectName(session_.document().image()));
    // The project names an image of its own, saved beside it, so that programming it gives the
    // device back.
    Outcome saved = session_.document().saveProjectAs(fileSystemName(request.output));
    if (saved.question) {  // a read-only project file: --force replaces it
        saved = session_.answer(request.force);
        if (!request.force)
            return saveRefused(Msg::ProjectSaveFailed, fileSystemName(request.output), Msg::SaveReasonReadOnly);
    }
    if (!saved.ok) {
        for (std::size_t i = 0; i + 1 < saved.messages.size(); ++i) console_.message(texts, saved.messages[i]);
        return saveRefused(saved.messages.back(), saved.failedFile, saved.failureReason);
    }
    for (int slot : saved.messages) console_.message(texts, slot);
    const QString image = fromFileSystemName(session_.document().project().templatePath);
    facts["image"] = image;
    console_.note("read into " + request.output + " and " + image);
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
    const Outcome started = font ? session_.device().startFontUpload(port, *bytes) : session_.device().startFirmwareUpload(port, *bytes);
    if (!runner.run(started)) return runner.failureExit();
    console_.note("uploaded " + request.file);
    return Success;
}

int Commands::build(const Request& request) {
    if (!openProjectIn(session_, console_, request.file)) return FileProblem;
    session_.document().buildImage(currentLocalTime());
    const std::filesystem::path folder = fileSystemName(request.output);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        console_.error(request.output + ": cannot be made");
        return FileProblem;
    }
    // All three or none: each is written and flushed before the first replaces its file.
    std::vector<FileToWrite> files;
    for (const ImageArea& area : imageAreas(session_.document().image())) files.push_back({folder / area.fileName, area.bytes});
    const FileWrite written = writeFilesReplacing(files, {request.force});
    if (!written.ok()) {
        console_.error(fromFileSystemName(written.file) + ": cannot be written: " +
                       fromCp1252(session_.messages().text(saveFailureReason(written.error))));
        return FileProblem;
    }
    for (const FileToWrite& file : files) console_.note("wrote " + fromFileSystemName(file.target.string()));
    return Success;
}

int Commands::check(const Request& request) {
    const auto found = checkProjectIn(console_, session_.messages(), request.file);
    if (!found) return FileProblem;
    const std::vector<std::string> problems = session_.messages().texts(*found);
    QJsonArray listed;
    for (const std::string& problem : problems) {
        console_.result(fromCp1252(problem));
        listed.append(fromCp1252(problem));
    }
    if (problems.empty()) console_.note(pathMessage(session_.messages(), Msg::NoProblemFound, request.file));
    const int exit = problems.empty() ? Success : FileProblem;
    if (console_.json()) console_.document({{"file", request.file}, {"problems", listed}, {"exit", exit}});
    return exit;
}

int Commands::show(const Request& request) {
    if (!openProjectIn(session_, console_, request.file, false)) return FileProblem;
    const int dataSet = request.dataSet.value_or(session_.document().project().activeDataSet + 1);
    const QString picture = fromCp1252(screenPicture(session_.document().project(), dataSet - 1));
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
