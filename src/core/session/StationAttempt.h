#pragma once
#include <string>
#include <utility>

#include "i18n/MessageTable.h"

namespace vem {

// How one device's attempt at a station ended.
enum class StationResult {
    Verified,     // programmed and verified
    AlreadyHeld,  // the verify comparison found the project already on the device
    Failed,       // a step failed; failedStep and message say which and why
    Pulled,       // the device went away during the run; failedStep says where
};

// One row of a station's record: one device, one attempt. Every text is UTF-8, as the database
// keeps it (a message of the message table is converted from Windows-1252 first).
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

// A step as the record keeps it ("check 12/269", "program 3/269", "verify 269/269", "open"), in
// the words of `messages` (Windows-1252); a step of another form as it stands.
inline std::string stationStepText(const std::string& step, const MessageTable& messages) {
    const std::pair<const char*, int> words[] = {{"check", Msg::StationStepCheck},
                                                 {"program", Msg::OperationProgram},
                                                 {"verify", Msg::OperationVerify},
                                                 {"open", Msg::StationStepOpen}};
    const std::string word = step.substr(0, step.find(' '));
    for (const auto& [key, slot] : words)
        if (word == key) return messages.text(slot) + step.substr(word.size());
    return step;
}

// The stable English word of a result, as the record stores it and --json writes it.
inline const char* stationResultKey(StationResult result) {
    switch (result) {
    case StationResult::Verified: return "verified";
    case StationResult::AlreadyHeld: return "already-held";
    case StationResult::Failed: return "failed";
    case StationResult::Pulled: return "pulled";
    }
    return "failed";
}

// The message slot that says a result in words.
inline int stationResultSlot(StationResult result) {
    switch (result) {
    case StationResult::Verified: return Msg::StationResultVerified;
    case StationResult::AlreadyHeld: return Msg::StationResultAlreadyHeld;
    case StationResult::Failed: return Msg::StationResultFailed;
    case StationResult::Pulled: return Msg::StationResultPulled;
    }
    return Msg::StationResultFailed;
}

// The result a stored word names; false for a word no result has.
inline bool stationResultFromKey(const std::string& key, StationResult* result) {
    for (StationResult candidate : {StationResult::Verified, StationResult::AlreadyHeld,
                                    StationResult::Failed, StationResult::Pulled}) {
        if (key == stationResultKey(candidate)) {
            *result = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace vem
