// vemctl: the device operations of VEM from the command line, for technicians who program many
// devices and for service scripts. The same session and serial component as the window program.
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "CommandLine.h"
#include "ProjectOpen.h"
#include "host/Encoding.h"
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

// A standard stream closed at start would be taken by the next file or port opened, and
// results written into it: each is opened on /dev/null instead. True when stdout was closed.
bool reopenClosedStreams() {
#ifdef _WIN32
    return false;
#else
    bool stdoutClosed = false;
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
        stdoutClosed = stdoutClosed || stream == STDOUT_FILENO;
        [[maybe_unused]] const int lowestFree = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    }
    return stdoutClosed;
#endif
}

// Said when stdout did not take what the command wrote there.
QString outputLostText(const std::optional<LanguageFile>& language, int error) {
    MessageTable texts;
    DialogMessages unused;
    if (language) applyLanguageMessages(*language, texts, unused);
    texts.setValues(Msg::OutputNotWritten, {std::strerror(error)});
    return fromCp1252(texts.text(Msg::OutputNotWritten));
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool stdoutClosed = reopenClosedStreams();
#ifndef _WIN32
    // A closed pipe fails the write, which is said, instead of ending a device operation midway.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // preview paints text, which takes a GUI application; vemctl shows no window, so it needs no
    // display.
    std::unique_ptr<QCoreApplication> app;
    if (std::any_of(argv + 1, argv + argc, [](const char* a) { return std::strcmp(a, "preview") == 0; })) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName("vemctl");
    PortRegistry ports;
    // The arguments' bytes as given: file names need not be UTF-8.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << fromFileSystemName(argv[i]);
    const Invocation call = parseCommandLine(arguments, ports);
    Console console(call.verbosity, call.json);
    if (stdoutClosed) console.outputClosed();
    Context context{console, ports, std::nullopt};
    const QString command = call.command ? QString(call.command->name) : QString();
    int exit = Success;
    if (!call.problem.isEmpty()) {
        exit = usage(console, call.problem);
    } else if (!call.helpText.isEmpty()) {
        for (const QString& line : call.helpText.split('\n')) console.result(line);
        if (call.json) console.document({{"help", call.helpText}, {"exit", exit}});
    } else {
        exit = loadLanguage(context, call.languageFile) ? call.command->run(call.request, context) : FileProblem;
    }
    console.finish(command, exit);
    if (const int error = console.outputError()) {
        console.error("vemctl: " + outputLostText(context.language, error));
        exit = std::max(exit, static_cast<int>(OutputLost));
    }
    return exit;
}
