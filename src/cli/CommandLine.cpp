#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <filesystem>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "ProjectOpen.h"
#include "host/StationRecord.h"
#include "serial/PortPath.h"

namespace vem::cli {
namespace {

const char* const Introduction = "Programs and reads QOR text displays over a serial port, without the window.";

const char* const Closing =
    "A project's template is looked for beside the project.\n"
    "Device commands need --port, or the first path of the environment variable VEM_PORT;\n"
    "program, verify, info and clock take --port more than once, or --all-ports, and run on\n"
    "every device at once. station programs each device that appears in a folder.\n"
    "Exit codes: 0 success, 1 device or transfer failure (diff: a difference), 2 usage,\n"
    "3 file problem, 4 diff could not compare (a file or device it could not read),\n"
    "5 the results could not be written to stdout (said on stderr),\n"
    "129, 130 and 143 interrupted by SIGHUP, SIGINT, SIGTERM; of several codes the highest.\n"
    "With --json every outcome writes one JSON document on stdout whose \"exit\" is the exit code.";

struct Options {
    QCommandLineOption help{{"h", "help"}, "Shows this help."};
    QCommandLineOption port{{"p", "port"}, "The device's serial port, e.g. /dev/ttyUSB0; may be repeated.", "PATH"};
    QCommandLineOption allPorts{"all-ports", "Every port 'vemctl ports' lists."};
    QCommandLineOption baud{"baud", "The PC port's speed (default 57600).", "RATE", "57600"};
    QCommandLineOption timeout{"timeout-ms", "How long the device may take to answer (default 2000).", "MS",
                               QString::number(ReplyTimeoutMs)};
    QCommandLineOption output{{"o", "output"}, "Where read, build and preview write.", "PATH"};
    QCommandLineOption dataSet{"data-set", "The data set show and preview draw, or diff compares, 1 to 4.", "N"};
    QCommandLineOption noVerify{"no-verify", "program: do not read the device back to compare."};
    QCommandLineOption force{"force", "read: take an image that lacks the mark of the images VEM builds, and "
                                      "replace a read-only OUT.qor; build: replace read-only areas; "
                                      "program, verify: take a project that check refuses."};
    QCommandLineOption json{"json", "The results as one JSON document on stdout."};
    QCommandLineOption quiet{{"q", "quiet"}, "Only results and errors."};
    QCommandLineOption verbose{"verbose", "Every command word and block on stderr."};
    QCommandLineOption language{"language", "Takes the message texts from FILE.", "FILE"};
    QCommandLineOption receipt{"receipt", "preview: plays the register's output in FILE through the POS rules.", "FILE"};
    QCommandLineOption lines{"lines", "preview: plays only the first K lines of the receipt.", "K"};
    QCommandLineOption background{"background", "preview: shows the picture over the photo IMAGE.", "IMAGE"};
    QCommandLineOption time{"time", "preview: the moment date and time show, \"YYYY-MM-DD HH:MM\" (default now).",
                            "TIME"};
    QCommandLineOption record{"record", "records, station: the station's record, an SQLite file or "
                                        "postgresql://user@host[:port]/database[?host=/socket/folder].", "FILE|URL"};
    QCommandLineOption since{"since", "records: only attempts started at or after DATE (YYYY-MM-DD or "
                                      "YYYY-MM-DDThh:mm:ss, UTC unless a zone is given).", "DATE"};
    QCommandLineOption csv{"csv", "records: CSV with a header row instead of lines."};
    QCommandLineOption watch{"watch", "station: the folder of device links or nodes to watch (default "
                                      "/dev/serial/by-id).", "DIR"};
    QCommandLineOption match{"match", "station: only devices whose name fits the wildcard.", "GLOB"};
    QCommandLineOption settle{"settle", "station: how long a device is there before it is taken (default 500).",
                              "MS", "500"};
    QCommandLineOption always{"always", "station: program even a device that holds the project already."};
    QCommandLineOption count{"count", "station: end after N finished devices.", "N"};
    QCommandLineOption onResult{"on-result", "station: a shell command run after each device, with the result in "
                                             "VEM_STATION_RESULT.", "CMD"};
};

// Byte for byte: a name that is not UTF-8 stays as fromFileSystemName gave it.
QString absolute(const QString& path) {
    if (path.isEmpty()) return path;
    return fromFileSystemName(std::filesystem::absolute(fileSystemName(path)).lexically_normal().string());
}

// A relative path is taken from here, before a command moves to a project's folder.
QString absoluteArgument(const QString& argument) {
    if (argument.startsWith("port:")) return "port:" + absolute(argument.mid(5));
    return absolute(argument);
}

QString helpText(QCommandLineParser& parser) {
    return parser.helpText().trimmed() + "\n\nCommands:\n" + commandList() + "\n" + Closing;
}

// What tells two ports apart: a character device's number, which every node and link of one
// device share; else the path a link leads to.
QString deviceKey(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode))
        return "character device " + QString::number(st.st_rdev);
#endif
    return portDevice(path);
}

