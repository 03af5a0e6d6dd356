#pragma once
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "Console.h"
#include "Request.h"
#include "session/Session.h"

namespace vem::cli {

// What one device command found on one device.
struct DeviceReport {
    int exit = Success;
    QString summary;      // the closing line's end: what the device now holds
    QJsonObject facts;    // the same for --json
    QStringList results;  // the result lines of a run on one device
    QString note;         // its closing note
};

// What a device command does on one device: the operations it starts one after another on the
// device's own session, and what it reports once the last has ended well.
class DeviceTask {
public:
    virtual ~DeviceTask() = default;
    // Before the first operation; false (and said why) when a file cannot be used.
    virtual bool prepare(Session&, Console&) { return true; }
    // The operation to start after `done` of them ended well; nothing when all have run.
    virtual std::optional<Outcome> step(Session& session, const std::string& port, int done) = 0;
    virtual DeviceReport finish(const Session& session, Console& console, int lane) = 0;
};

std::unique_ptr<DeviceTask> programTask(const Request& request);
std::unique_ptr<DeviceTask> verifyTask(const Request& request);
std::unique_ptr<DeviceTask> infoTask(const Request& request);
std::unique_ptr<DeviceTask> clockTask(const Request& request);

}  // namespace vem::cli
