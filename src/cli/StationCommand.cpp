#include "StationCommand.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonObject>

#include "InterruptWatch.h"
#include "ProjectOpen.h"
#include "host/Encoding.h"
#include "host/MessageText.h"
#include "host/ProductionStation.h"

namespace vem::cli {
namespace {

// Says what the station does: lines for a person, or one JSON object per event.
class StationReport {
public:
    StationReport(Console& console, MessageTable messages) : console_(console), messages_(std::move(messages)) {}

    QString text(int slot, const QStringList& values) const {
        return messageText(messages_, slot, values);
    }

    void event(const StationEvent& e, const QString& port) {
        const QString device = QString::fromStdString(e.device);
        const QString seconds = QString::number((e.at - e.startedAt) / 1000.0, 'f', 2);
        QJsonObject json{{"device", device}, {"port", port},
                         {"time", QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)}};
        switch (e.kind) {
        case StationEvent::Kind::Arrived:
            json["event"] = "arrived";
            console_.note(text(Msg::StationArrived, {device}));
            break;
        case StationEvent::Kind::Started:
            json["event"] = "started";
            console_.note(text(Msg::StationStarted, {device}));
            break;
        case StationEvent::Kind::Left:
            json["event"] = "left";
            console_.note(text(Msg::StationLeft, {device}));
            break;
        case StationEvent::Kind::Finished: {
            const QString step = fromCp1252(stationStepText(e.failedStep, messages_)), message = fromCp1252(e.message);
            json["event"] = "finished";
            json["result"] = stationResultKey(e.result);
            json["ok"] = e.result == StationResult::Verified || e.result == StationResult::AlreadyHeld;
            json["seconds"] = seconds.toDouble();
            if (!json["ok"].toBool()) json["step"] = QString::fromStdString(e.failedStep);
            if (!json["ok"].toBool()) json["message"] = message;
            console_.result(e.result == StationResult::Verified      ? text(Msg::StationVerified, {device, seconds})
                            : e.result == StationResult::AlreadyHeld ? text(Msg::StationAlreadyHeld, {device, seconds})
                            : e.result == StationResult::Pulled      ? text(Msg::StationPulled, {device, step, message})
                                                                     : text(Msg::StationFailed, {device, step, message}));
            break;
        }
        }
        if (console_.json()) console_.jsonLines({json});
    }

    // A problem that is no device's result: a line on stderr, and an "error" event.
    void problem(const QString& line) {
        console_.error(line);
        if (console_.json()) console_.jsonLines({{{"event", "error"}, {"message", line}}});
    }

    void commandFailed(const QString& device, int exitCode, bool timedOut, int timeoutMs) {
        problem(timedOut        ? text(Msg::StationCommandTimedOut, {device, QString::number(timeoutMs / 1000)})
                : exitCode >= 0 ? text(Msg::StationCommandFailed, {device, QString::number(exitCode)})
                                : text(Msg::StationCommandNotRun, {device}));
    }

    void end(const StationTally& tally, int exit) {
        console_.note(text(Msg::StationSummary, {QString::number(tally.verified), QString::number(tally.alreadyHeld),
                                                 QString::number(tally.failed), QString::number(tally.pulled)}));
        if (console_.json())
            console_.jsonLines({{{"event", "end"}, {"verified", tally.verified}, {"alreadyHeld", tally.alreadyHeld},
                            {"failed", tally.failed}, {"pulled", tally.pulled}, {"exit", exit}}});
    }

private:
    Console& console_;
    MessageTable messages_;
};

// The project as every run programs it: opened as the other commands open it, its image built.
std::optional<StationProject> stationProject(const Request& request, Context& context) {
    Session session;
    context.prepare(session);
    if (!openProjectIn(session, context.console, request.file)) return std::nullopt;
    session.document().buildImage(currentLocalTime());
    const ProjectDocument& document = session.document();
    return StationProject{document.project(), document.image(), document.image(), context.language,
                          request.port.baud, request.port.replyTimeoutMs, request.station.always};
}

}  // namespace

int station(const Request& request, Context& context) {
    Console& console = context.console;
    StationReport report(console, context.messages());
    if (!request.force && !passesCheck(console, context.messages(), request.file)) return FileProblem;
    const StationRequest& asked = request.station;
    // The system makes /dev/serial/by-id only for the first device plugged in; a folder named
    // with --watch must be there.
    if (asked.watchGiven && !QFileInfo(asked.watch).isDir()) {
        console.error(pathMessage(context.messages(), Msg::NoSuchFolder, asked.watch));
        return FileProblem;
    }
    std::optional<StationProject> project = stationProject(request, context);
    if (!project) return FileProblem;
    StationOptions options;
    options.projectPath = request.file;
    options.watchFolder = asked.watch;
    options.match = asked.match;
    options.settleMs = asked.settleMs;
    options.count = asked.count;
    options.record = request.record.isEmpty() ? StationRecord::defaultTarget(request.file) : request.record;
    options.onResult = asked.onResult;
    ProductionStation station(options, std::move(*project), context.ports);
    QString why;
    if (!station.open(&why, context.messages())) {
        console.error(why);
        return FileProblem;
    }
    QObject::connect(&station, &ProductionStation::event, [&](const StationEvent& e, const QString& port) {
        report.event(e, port);
    });
    QObject::connect(&station, &ProductionStation::recordNotWritten, [&](const QString& reason) {
        report.problem(report.text(Msg::StationRecordNotWritten, {reason}));
    });
    QObject::connect(&station, &ProductionStation::commandFailed, [&](const QString& device, int code, bool late) {
        report.commandFailed(device, code, late, options.onResultTimeoutMs);
    });
    QObject::connect(&station, &ProductionStation::folderPresence, [&](bool present) {
        console.note(report.text(present ? Msg::StationWaiting : Msg::StationFolderAbsent, {options.watchFolder}));
    });
    InterruptWatch interrupts;
    QObject::connect(&interrupts, &InterruptWatch::interrupted, [&] { station.stop(); });
    QEventLoop loop;
    QObject::connect(&station, &ProductionStation::finishedAll, &loop, &QEventLoop::quit);
    console.note(report.text(Msg::StationWaiting, {options.watchFolder}));
    station.start();
    if (!station.finished()) loop.exec();
    const int exit = interrupts.signal() != 0 ? InterruptWatch::exitCode(interrupts.signal())
                     : station.recordFailed()  ? FileProblem
                     : station.station().anyFailed() ? DeviceFailure
                                                     : Success;
    report.end(station.station().tally(), exit);
    return exit;
}

}  // namespace vem::cli
