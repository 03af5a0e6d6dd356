// vemctl: the device operations of VEM from the command line, for technicians who program many
// devices and for service scripts. The same session and serial component as the window program.
#include <QCoreApplication>
#include <QFile>

#include "CommandLine.h"
#include "ProjectOpen.h"
#include "host/LanguageSearch.h"

namespace {

using namespace vem;
using namespace vem::cli;

int usage(Console& console, const QString& problem) {
    console.error("vemctl: " + problem);
    console.error("Try 'vemctl --help'.");
    return UsageError;
}

// The message texts: --language, else the first language file found where the window program
// looks for it. Without one the built-in texts stay.
bool loadLanguage(Context& context, const QString& chosen) {
    const QStringList files = chosen.isEmpty() ? languageFileCandidates() : QStringList{chosen};
    LanguageFileFault fault{};
    for (const QString& file : files) {
        if ((context.language = readLanguageFile(QFile::encodeName(file).toStdString(), fault))) return true;
    }
    if (!chosen.isEmpty())
        context.console.error(chosen + ": not taken as a language file: " + languageFileFaultText(fault));
    return chosen.isEmpty();
}

int runCommand(const Invocation& call, Console& console, PortRegistry& ports) {
    Context context{console, ports, std::nullopt};
    if (!loadLanguage(context, call.languageFile)) return FileProblem;
    return call.command->run(call.request, context);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vemctl");
    PortRegistry ports;
    // The arguments' bytes as given: file names need not be UTF-8.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << fromFileSystemName(argv[i]);
    const Invocation call = parseCommandLine(arguments, ports);
    Console console(call.verbosity, call.json);
    const QString command = call.command ? QString(call.command->name) : QString();
    int exit = Success;
    if (!call.problem.isEmpty()) {
        exit = usage(console, call.problem);
    } else if (!call.helpText.isEmpty()) {
        for (const QString& line : call.helpText.split('\n')) console.result(line);
        if (call.json) console.document({{"help", call.helpText}, {"exit", exit}});
    } else {
        exit = runCommand(call, console, ports);
    }
    console.finish(command, exit);
    return exit;
}
