#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "device/Exchange.h"
#include "session/StationAttempt.h"

namespace vem {

// What a station reports, in the order it happened.
struct StationEvent {
    enum class Kind { Arrived, Started, Finished, Left };
    Kind kind = Kind::Arrived;
    std::string device;  // the device's name in the watched folder
    Millis at = 0;
    // Finished only: how the run ended, where it stopped, and when it started.
    StationResult result = StationResult::Failed;
    std::string failedStep, message;
    Millis startedAt = 0;
};

// How a run on one device ended, as its host saw it.
struct StationRunEnd {
    StationResult result = StationResult::Failed;
    std::string failedStep, message;  // empty unless it failed
};

// Each device's last result counted once, by its name.
struct StationTally {
    int verified = 0, alreadyHeld = 0, failed = 0, pulled = 0;
};

// The decisions of a production station, without I/O: which devices the watched folder shows,
// which have been there long enough to be taken, which run, and how each run ended. A device is
// taken once it has been present for the settle time; every time it comes back after it left, it
// is taken again (after a run it left in). A run cut short because its device left ends as
// Pulled. The host starts the runs `due` names and reports how they ended; it polls `due` at
// nextDeadline().
class Station {
public:
    // `count`: finished devices after which no run starts any more; 0 for no limit.
    Station(Millis settleMs, int count);

    // The watched folder shows `device` from `at` (a name already present is ignored).
    void appeared(const std::string& device, Millis at);
    // The folder no longer shows `device`.
    void vanished(const std::string& device, Millis at);
    // The devices whose run starts now; each is running until runEnded.
    std::vector<std::string> due(Millis at);
    // The run on `device` ended. A run whose device left meanwhile and failed was pulled.
    void runEnded(const std::string& device, const StationRunEnd& end, Millis at);
    // No run starts any more; those running end as they will.
    void stop() { stopped_ = true; }

    // When `due` may have a device to start; none while nothing settles.
    std::optional<Millis> nextDeadline() const;
    std::vector<StationEvent> takeEvents();
    bool running(const std::string& device) const;
    // Stopped, or `count` devices finished, and no run is left.
    bool done() const;
    StationTally tally() const;
    // Some device's last run failed, or it was pulled and has not come back to pass.
    bool anyFailed() const;

private:
    enum class State { Settling, Running, Finished };
    struct Device {
        State state = State::Settling;
        bool present = true;
        Millis since = 0;       // present since
        Millis startedAt = 0;   // the running run's start
        bool leftDuringRun = false;
        std::optional<StationResult> last;
    };
    bool mayStart() const;
    int finishedCount() const { return static_cast<int>(finished_.size()); }

    Millis settleMs_;
    int count_;
    bool stopped_ = false;
    std::map<std::string, Device> devices_;
    std::set<std::string> finished_;  // names with a run that ended other than pulled
    std::vector<StationEvent> events_;
};

}  // namespace vem
