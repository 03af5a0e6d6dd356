#pragma once
#include <QJsonObject>
#include <QString>
#include <string>

#include "Console.h"
#include "host/SessionLink.h"
#include "serial/SerialPort.h"
#include "session/Session.h"

namespace vem::cli {

// The PC side of the line vemctl uses.
struct PortChoice {
    QString path;                     // a device path; the messages name it
    TBaudrate baud = TBaudrate::br_057600;
    int replyTimeoutMs = ReplyTimeoutMs;
};

// Runs the session's device operations on a serial port, the way the window program does.
// Several runners, each with its own session, share one event loop.
class DeviceRunner {
public:
    DeviceRunner(Session& session, const PortChoice& port, PortRegistry& ports, Console& console, int lane = 0);

    // The port as messages name it.
    std::string portName() const;
    // Carries out the outcome an operation started with; what the outcomes ask to show goes to
    // the console.
    void start(const Outcome& started);
    // Nothing of the operation waits any more.
    bool idle() const { return link_.idle(); }
    // `start`, then runs events until idle and the port has let the device go. False when any of
    // its outcomes failed.
    bool run(const Outcome& started);
    // Since the last start some outcome failed; the first failure's message and detail.
    bool failed() const { return failed_; }
    int failureSlot() const { return failureSlot_; }
    const std::string& failureDetail() const { return failureDetail_; }
    // The first failure's message and detail as facts: "message", "detail".
    QJsonObject failureFacts() const;
    // The read-back completed with an image that lacks the mark; the session holds it untaken.
    bool unmarkedReadBack() const { return unmarkedReadBack_; }
    // Closes the port; portClosed() once it has let the device go (and its settings are back).
    void closePort() { serial_.close(); }
    bool portClosed() const { return !serial_.isOpen() && !serial_.isClosing(); }

private:
    void show(const Outcome& outcome);

    Session& session_;
    Console& console_;
    int lane_;
    QString path_;
    SerialPort serial_;
    SessionLink link_;
    bool failed_ = false;
    bool unmarkedReadBack_ = false;
    int failureSlot_ = -1;
    std::string failureDetail_;
};

// The exit code after a failed device operation.
int deviceExit(int failureSlot);

}  // namespace vem::cli
