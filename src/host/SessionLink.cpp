#include "host/SessionLink.h"

#include <string>

#include "files/ImageBuild.h"
#include "serial/Serial.h"

namespace vem {

SessionLink::SessionLink(Session& session, TSerial& serial, QObject* parent)
    : QObject(parent), session_(session), serial_(serial) {
    serial_.OnRxChar = [this](TSerial&) { Serial1RxChar(); };
    serial_.OnCOMRemoved = [this](TCustomSerial&) { apply(session_.deviceGone()); };
    Timer1.setSingleShot(true);
    Timer1.setInterval(ReplyTimeoutMs);
    connect(&Timer1, &QTimer::timeout, this, [this] { apply(session_.replyTimedOut()); });
    Timer2.setSingleShot(true);
    Timer2.setInterval(InfoDelayMs);
    connect(&Timer2, &QTimer::timeout, this, [this] { apply(session_.infoDelayPassed()); });
}

bool SessionLink::idle() const { return !session_.exchangeRunning() && deferredSteps_ == 0 && !Timer2.isActive(); }

void SessionLink::apply(const Outcome& outcome) {
    if (!applyLink(outcome.link)) {
        apply(session_.portOpenFailed(serial_.LastOpenProblem().reason));
        return;
    }
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
    if (link.closePort) serial_.SetActive(false);
    if (link.replyTimer == LinkRequests::Timer::Start) Timer1.start();
    if (link.replyTimer == LinkRequests::Timer::Stop) Timer1.stop();
    if (link.startInfoTimer) Timer2.start();
    if (link.deferMs > 0) {
        const std::uint64_t token = link.deferToken;
        ++deferredSteps_;
        QTimer::singleShot(link.deferMs, this, [this, token] {
            --deferredSteps_;
            apply(session_.runDeferred(token));
        });
    }
    return true;
}

void SessionLink::Serial1RxChar() {
    const std::string text = serial_.RText();
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (trace_ && !bytes.empty()) trace_(false, bytes);
    apply(session_.receive(bytes, currentLocalTime()));
}

}  // namespace vem
