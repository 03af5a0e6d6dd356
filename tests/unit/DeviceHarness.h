#pragma once
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/SimulatedDevice.h"
#include "session/Session.h"

namespace vem::test {

// A Session bound to a SimulatedDevice in the same process, on a simulated clock: what the
// window does with an Outcome, done here with the device instead of a port.
struct SimulatedLink {
    enum class Feed { Whole, ByteByByte, WithTrailingByte };

    Session& session;
    SimulatedDevice device;
    Feed feed = Feed::Whole;
    std::optional<OpenFailure> openFails;
    LocalTime clock{31, 12, 2009, 23, 59, 58};

    std::int64_t now = 0;
    bool portOpen = false;
    int opens = 0;
    int closes = 0;
    bool infoShown = false;
    std::vector<int> messages;
    std::vector<std::string> details;
    std::vector<std::vector<std::uint8_t>> sent;  // everything the host sent, in order
    std::optional<std::int64_t> replyDeadline;
    std::optional<std::int64_t> infoDeadline;
    std::optional<std::pair<std::int64_t, std::uint64_t>> deferred;

    SimulatedLink(Session& s, DeviceFaults faults = {}) : session(s), device(faults) {}

    void apply(const Outcome& o) {
        messages.insert(messages.end(), o.messages.begin(), o.messages.end());
        if (!o.detail.empty()) details.push_back(o.detail);
        if (o.link.openPort && !portOpen) {
            if (openFails) {
                apply(session.portOpenFailed(*openFails));
                return;
            }
            portOpen = true;
            ++opens;
        }
        for (const auto& bytes : o.link.send) {
            sent.push_back(bytes);
            if (portOpen) device.receive(bytes, now);
        }
        if (o.link.closePort && portOpen) {
            portOpen = false;
            ++closes;
        }
        if (o.link.replyTimer == LinkRequests::Timer::Start) replyDeadline = now + ReplyTimeoutMs;
        if (o.link.replyTimer == LinkRequests::Timer::Stop) replyDeadline.reset();
        if (o.link.startInfoTimer) infoDeadline = now + InfoDelayMs;
        if (o.link.deferMs > 0) deferred = std::pair{now + o.link.deferMs, o.link.deferToken};
        if (o.showDeviceInfo) infoShown = true;
    }

    // Runs the clock until nothing is due any more, or until `stop` says so.
    void run(const std::function<bool()>& stop = {}) {
        for (int guard = 0; guard < 1000000; ++guard) {
            if (stop && stop()) return;
            std::optional<std::int64_t> next;
            auto consider = [&](std::optional<std::int64_t> t) {
                if (t && (!next || *t < *next)) next = t;
            };
            consider(device.nextOutputTime());
            consider(replyDeadline);
            consider(infoDeadline);
            if (deferred) consider(deferred->first);
            if (!next) return;
            now = std::max(now, *next);
            if (deferred && deferred->first <= now) {
                const std::uint64_t token = deferred->second;
                deferred.reset();
                apply(session.runDeferred(token));
            } else if (replyDeadline && *replyDeadline <= now) {
                replyDeadline.reset();
                apply(session.replyTimedOut());
            } else if (infoDeadline && *infoDeadline <= now) {
                infoDeadline.reset();
                apply(session.infoDelayPassed());
            } else {
                std::vector<std::uint8_t> bytes = device.takeOutput(now);
                if (portOpen) deliver(bytes);  // a closed port hears nothing
            }
        }
        FAIL() << "the exchange never settles";
    }

    void deliver(std::vector<std::uint8_t> bytes) {
        if (feed == Feed::WithTrailingByte) bytes.push_back(0x00);
        if (feed != Feed::ByteByByte) {
            apply(session.receive(bytes, clock));
            return;
        }
        for (std::uint8_t b : bytes) apply(session.receive(std::span(&b, 1), clock));
    }
};

}  // namespace vem::test
