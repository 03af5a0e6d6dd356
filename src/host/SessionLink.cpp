#include "host/SessionLink.h"

#include <algorithm>
#include <chrono>

#include "files/ImageBuild.h"
#include "serial/Serial.h"

namespace vem {

SessionLink::SessionLink(Session& session, TSerial& serial, QObject* parent)
    : QObject(parent), session_(session), serial_(serial) {
    serial_.OnRxChar = [this](TSerial&) { Serial1RxChar(); };
    serial_.OnCOMRemoved = [this](TCustomSerial&) { apply(session_.deviceGone()); };
    Timer1.setSingleShot(true);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &SessionLink::Timer1Timer);
}

Instant SessionLink::now() {
    using namespace std::chrono;
    return {duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count(), currentLocalTime()};
}

bool SessionLink::idle() const { return !session_.exchangeRunning() && !session_.nextDeadline(); }

void SessionLink::apply(const Outcome& outcome) {
    if (!applyLink(outcome.link)) {
        apply(session_.portOpenFailed(serial_.LastOpenProblem().reason));
        return;
    }
    arm();
    if (present_) present_(outcome);
}

bool SessionLink::applyLink(const LinkRequests& link) {
    if (link.openPort && !serial_.Active()) {
        serial_.SetActive(true);
        if (!serial_.Active()) return false;
    }
    for (const auto& bytes : link.send) {
        if (trace_) trace_(true, bytes);
        serial_.TData(bytes.data(), static_cast<unsigned>(bytes.size()));
    }
    if (link.closePort) serial_.SetActive(false);  // once what was sent has left the port
    return true;
}

void SessionLink::arm() {
    const Millis at = now().ms;
    const std::optional<Millis> next = session_.nextDeadline();
    if (!next) {
        Timer1.stop();
        return;
    }
    Timer1.start(static_cast<int>(std::clamp<Millis>(*next - at, 0, 24 * 3600 * 1000)));
}

void SessionLink::Timer1Timer() {
    const Instant moment = now();
    const std::optional<Millis> due = session_.nextDeadline();
    if (due && *due <= moment.ms) {
        apply(session_.poll(moment));
        return;
    }
    arm();  // early
}

void SessionLink::Serial1RxChar() {
    const std::string text = serial_.RText();
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (trace_ && !bytes.empty()) trace_(false, bytes);
    apply(session_.receive(bytes, now()));
}

}  // namespace vem
