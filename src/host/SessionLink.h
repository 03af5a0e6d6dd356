#pragma once
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <span>

#include "session/Session.h"

namespace vem {

class TSerial;

// Carries out what a Session's outcomes ask of the serial port, keeps one timer set to the
// session's next deadline, and feeds back what the port reports and what time it is. A port is
// closed only once everything sent has left it. The rest of each outcome (messages, progress,
// windows) goes to the presenter.
class SessionLink : public QObject {
    Q_OBJECT
public:
    using Presenter = std::function<void(const Outcome&)>;
    // Every chunk of bytes that leaves (`outgoing`) or arrives, for a trace.
    using Tracer = std::function<void(bool outgoing, std::span<const std::uint8_t> bytes)>;

    SessionLink(Session& session, TSerial& serial, QObject* parent = nullptr);

    void setPresenter(Presenter presenter) { present_ = std::move(presenter); }
    void setTracer(Tracer tracer) { trace_ = std::move(tracer); }
    // Milliseconds the device has to answer (the protocol's 2 s unless changed).
    void setReplyTimeout(int ms) { session_.setReplyTimeout(ms); }

    // Carries out the outcome's port requests, then presents it. A port that does not open ends
    // the operation: the session's answer to that is presented instead.
    void apply(const Outcome& outcome);
    // Nothing waits: no exchange, no deadline, no port waiting for its output to leave.
    bool idle() const;

    // The session's clock: steady milliseconds and the local time.
    static Instant now();

private:
    void Serial1RxChar();
    void Timer1Timer();
    bool applyLink(const LinkRequests& link);
    // Closes the port once its output has left; until then Timer1 comes back for it.
    void closeDrained();
    // Timer1 to the earlier of the session's next deadline and the drain a close waits for.
    void arm();

    Session& session_;
    TSerial& serial_;
    Presenter present_;
    Tracer trace_;
    QTimer Timer1;
    bool closing_ = false;  // the port closes once drained
};

}  // namespace vem
