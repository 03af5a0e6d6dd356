#include "host/SessionLink.h"

#include <algorithm>
#include <chrono>

#include "files/ImageBuild.h"
#include "serial/SerialPort.h"

namespace vem {

SessionLink::SessionLink(Session& session, SerialPort& serial, QObject* parent)
    : QObject(parent), session_(session), serial_(serial) {
    connect(&serial_, &SerialPort::bytesArrived, this, &SessionLink::onBytesArrived);
    connect(&serial_, &SerialPort::removed, this, [this] { apply(session_.device().deviceGone()); });
    deadlineTimer_.setSingleShot(true);
    deadlineTimer_.setTimerType(Qt::PreciseTimer);
    connect(&deadlineTimer_, &QTimer::timeout, this, &SessionLink::onDeadline);
}

Instant SessionLink::now() {
    using namespace std::chrono;
    return {duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count(), currentLocalTime()};
}

bool SessionLink::idle() const {
    return !session_.device().exchangeRunning() && !session_.device().nextDeadline() && !serial_.isClosing();
}

void SessionLink::apply(const Outcome& outcome) {
    if (!applyLink(outcome.link)) {
        apply(session_.device().portOpenFailed(serial_.openProblem().reason));
        return;
    }
    arm();
    if (present_) present_(outcome);
}

bool SessionLink::applyLink(const LinkRequests& link) {
    if (link.openPort && !serial_.isOpen() && !serial_.open()) return false;
    for (const auto& bytes : link.send) {
        if (trace_) trace_(true, bytes);
        serial_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
    if (link.closePort) serial_.close();  // once what was sent has left the port
    return true;
}

void SessionLink::arm() {
    const Millis at = now().ms;
    const std::optional<Millis> next = session_.device().nextDeadline();
    if (!next) {
        deadlineTimer_.stop();
        return;
    }
    deadlineTimer_.start(static_cast<int>(std::clamp<Millis>(*next - at, 0, 24 * 3600 * 1000)));
}

void SessionLink::onDeadline() {
    const Instant moment = now();
    const std::optional<Millis> due = session_.device().nextDeadline();
    if (due && *due <= moment.ms) {
        apply(session_.device().poll(moment));
        return;
    }
    arm();  // early
}

void SessionLink::onBytesArrived() {
    const QByteArray arrived = serial_.readAll();
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(arrived.constData()),
                          static_cast<std::size_t>(arrived.size()));
    if (trace_ && !bytes.empty()) trace_(false, bytes);
    apply(session_.device().receive(bytes, now()));
}

}  // namespace vem
