#include "CommandTable.h"

#include <array>

#include "Commands.h"
#include "DiffCommand.h"
#include "PreviewCommand.h"
#include "ProjectOpen.h"
#include "RecordsCommand.h"
#include "SeveralDevices.h"
#include "StationCommand.h"

namespace vem::cli {
namespace {

// A command on one session of its own.
template <int (Commands::*command)(const Request&)>
int onSession(const Request& request, Context& context) {
    Session session;
    context.prepare(session);
    Commands commands(session, context.console, context.ports);
    return (commands.*command)(request);
}

// program and verify take only a project that check passes, unless --force.
int onCheckedProject(const char* command, const Request& request, Context& context, const TaskMaker& makeTask) {
    if (!request.force && !passesCheck(context.console, context.messages(), request.file)) return FileProblem;
    return runOnDevices(command, request, context, makeTask);
}

int ports(const Request&, Context& context) {
    Session session;
    return Commands(session, context.console, context.ports).ports();
}

const std::array<CommandSpec, 15> Table{{
    {"ports", "", 0, "the serial ports VEM sees", PortUse::None, false, ports},
    {"program", "PROJECT.qor", 1,
     "build the image, program it, read it back and compare (--no-verify: no read-back; --force: even a project "
     "check refuses)",
     PortUse::Several, false,
     [](const Request& r, Context& c) { return onCheckedProject("program", r, c, programTask); }},
    {"verify", "PROJECT.qor", 1,
     "whether the device holds the project: read back and compare, nothing written (--force: even a project check "
     "refuses)",
     PortUse::Several, false,
     [](const Request& r, Context& c) { return onCheckedProject("verify", r, c, verifyTask); }},
    {"read", "-o OUT.qor", 0, "read the device into OUT.qor, with its image OUT-readout.bin beside it (--force: replace a "
     "read-only OUT.qor)", PortUse::One, true,
     onSession<&Commands::read>},
    {"info", "", 0, "the project name and programming date the device holds (exit 1 on a device without VEM's mark, --force or not)", PortUse::Several, false,
     [](const Request& r, Context& c) { return runOnDevices("info", r, c, infoTask); }},
    {"clock", "", 0, "set the device clock to this computer's local time", PortUse::Several, false,
     [](const Request& r, Context& c) { return runOnDevices("clock", r, c, clockTask); }},
    {"upload-font", "FILE", 1, "upload a character set (3584 bytes)", PortUse::One, false,
     onSession<&Commands::uploadFont>},
    {"upload-firmware", "FILE", 1, "upload a firmware (1 to 32767 bytes)", PortUse::One, false,
     onSession<&Commands::uploadFirmware>},
    {"build", "PROJECT.qor -o DIR", 1, "write the image areas main.bin, header.bin, screen.bin, all three or none (--force: "
     "replace read-only ones)", PortUse::None, true, onSession<&Commands::build>},
    {"check", "PROJECT.qor", 1, "list what is wrong with a project and its template", PortUse::None, false,
     onSession<&Commands::check>},
    {"show", "PROJECT.qor", 1, "the screen as text with the fields marked (--data-set N)", PortUse::None, false, onSession<&Commands::show>},
    {"diff", "A B", 2, "what differs between projects, devices (port:PATH) or folders of build/read", PortUse::None,
     false, diff},
    {"preview", "PROJECT.qor -o OUT.png", 1,
     "the preview's picture as PNG (--data-set N, --receipt FILE [--lines K], --background IMAGE, --time \"YYYY-MM-DD "
     "HH:MM\")",
     PortUse::None, true, preview},
    {"records", "[PROJECT.qor]", 1, "a station's record, oldest first (--record, else station.sqlite beside the "
     "project, else in the working folder; --since DATE; --json, --csv)", PortUse::None, false, records, true},
    {"station", "PROJECT.qor", 1, "wait for devices (--watch DIR) and program and verify each as it arrives, with a "
     "record of every attempt", PortUse::None, false, station},
}};

}  // namespace

std::span<const CommandSpec> commandTable() { return Table; }

const CommandSpec* findCommand(const QString& name) {
    for (const CommandSpec& spec : Table)
        if (name == spec.name) return &spec;
    return nullptr;
}

QString commandList() {
    QString list;
    for (const CommandSpec& spec : Table) {
        const QString call = QString(spec.name) + (spec.arguments[0] ? QString(" ") + spec.arguments : QString());
        list += QString("  %1 %2\n").arg(call, -26).arg(spec.summary);
    }
    return list;
}

}  // namespace vem::cli