// A problem text naming two of `paths` that lead to the same device (the same path, a link and
// its target, or two nodes of one device); empty when each is another.
QString samePortTwice(const QStringList& paths) {
    QStringList devices;
    for (const QString& path : paths) {
        devices << deviceKey(path);
        const qsizetype first = devices.indexOf(devices.last());
        if (first < devices.size() - 1) return "--port " + paths[first] + " and --port " + path + " are the same port";
    }
    return {};
}

// Of ports that lead to the same device (VEM_PORT naming a listed port by a link), the first.
QStringList eachDeviceOnce(const QStringList& paths) {
    QStringList devices, kept;
    for (const QString& path : paths) {
        if (devices.contains(deviceKey(path))) continue;
        devices << deviceKey(path);
        kept << path;
    }
    return kept;
}

// The ports a device command runs on; a problem text when there is none or too many.
QString choosePorts(const Options& o, QCommandLineParser& parser, const CommandSpec& spec, const PortRegistry& ports,
                    Request& request) {
    if (spec.ports == PortUse::None) return {};
    if (parser.isSet(o.allPorts)) {
        for (int i = 0; i < ports.count(); ++i) request.ports << ports.entry(i).systemLocation;
        request.ports = eachDeviceOnce(request.ports);
    } else if (parser.isSet(o.port)) {
        request.ports = parser.values(o.port);
    } else if (!ports.devicePaths().isEmpty()) {
        request.ports = {ports.devicePaths().first()};
    }
    if (request.ports.isEmpty()) return QString(spec.name) + " needs --port (or VEM_PORT)";
    if (request.ports.size() > 1 && spec.ports == PortUse::One) return QString(spec.name) + " takes one port";
    if (request.ports.contains(QString())) return "--port takes a device path, not an empty text";
    for (QString& path : request.ports) path = absolute(path);
    if (const QString twice = samePortTwice(request.ports); !twice.isEmpty()) return twice;
    request.port.path = request.ports.first();
    return {};
}

// The preview's own options; a problem text when one is wrong.
QString readPreviewOptions(const Options& o, QCommandLineParser& parser, const CommandSpec& spec, Request& request) {
    for (const QCommandLineOption* option : {&o.receipt, &o.lines, &o.background, &o.time})
        if (parser.isSet(*option) && QString(spec.name) != "preview")
            return "--" + option->names().first() + " belongs to preview";
    request.receipt = absolute(parser.value(o.receipt));
    request.background = absolute(parser.value(o.background));
    if (parser.isSet(o.lines)) {
        bool ok = false;
        const int k = parser.value(o.lines).toInt(&ok);
        if (!ok || k < 0) return "--lines takes a number of lines, 0 or more";
        if (request.receipt.isEmpty()) return "--lines needs --receipt";
        request.receiptLines = k;
    }
    if (parser.isSet(o.time)) {
        const QDateTime moment = QDateTime::fromString(parser.value(o.time), "yyyy-MM-dd HH:mm");
        if (!moment.isValid()) return "--time takes \"YYYY-MM-DD HH:MM\", e.g. \"2026-12-08 10:42\"";
        const QDate d = moment.date();
        const QTime t = moment.time();
        request.time = LocalTime{d.day(), d.month(), d.year(), t.hour(), t.minute(), 0};
    }
    return {};
}

// The options of records; a problem text when one is wrong.
QString readRecordOptions(const Options& o, QCommandLineParser& parser, Request& request) {
    const QString record = parser.value(o.record);
    if (parser.isSet(o.record) && record.isEmpty()) return "--record takes a file or a postgresql:// address";
    request.record = StationRecord::isServerAddress(record) ? record : absolute(record);
    request.since = parser.value(o.since);
    request.csv = parser.isSet(o.csv);
    if (request.csv && parser.isSet(o.json)) return "--csv and --json exclude each other";
    return {};
}

