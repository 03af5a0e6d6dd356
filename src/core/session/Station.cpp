#include "session/Station.h"

#include <algorithm>
#include <utility>

namespace vem {

namespace {
StationEvent noted(StationEvent::Kind kind, const std::string& device, Millis at) {
    StationEvent event;
    event.kind = kind;
    event.device = device;
    event.at = at;
    return event;
}
}  // namespace

Station::Station(Millis settleMs, int count) : settleMs_(settleMs), count_(count) {}

void Station::appeared(const std::string& device, Millis at) {
    auto [it, added] = devices_.try_emplace(device);
    Device& d = it->second;
    if (!added && d.present) return;
    d.present = true;
    d.since = at;
    if (d.state != State::Running) d.state = State::Settling;
    events_.push_back(noted(StationEvent::Kind::Arrived, device, at));
}

void Station::vanished(const std::string& device, Millis at) {
    const auto it = devices_.find(device);
    if (it == devices_.end() || !it->second.present) return;
    Device& d = it->second;
    d.present = false;
    if (d.state == State::Running) d.leftDuringRun = true;
    events_.push_back(noted(StationEvent::Kind::Left, device, at));
    if (d.state == State::Settling && !d.last) devices_.erase(it);  // never taken: nothing to keep
    else if (d.state == State::Settling) d.state = State::Finished;
}

bool Station::mayStart() const {
    if (stopped_) return false;
    if (count_ == 0) return true;
    const int runningNew = static_cast<int>(std::count_if(devices_.begin(), devices_.end(), [&](const auto& entry) {
        return entry.second.state == State::Running && !finished_.contains(entry.first);
    }));
    return finishedCount() + runningNew < count_;
}

std::vector<std::string> Station::due(Millis at) {
    std::vector<std::string> starting;
    for (auto& [name, d] : devices_) {
        if (d.state != State::Settling || !d.present || at - d.since < settleMs_ || !mayStart()) continue;
        d.state = State::Running;
        d.startedAt = at;
        d.leftDuringRun = false;
        events_.push_back(noted(StationEvent::Kind::Started, name, at));
        starting.push_back(name);
    }
    return starting;
}

void Station::runEnded(const std::string& device, const StationRunEnd& end, Millis at) {
    const auto it = devices_.find(device);
    if (it == devices_.end() || it->second.state != State::Running) return;
    Device& d = it->second;
    StationEvent finished{StationEvent::Kind::Finished, device, at, end.result, end.failedStep, end.message,
                          d.startedAt};
    if (d.leftDuringRun && finished.result == StationResult::Failed) finished.result = StationResult::Pulled;
    d.last = finished.result;
    if (finished.result != StationResult::Pulled) finished_.insert(device);
    // Back in the folder after it left during the run: it is taken again.
    d.state = d.present && d.leftDuringRun ? State::Settling : State::Finished;
    events_.push_back(std::move(finished));
}

std::optional<Millis> Station::nextDeadline() const {
    std::optional<Millis> next;
    if (!mayStart()) return next;
    for (const auto& [name, d] : devices_)
        if (d.state == State::Settling && d.present) next = std::min(next.value_or(d.since + settleMs_), d.since + settleMs_);
    return next;
}

std::vector<StationEvent> Station::takeEvents() { return std::exchange(events_, {}); }

bool Station::running(const std::string& device) const {
    const auto it = devices_.find(device);
    return it != devices_.end() && it->second.state == State::Running;
}

bool Station::done() const {
    const bool anyRunning = std::any_of(devices_.begin(), devices_.end(),
                                        [](const auto& entry) { return entry.second.state == State::Running; });
    return !anyRunning && (stopped_ || (count_ > 0 && finishedCount() >= count_));
}

StationTally Station::tally() const {
    StationTally tally;
    for (const auto& [name, d] : devices_) {
        if (!d.last) continue;
        switch (*d.last) {
        case StationResult::Verified: ++tally.verified; break;
        case StationResult::AlreadyHeld: ++tally.alreadyHeld; break;
        case StationResult::Failed: ++tally.failed; break;
        case StationResult::Pulled: ++tally.pulled; break;
        }
    }
    return tally;
}

bool Station::anyFailed() const {
    const StationTally t = tally();
    return t.failed + t.pulled > 0;
}

}  // namespace vem
