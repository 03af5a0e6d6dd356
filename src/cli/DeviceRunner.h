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
    // `start`, then runs events until idle and the port has let the device go; SIGINT,
    // SIGTERM and SIGHUP interrupt it meanwhile. False when any of its outcomes failed.
    bool run(const Outcome& started);
    // Since the last start some outcome failed, or the run was interrupted.
    bool failed() const { return failed_; }
    // The exit code of a failed run.
    int failureExit() const;
    // The first failure's message and detail as facts: "message", "detail", and for an
    // interrupted run "interrupted": the signal, and the step and steps of the exchange it cut.
    QJsonObject failureFacts() const;
    // The read-back completed with an image that lacks the mark; the session holds it untaken.
    bool unmarkedReadBack() const { return unmarkedReadBack_; }

    // The process is asked to end: a running exchange is abandoned and the port closed. One line
    // says where the run stopped, and what that leaves on the device; no other message follows.
    void interrupt(int signal);
    // That line, without the port; empty while not interrupted.
    const QString& interruption() const { return interruption_; }
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
    int signal_ = 0;  // the interrupting signal
    QJsonObject interruptedFacts_;
    QString interruption_;
};

}  // namespace vem::cli
