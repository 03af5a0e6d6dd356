#pragma once
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <span>

#include "session/Session.h"

namespace vem {

class TSerial;

// Carries out what a Session's outcomes ask of the serial port and the timers, and feeds back
// what the port and the timers report. The rest of each outcome (messages, progress, windows)
// goes to the presenter.
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
    void setReplyTimeout(int ms) { Timer1.setInterval(ms); }

    // Carries out the outcome's port and timer requests, then presents it. A port that does not
    // open ends the operation: the session's answer to that is presented instead.
    void apply(const Outcome& outcome);
    // Nothing waits: no exchange, no deferred step, no device information still to be shown.
    bool idle() const;

private:
    void Serial1RxChar();
    bool applyLink(const LinkRequests& link);

    Session& session_;
    TSerial& serial_;
    Presenter present_;
    Tracer trace_;
    QTimer Timer1;  // the reply time-out
    QTimer Timer2;  // shows the device information a moment after it arrived
    int deferredSteps_ = 0;
};

}  // namespace vem
