#pragma once
#include <QString>
#include <optional>

#include "Console.h"
#include "DeviceRunner.h"
#include "session/Session.h"

namespace vem::cli {

// vemctl's exit codes.
enum Exit : int { Success = 0, DeviceFailure = 1, UsageError = 2, FileProblem = 3 };

// What the command line chose; paths are absolute.
struct Request {
    QString file;                  // the project file, or the font or firmware file
    QString output;                // -o
    std::optional<int> dataSet;    // --data-set, 1..4
    bool verify = true;
    PortChoice port;
};

class Commands {
public:
    Commands(Session& session, Console& console) : session_(session), console_(console) {}

    int ports();
    int program(const Request& request);
    int read(const Request& request);
    int info(const Request& request);
    int clock(const Request& request);
    int uploadFont(const Request& request);
    int uploadFirmware(const Request& request);
    int build(const Request& request);
    int check(const Request& request);
    int show(const Request& request);

private:
    // Opens the project in its own folder, so that its template is found beside it. False (and
    // said why) when the project, or the template when it is needed, cannot be used.
    bool openProject(const QString& path, bool needTemplate = true);
    // The exit code after a failed device run.
    int deviceExit(const DeviceRunner& runner) const;
    // Compares the device's image as read back with `sent`; says the first difference.
    bool sameImage(const DeviceImage& sent);
    int upload(const Request& request, bool font);

    Session& session_;
    Console& console_;
};

}  // namespace vem::cli
