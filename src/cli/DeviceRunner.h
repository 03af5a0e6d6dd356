#pragma once
#include <QString>
#include <string>

#include "Console.h"
#include "host/SessionLink.h"
#include "serial/Serial.h"
#include "session/Session.h"

namespace vem::cli {

// The PC side of the line vemctl uses.
struct PortChoice {
    QString path;                     // a device path; the messages name it
    TBaudrate baud = TBaudrate::br_057600;
    int replyTimeoutMs = ReplyTimeoutMs;
};

// Runs the session's device operations on a serial port, the way the window program does, and
// waits for each to end.
class DeviceRunner {
public:
    DeviceRunner(Session& session, const PortChoice& port, Console& console);
    ~DeviceRunner();

    // The port as messages name it.
    std::string portName() const;
    // Carries out the outcome an operation started with and runs events until nothing of the
    // operation waits any more; what the outcomes ask to show goes to the console. False when
    // any of its outcomes failed; `failureSlot()` then tells the first message.
    bool run(const Outcome& started);
    int failureSlot() const { return failureSlot_; }

private:
    void show(const Outcome& outcome);

    Session& session_;
    Console& console_;
    QString path_;
    TSerial serial_;
    SessionLink link_;
    bool failed_ = false;
    int failureSlot_ = -1;
};

}  // namespace vem::cli
