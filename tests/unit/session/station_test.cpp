#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "EnglishTexts.h"
#include "session/Station.h"

namespace vem::test {
namespace {

using Kind = StationEvent::Kind;

// Random plugs, pulls, returns and run ends of a few devices: a run starts only on a device that
// has been there for the settle time, never twice at once on one device, ends once, and a device
// that is back after it left is taken again; each device is counted once, by its last result.
TEST(Station, RandomPlugAndPullSequencesKeepEveryDeviceAccountedFor) {
    const char* seedText = std::getenv("VEM_PROPERTY_SEED");
    std::mt19937 rng(seedText ? static_cast<unsigned>(std::atoi(seedText)) : 37u);
    constexpr Millis Settle = 500;
    for (int round = 0; round < 200; ++round) {
        Station station(Settle, 0);
        const std::vector<std::string> names{"a", "b", "c", "d"};
        std::set<std::string> present, running, runAgain;
        std::map<std::string, Millis> presentSince, startedAt;
        std::map<std::string, StationResult> last;
        Millis t = 0;
        const auto check = [&](const std::vector<StationEvent>& events) {
            for (const StationEvent& e : events) {
                if (e.kind == Kind::Started) {
                    ASSERT_TRUE(present.contains(e.device)) << e.device;
                    ASSERT_GE(e.at - presentSince[e.device], Settle) << e.device;
                    ASSERT_TRUE(running.insert(e.device).second) << e.device << " started twice";
                    ASSERT_EQ(runAgain.erase(e.device), 1u) << e.device << " ran again without coming back";
                    startedAt[e.device] = e.at;
                }
                if (e.kind == Kind::Finished) {
                    ASSERT_EQ(running.erase(e.device), 1u) << e.device << " ended without a run";
                    ASSERT_EQ(e.startedAt, startedAt[e.device]) << e.device;
                    last[e.device] = e.result;
                }
            }
        };
        for (int step = 0; step < 60; ++step) {
            const std::string& name = names[rng() % names.size()];
            t += static_cast<Millis>(rng() % 400);
            switch (rng() % 4) {
            case 0:
                if (present.insert(name).second) {
                    presentSince[name] = t;
                    runAgain.insert(name);
                }
                station.appeared(name, t);
                break;
            case 1:
                present.erase(name);
                station.vanished(name, t);
                break;
            case 2:
                if (running.contains(name)) {
                    const auto result = static_cast<StationResult>(rng() % 4);
                    station.runEnded(name, {result, {}, {}}, t);
                }
                break;
            default: station.due(t); break;
            }
            check(station.takeEvents());
            // A device waiting to run gives the station a deadline, and none is given for nothing.
            const bool waiting = std::any_of(runAgain.begin(), runAgain.end(), [&](const std::string& n) {
                return present.contains(n) && !running.contains(n);
            });
            ASSERT_EQ(station.nextDeadline().has_value(), waiting) << "step " << step;
        }
        // Every run ends; then every device still there that came (back) since its last run runs.
        for (const std::string& name : std::set(running)) station.runEnded(name, {StationResult::Verified, {}, {}}, t);
        check(station.takeEvents());
        t += Settle;
        station.due(t);
        check(station.takeEvents());
        for (const std::string& name : runAgain) {
            if (!present.contains(name)) continue;
            EXPECT_TRUE(running.contains(name)) << name << " came back but was not taken";
        }
        const StationTally tally = station.tally();
        EXPECT_EQ(tally.verified + tally.alreadyHeld + tally.failed + tally.pulled, static_cast<int>(last.size()));
    }
}

// --count ends the station after that many devices, without starting more runs than it needs,
// and a pulled run does not count.
TEST(Station, CountEndsAfterThatManyFinishedDevicesAndAPulledRunDoesNotCount) {
    Station station(0, 2);
    for (const char* name : {"a", "b", "c"}) station.appeared(name, 0);
    EXPECT_EQ(station.due(0).size(), 2u);
    station.vanished("a", 1);
    station.runEnded("a", {StationResult::Failed, "program 3/268", "gone"}, 2);
    station.runEnded("b", {StationResult::Verified, {}, {}}, 3);
    EXPECT_FALSE(station.done());
    const auto next = station.due(4);
    ASSERT_EQ(next, std::vector<std::string>{"c"});
    station.runEnded("c", {StationResult::AlreadyHeld, {}, {}}, 5);
    EXPECT_TRUE(station.done());
    const StationTally tally = station.tally();
    EXPECT_EQ(tally.pulled, 1);
    EXPECT_TRUE(station.anyFailed());
}

// The record keeps a step as words of its own; people read it in the language file's.
TEST(Station, AStepIsSaidInTheLanguageFilesWords) {
    const std::pair<const char*, const char*> steps[] = {{"check 12/269", "check whether it holds the project 12/269"},
                                                         {"verify 269/269", "Verify after programming 269/269"},
                                                         {"open", "opening the port"},
                                                         {"unknown 1/2", "unknown 1/2"}};
    for (const auto& [kept, said] : steps) EXPECT_EQ(stationStepText(kept, englishMessages()), said);
}

}  // namespace
}  // namespace vem::test
