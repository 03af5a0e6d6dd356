#include "session/ProjectHistory.h"

#include <utility>

namespace vem {

void ProjectHistory::record(Snapshot before, bool typing) {
    redo_.clear();
    const bool joinsRun = typing && typingRun_ && !undo_.empty();
    typingRun_ = typing;
    if (joinsRun) return;
    undo_.push_back(std::move(before));
    if (undo_.size() > MaxSteps) undo_.pop_front();
}

std::optional<ProjectHistory::Snapshot> ProjectHistory::undo(Snapshot current) {
    typingRun_ = false;
    if (undo_.empty()) return std::nullopt;
    Snapshot before = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(std::move(current));
    return before;
}

std::optional<ProjectHistory::Snapshot> ProjectHistory::redo(Snapshot current) {
    typingRun_ = false;
    if (redo_.empty()) return std::nullopt;
    Snapshot after = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(std::move(current));
    return after;
}

void ProjectHistory::clear() {
    undo_.clear();
    redo_.clear();
    typingRun_ = false;
}

}  // namespace vem
