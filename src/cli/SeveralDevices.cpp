#include "SeveralDevices.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <algorithm>
#include <vector>

#include "InterruptWatch.h"

namespace vem::cli {
namespace {

struct Device {
    Session session;
    std::unique_ptr<DeviceTask> task;
    std::unique_ptr<DeviceRunner> runner;
    QString port;
    int lane = 0;
    int done = 0;
    bool finished = false;
    QElapsedTimer clock;
    double seconds = 0;
    DeviceReport report;
};

// Starts the device's next operation whenever the last one has ended, until none is left or
// one failed; then closes its port.
void advance(Device& d, Console& console) {
    while (!d.finished && d.runner->idle()) {
        if (d.runner->failed()) {
            d.report.exit = d.runner->failureExit();
            const QJsonObject failure = d.runner->failureFacts();
            d.report.facts["failure"] = failure;
            d.report.summary = failure["message"].toString();
            if (d.runner->interruption().isEmpty()) d.report.summary += " (" + failure["detail"].toString() + ")";
            d.finished = true;
        } else if (auto next = d.task->step(d.session, d.runner->portName(), d.done++)) {
            d.runner->start(*next);
        } else {
            d.report = d.task->finish(d.session, console, d.lane);
            d.finished = true;
        }
    }
    if (!d.finished || d.seconds != 0) return;
    d.seconds = d.clock.nsecsElapsed() / 1e9;
    d.runner->closePort();
}

QJsonObject deviceFacts(const Device& d) {
    QJsonObject facts = d.report.facts;
    facts["port"] = d.port;
    facts["exit"] = d.report.exit;
    facts["ok"] = d.report.exit == Success;
    facts["seconds"] = d.seconds;
    return facts;
}

void report(const char* command, const std::vector<std::unique_ptr<Device>>& devices, int exit, Console& console) {
    const bool several = devices.size() > 1;
    QJsonArray facts;
    for (const auto& d : devices) {
        facts.append(deviceFacts(*d));
        if (several) {
            const bool ok = d->report.exit == Success;
            console.result(QString("%1  %2  %3 s  %4")
                               .arg(d->port, ok ? "ok" : "failed")
                               .arg(d->seconds, 0, 'f', 2)
                               .arg(d->report.summary));
            continue;
        }
        for (const QString& line : d->report.results) console.result(line);
        if (!d->report.note.isEmpty()) console.note(d->report.note);
    }
    if (console.json()) console.document({{"command", command}, {"devices", facts}, {"exit", exit}});
}

}  // namespace

int runOnDevices(const char* command, const Request& request, Context& context, const TaskMaker& makeTask) {
    Console& console = context.console;
    const bool several = request.ports.size() > 1;
    std::vector<std::unique_ptr<Device>> devices;
    for (const QString& path : request.ports) {
        auto d = std::make_unique<Device>();
        context.prepare(d->session);
        d->task = makeTask(request);
        if (!d->task->prepare(d->session, console)) return FileProblem;
        d->port = path;
        d->lane = several ? console.addLane(path) : 0;
        PortChoice port = request.port;
        port.path = path;
        d->runner = std::make_unique<DeviceRunner>(d->session, port, context.ports, console, d->lane);
        devices.push_back(std::move(d));
    }
    InterruptWatch interrupts;
    QObject::connect(&interrupts, &InterruptWatch::interrupted, [&](int signal) {
        for (auto& d : devices)
            if (!d->finished) d->runner->interrupt(signal);
    });
    for (auto& d : devices) {
        d->clock.start();
        advance(*d, console);
    }
    QEventLoop loop;
    // Until every device has ended and its port has let it go.
    const auto running = [&] {
        return std::any_of(devices.begin(), devices.end(),
                           [](auto& d) { return !d->finished || !d->runner->portClosed(); });
    };
    while (running()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
        for (auto& d : devices) advance(*d, console);
    }
    int exit = interrupts.signal() != 0 ? InterruptWatch::exitCode(interrupts.signal()) : Success;
    for (const auto& d : devices) exit = std::max(exit, d->report.exit);
    report(command, devices, exit, console);
    return exit;
}

}  // namespace vem::cli
