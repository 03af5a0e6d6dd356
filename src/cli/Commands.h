#pragma once
#include "Console.h"
#include "Request.h"
#include "session/Session.h"

namespace vem::cli {

// The commands that work with one session: on files, or on one device.
class Commands {
public:
    Commands(Session& session, Console& console, PortRegistry& ports)
        : session_(session), console_(console), ports_(ports) {}

    int ports();
    int read(const Request& request);
    int uploadFont(const Request& request);
    int uploadFirmware(const Request& request);
    int build(const Request& request);
    int check(const Request& request);
    int show(const Request& request);

private:
    int upload(const Request& request, bool font);

    Session& session_;
    Console& console_;
    PortRegistry& ports_;
};

}  // namespace vem::cli
