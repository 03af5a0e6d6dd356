#pragma once
#include <string>

namespace vem {

// How one attempt of a production station on one device ended.
enum class StationResult { Verified, AlreadyHeld, Failed, Pulled };

// One row of a station's record: one attempt on one device.
struct StationAttempt {
    std::string started, ended;  // ISO 8601 UTC, e.g. "2026-12-08T09:30:00.123Z"
    std::string station;         // host name
    std::string port;            // the node or link that was opened
    std::string device;          // the device's name in the watched folder (by-id name)
    std::string projectPath;
    std::string projectSha256, templateSha256, imageSha256;  // lower-case hex
    StationResult result = StationResult::Failed;
    std::string failedStep, message;  // empty unless Failed or Pulled
    long long durationMs = 0;
};

}  // namespace vem
