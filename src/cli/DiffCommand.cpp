#include "DiffCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <algorithm>

#include "DeviceRunner.h"
#include "ProjectOpen.h"
#include "compare/ImageDiff.h"
#include "files/FileIo.h"
#include "files/ImageBuild.h"
#include "host/Encoding.h"

namespace vem::cli {
namespace {

constexpr const char* DevicePrefix = "port:";

struct Side {
    DeviceImage image;
    bool programmed = false;
};

// What a device holds, read back.
int readDevice(const QString& path, const Request& request, Context& context, Side& side) {
    Session session;
    context.prepare(session);
    PortChoice port = request.port;
    port.path = path;
    DeviceRunner runner(session, port, context.ports, context.console);
    if (!runner.run(session.device().startReadBack(runner.portName()))) return runner.failureExit();
    side.image = session.device().receivedImage().value();
    side.programmed = true;
    return Success;
}

// The image programming the project would send.
int buildProject(const QString& path, Context& context, Side& side) {
    Session session;
    context.prepare(session);
    if (!openProjectIn(session, context.console, path)) return FileProblem;
    session.document().buildImage(currentLocalTime());
    side.image = session.document().image();
    return Success;
}

// A folder of `vemctl build`: the three areas, one file each.
bool readAreas(const QDir& folder, Side& side) {
    const auto areas = imageAreas(side.image);
    const std::array<std::span<std::uint8_t>, 3> targets{side.image.mainArea, side.image.headerArea,
                                                         side.image.screenArea};
    for (std::size_t a = 0; a < areas.size(); ++a) {
        const auto bytes = readFileBytes(fileSystemName(folder.filePath(areas[a].fileName)), targets[a].size() + 1);
        if (!bytes || bytes->size() != targets[a].size()) return false;
        std::copy(bytes->begin(), bytes->end(), targets[a].begin());
    }
    side.programmed = true;
    return true;
}

int readFolder(const QString& path, Context& context, Side& side) {
    const QDir folder(path);
    if (folder.exists("main.bin")) {
        if (readAreas(folder, side)) return Success;
        context.console.error(path + ": main.bin, header.bin and screen.bin are not those of a build");
        return FileProblem;
    }
    const QStringList projects = folder.entryList({"*.qor"}, QDir::Files);
    if (projects.size() == 1) return buildProject(folder.filePath(projects.first()), context, side);
    context.console.error(path + ": holds neither the areas of a build nor one project");
    return FileProblem;
}

int load(const QString& argument, const Request& request, Context& context, Side& side) {
    if (argument.startsWith(DevicePrefix)) return readDevice(argument.mid(5), request, context, side);
    if (QFileInfo(argument).isDir()) return readFolder(argument, context, side);
    return buildProject(argument, context, side);
}

}  // namespace

int diff(const Request& request, Context& context) {
    Side first, second;
    for (const auto& [argument, side] : {std::pair{request.arguments[0], &first}, {request.arguments[1], &second}}) {
        // An interrupted read-back keeps its signal's code; any other failure leaves nothing to compare.
        if (const int exit = load(argument, request, context, *side); exit != Success)
            return exit > CouldNotCompare ? exit : CouldNotCompare;
    }
    const std::optional<int> dataSet = request.dataSet ? std::optional(*request.dataSet - 1) : std::nullopt;
    const auto differences = diffImages({first.image, first.programmed}, {second.image, second.programmed}, dataSet);
    QJsonArray listed, notes;
    bool equal = true;
    for (const Difference& d : differences) {
        const QString group = fromCp1252(d.group), item = fromCp1252(d.item);
        const QString a = fromCp1252(d.first), b = fromCp1252(d.second);
        const QString line = group + ", " + item + ": " + a + " -> " + b;
        const QJsonObject facts{{"group", group}, {"item", item}, {"first", a}, {"second", b}};
        if (d.note) {
            context.console.note("note: " + line);
            notes.append(facts);
            continue;
        }
        equal = false;
        context.console.result(line);
        listed.append(facts);
    }
    const int exit = equal ? Success : DeviceFailure;
    if (context.console.json())
        context.console.document({{"first", request.arguments[0]},
                                  {"second", request.arguments[1]},
                                  {"equal", equal},
                                  {"differences", listed},
                                  {"notes", notes},
                                  {"exit", exit}});
    return exit;
}

}  // namespace vem::cli
