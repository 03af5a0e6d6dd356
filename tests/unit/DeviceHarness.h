#pragma once
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/Session.h"
#include "sim/SimulatedDevice.h"

namespace vem::test {

// A Session bound to a SimulatedDevice in the same process, on a simulated clock: what a host
// does with an Outcome, done here with the device instead of a port, and the clock run from one
// deadline or device reply to the next.
struct SimulatedLink {
    enum class Feed { Whole, ByteByByte, WithTrailingByte };

    Session& session;
    SimulatedDevice device;
    Feed feed = Feed::Whole;
    std::optional<OpenFailure> openFails;
    LocalTime clock{31, 12, 2009, 23, 59, 58};

    Millis now = 0;
    bool portOpen = false;
    int opens = 0;
    int closes = 0;
    bool infoShown = false;
    bool askedToTake = false;
    int progressRefreshes = 0;
    std::optional<bool> busyCursor;  // as last asked
    std::vector<int> messages;
    std::vector<std::string> details;
    std::vector<std::vector<std::uint8_t>> sent;  // everything the host sent, in order
    std::vector<Millis> sentAt;                   // when each of them was sent

    SimulatedLink(Session& s, DeviceFaults faults = {}) : session(s), device(faults) {}

    Instant instant() const { return {now, clock}; }

    void apply(const Outcome& o) {
        messages.insert(messages.end(), o.messages.begin(), o.messages.end());
        if (!o.detail.empty()) details.push_back(o.detail);
        if (o.link.openPort && !portOpen) {
            if (openFails) {
                apply(session.device().portOpenFailed(*openFails));
                return;
            }
            portOpen = true;
            ++opens;
        }
        for (const auto& bytes : o.link.send) {
            sent.push_back(bytes);
            sentAt.push_back(now);
            if (portOpen) device.receive(bytes, now);
        }
        if (o.link.closePort && portOpen) {
            portOpen = false;
            ++closes;
        }
        if (o.showDeviceInfo) infoShown = true;
        if (o.question && o.question->kind == Question::Kind::TakeReadBack) askedToTake = true;
        if (o.refreshProgress) ++progressRefreshes;
        if (o.busyCursor) busyCursor = o.busyCursor;
    }

    // Runs the clock until nothing is due any more, or until `stop` says so.
    void run(const std::function<bool()>& stop = {}) {
        for (int guard = 0; guard < 1000000; ++guard) {
            if (stop && stop()) return;
            const std::optional<Millis> deadline = session.device().nextDeadline();
            const std::optional<Millis> reply = device.nextOutputTime();
            if (!deadline && !reply) return;
            // A reply due at the deadline itself comes too late.
            const bool replyFirst = reply && (!deadline || *reply < *deadline);
            now = std::max(now, replyFirst ? *reply : *deadline);
            if (!replyFirst) {
                apply(session.device().poll(instant()));
                continue;
            }
            std::vector<std::uint8_t> bytes = device.takeOutput(now);
            if (portOpen) deliver(bytes);  // a closed port hears nothing
        }
        FAIL() << "the exchange never settles";
    }

    void deliver(std::vector<std::uint8_t> bytes) {
        if (feed == Feed::WithTrailingByte) bytes.push_back(0x00);
        if (feed != Feed::ByteByByte) {
            apply(session.device().receive(bytes, instant()));
            return;
        }
        for (std::uint8_t b : bytes) apply(session.device().receive(std::span(&b, 1), instant()));
    }
};

}  // namespace vem::test
