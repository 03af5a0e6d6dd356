#pragma once
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <span>

#include "session/Session.h"

namespace vem {

class SerialPort;

// Carries out what a Session's outcomes ask of the serial port, keeps one timer set to the
// session's next deadline, and feeds back what the port reports and what time it is. The serial
// component closes a port only once everything sent has left it. The rest of each outcome
// (messages, progress, windows) goes to the presenter.
class SessionLink : public QObject {
    Q_OBJECT
public:
    using Presenter = std::function<void(const Outcome&)>;
    // Every chunk of bytes that leaves (`outgoing`) or arrives, for a trace.
    using Tracer = std::function<void(bool outgoing, std::span<const std::uint8_t> bytes)>;

    SessionLink(Session& session, SerialPort& serial, QObject* parent = nullptr);

    void setPresenter(Presenter presenter) { present_ = std::move(presenter); }
    void setTracer(Tracer tracer) { trace_ = std::move(tracer); }
    // Milliseconds the device has to answer (the protocol's 2 s unless changed).
    void setReplyTimeout(int ms) { session_.device().setReplyTimeout(ms); }

    // Carries out the outcome's port requests, then presents it. A port that does not open ends
    // the operation: the session's answer to that is presented instead.
    void apply(const Outcome& outcome);
    // Nothing waits: no exchange, no deadline, no port still closing.
    bool idle() const;

    // The session's clock: steady milliseconds and the local time.
    static Instant now();

private:
    void onBytesArrived();
    void onDeadline();
    bool applyLink(const LinkRequests& link);
    // The deadline timer to the session's next deadline.
    void arm();

    Session& session_;
    SerialPort& serial_;
    Presenter present_;
    Tracer trace_;
    QTimer deadlineTimer_;
};

}  // namespace vem