// The options every command shares; a problem text when one is wrong.
QString readCommonOptions(const Options& o, QCommandLineParser& parser, Request& request) {
    if (parser.isSet(o.dataSet)) {
        bool ok = false;
        const int n = parser.value(o.dataSet).toInt(&ok);
        if (!ok || n < 1 || n > DataSetCount) return "--data-set takes 1 to 4";
        request.dataSet = n;
    }
    bool ok = false;
    const uint rate = parser.value(o.baud).toUInt(&ok);
    if (!ok || !baudrateOf(rate, request.port.baud)) return "--baud: no such rate: " + parser.value(o.baud);
    request.port.replyTimeoutMs = parser.value(o.timeout).toInt(&ok);
    if (!ok || request.port.replyTimeoutMs < 1 || request.port.replyTimeoutMs > 600000)
        return "--timeout-ms takes 1 to 600000";
    request.output = absolute(parser.value(o.output));
    request.verify = !parser.isSet(o.noVerify);
    request.force = parser.isSet(o.force);
    return readRecordOptions(o, parser, request);
}

// The station's options; a problem text when one is wrong.
QString readStationOptions(const Options& o, QCommandLineParser& parser, Request& request) {
    StationRequest& station = request.station;
    station.watchGiven = parser.isSet(o.watch);
    station.watch = station.watchGiven ? absolute(parser.value(o.watch)) : QString("/dev/serial/by-id");
    if (station.watchGiven && parser.value(o.watch).isEmpty()) return "--watch takes a folder, not an empty text";
    station.match = parser.value(o.match);
    bool ok = false;
    station.settleMs = parser.value(o.settle).toInt(&ok);
    if (!ok || station.settleMs < 0 || station.settleMs > 600000) return "--settle takes 0 to 600000";
    if (parser.isSet(o.count)) {
        station.count = parser.value(o.count).toInt(&ok);
        if (!ok || station.count < 1) return "--count takes a number from 1";
    }
    station.always = parser.isSet(o.always);
    station.onResult = parser.value(o.onResult);
    if (parser.isSet(o.onResult) && station.onResult.trimmed().isEmpty()) return "--on-result takes a command";
    return {};
}

// The command and its arguments; a problem text when they do not fit.
QString chooseCommand(QStringList arguments, Invocation& call) {
    if (arguments.isEmpty()) return "no command given";
    const QString name = arguments.takeFirst();
    call.command = findCommand(name);
    if (!call.command) return "unknown command '" + name + "'";
    if (arguments.size() != call.command->argumentCount && !(call.command->argumentsOptional && arguments.isEmpty()))
        return QString("%1 takes %2 argument(s)").arg(name).arg(call.command->argumentCount);
    for (const QString& argument : arguments) call.request.arguments << absoluteArgument(argument);
    call.request.file = call.request.arguments.value(0);
    return {};
}

}  // namespace

Invocation parseCommandLine(const QStringList& arguments, const PortRegistry& ports) {
    const Options o;
    QCommandLineParser parser;
    parser.setApplicationDescription(Introduction);
    parser.addPositionalArgument("command", "One of the commands below, then its arguments.", "COMMAND [ARGS]");
    parser.addOptions({o.help, o.port, o.allPorts, o.baud, o.timeout, o.output, o.dataSet, o.noVerify, o.force, o.json,
                       o.quiet, o.verbose, o.language, o.receipt, o.lines, o.background, o.time, o.record,
                       o.since, o.csv, o.watch, o.match, o.settle, o.always, o.count, o.onResult});

    Invocation call;
    const bool parsed = parser.parse(arguments);
    call.verbosity = parser.isSet(o.quiet) ? Verbosity::Quiet : parser.isSet(o.verbose) ? Verbosity::Verbose
                                                                                          : Verbosity::Normal;
    call.json = parser.isSet(o.json);
    call.languageFile = absolute(parser.value(o.language));
    if (!parsed) call.problem = parser.errorText();
    else if (parser.isSet(o.help)) call.helpText = helpText(parser);
    else if (parser.isSet(o.quiet) && parser.isSet(o.verbose)) call.problem = "--quiet and --verbose exclude each other";
    else if (parser.isSet(o.port) && parser.isSet(o.allPorts)) call.problem = "--port and --all-ports exclude each other";
    if (!call.problem.isEmpty() || !call.helpText.isEmpty()) return call;

    call.problem = chooseCommand(parser.positionalArguments(), call);
    if (call.problem.isEmpty()) call.problem = readCommonOptions(o, parser, call.request);
    if (call.problem.isEmpty()) call.problem = readPreviewOptions(o, parser, *call.command, call.request);
    if (call.problem.isEmpty()) call.problem = readStationOptions(o, parser, call.request);
    if (call.problem.isEmpty() && call.command->output && call.request.output.isEmpty())
        call.problem = QString(call.command->name) + " needs -o";
    if (call.problem.isEmpty()) call.problem = choosePorts(o, parser, *call.command, ports, call.request);
    return call;
}

}  // namespace vem::cli
