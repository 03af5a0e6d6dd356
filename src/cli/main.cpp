// vemctl: the device operations of VEM from the command line, for technicians who program many
// devices and for service scripts. The same session and serial component as the window program.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <map>

#include "Commands.h"
#include "host/LanguageSearch.h"
#include "serial/COMManager.h"
#include "i18n/LanguageFile.h"

namespace {

using namespace vem;
using namespace vem::cli;

const char* const Description =
    "Programs and reads QOR text displays over a serial port, without the window.\n"
    "\n"
    "Commands:\n"
    "  ports                       the serial ports VEM sees\n"
    "  program PROJECT.qor         build the image, program it, read it back and compare\n"
    "                              (--no-verify skips the read-back)\n"
    "  read -o OUT.qor             read the device into OUT.qor, with readout.bin beside it\n"
    "  info                        the project name and programming date the device holds\n"
    "  clock                       set the device clock to this computer's local time\n"
    "  upload-font FILE            upload a character set (3584 bytes)\n"
    "  upload-firmware FILE        upload a firmware (1 to 32767 bytes)\n"
    "  build PROJECT.qor -o DIR    write the image areas main.bin, header.bin, screen.bin\n"
    "  check PROJECT.qor           list what is wrong with a project and its template\n"
    "  show PROJECT.qor            the screen as text with the fields marked (--data-set N)\n"
    "\n"
    "A project's template is looked for beside the project.\n"
    "Device commands need --port, or the first path of the environment variable VEM_PORT.\n"
    "Exit codes: 0 success, 1 device or transfer failure, 2 usage, 3 file problem.";

struct CommandSpec {
    int arguments;      // positional arguments after the command
    bool device;        // needs a port
    bool output;        // needs -o
    int (Commands::*run)(const Request&);
};

const std::map<QString, CommandSpec>& commandTable() {
    static const std::map<QString, CommandSpec> table{
        {"ports", {0, false, false, nullptr}},
        {"program", {1, true, false, &Commands::program}},
        {"read", {0, true, true, &Commands::read}},
        {"info", {0, true, false, &Commands::info}},
        {"clock", {0, true, false, &Commands::clock}},
        {"upload-font", {1, true, false, &Commands::uploadFont}},
        {"upload-firmware", {1, true, false, &Commands::uploadFirmware}},
        {"build", {1, false, true, &Commands::build}},
        {"check", {1, false, false, &Commands::check}},
        {"show", {1, false, false, &Commands::show}},
    };
    return table;
}

int usage(Console& console, const QString& problem) {
    console.error("vemctl: " + problem);
    console.error("Try 'vemctl --help'.");
    return UsageError;
}

QString absolute(const QString& path) { return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath(); }

// The message texts: --language, else the first language file found where the window program
// looks for it. Without one the built-in texts stay.
bool loadLanguage(Session& session, const QString& chosen, Console& console) {
    const QStringList files = chosen.isEmpty() ? languageFileCandidates() : QStringList{chosen};
    for (const QString& file : files) {
        if (const auto language = readLanguageFile(QFile::encodeName(file).toStdString())) {
            session.takeLanguage(*language);
            return true;
        }
    }
    if (!chosen.isEmpty()) console.error(chosen + ": cannot be read as a language file");
    return chosen.isEmpty();
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vemctl");

    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    parser.addPositionalArgument("command", "One of the commands above, then its arguments.", "COMMAND [ARGS]");
    const QCommandLineOption help({"h", "help"}, "Shows this help.");
    const QCommandLineOption port({"p", "port"}, "The device's serial port, e.g. /dev/ttyUSB0.", "PATH");
    const QCommandLineOption baud("baud", "The PC port's speed (default 57600).", "RATE", "57600");
    const QCommandLineOption timeout("timeout-ms", "How long the device may take to answer (default 2000).", "MS",
                                     QString::number(ReplyTimeoutMs));
    const QCommandLineOption output({"o", "output"}, "Where read and build write.", "PATH");
    const QCommandLineOption dataSet("data-set", "The data set show draws, 1 to 4.", "N");
    const QCommandLineOption noVerify("no-verify", "program: do not read the device back to compare.");
    const QCommandLineOption quiet({"q", "quiet"}, "Only results and errors.");
    const QCommandLineOption verbose("verbose", "Every command word and block on stderr.");
    const QCommandLineOption language("language", "Takes the message texts from FILE.", "FILE");
    parser.addOptions({help, port, baud, timeout, output, dataSet, noVerify, quiet, verbose, language});

    const bool parsed = parser.parse(QCoreApplication::arguments());
    Console console(parser.isSet(quiet) ? Verbosity::Quiet
                    : parser.isSet(verbose) ? Verbosity::Verbose
                                            : Verbosity::Normal);
    if (!parsed) return usage(console, parser.errorText());
    if (parser.isSet(help)) {
        console.result(parser.helpText().trimmed());
        return Success;
    }
    if (parser.isSet(quiet) && parser.isSet(verbose)) return usage(console, "--quiet and --verbose exclude each other");

    QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty()) return usage(console, "no command given");
    const QString name = arguments.takeFirst();
    const auto found = commandTable().find(name);
    if (found == commandTable().end()) return usage(console, "unknown command '" + name + "'");
    const CommandSpec& spec = found->second;
    if (arguments.size() != spec.arguments)
        return usage(console, QString("%1 takes %2 argument(s)").arg(name).arg(spec.arguments));

    Request request;
    if (!arguments.isEmpty()) request.file = absolute(arguments.first());
    request.output = absolute(parser.value(output));
    if (spec.output && request.output.isEmpty()) return usage(console, name + " needs -o");
    request.verify = !parser.isSet(noVerify);
    if (parser.isSet(dataSet)) {
        bool ok = false;
        const int n = parser.value(dataSet).toInt(&ok);
        if (!ok || n < 1 || n > DataSetCount) return usage(console, "--data-set takes 1 to 4");
        request.dataSet = n;
    }
    bool ok = false;
    const uint rate = parser.value(baud).toUInt(&ok);
    if (!ok || !baudrateOf(rate, request.port.baud)) return usage(console, "--baud: no such rate: " + parser.value(baud));
    request.port.replyTimeoutMs = parser.value(timeout).toInt(&ok);
    if (!ok || request.port.replyTimeoutMs < 1 || request.port.replyTimeoutMs > 600000)
        return usage(console, "--timeout-ms takes 1 to 600000");
    if (spec.device) {
        request.port.path = parser.isSet(port) ? parser.value(port) : COMManager().devicePaths().value(0);
        if (request.port.path.isEmpty()) return usage(console, name + " needs --port (or VEM_PORT)");
        // A relative path is taken from here, before a command moves to the project's folder.
        if (QFileInfo(request.port.path).isRelative()) request.port.path = absolute(request.port.path);
    }

    Session session;
    if (!loadLanguage(session, absolute(parser.value(language)), console)) return FileProblem;
    Commands commands(session, console);
    return spec.run ? (commands.*spec.run)(request) : commands.ports();
}
