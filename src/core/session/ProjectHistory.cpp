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
    return moveStep(undo_, redo_, std::move(current));
}

std::optional<ProjectHistory::Snapshot> ProjectHistory::redo(Snapshot current) {
    return moveStep(redo_, undo_, std::move(current));
}

std::optional<ProjectHistory::Snapshot> ProjectHistory::moveStep(std::deque<Snapshot>& from, std::deque<Snapshot>& to,
                                                                 Snapshot current) {
    typingRun_ = false;
    if (from.empty()) return std::nullopt;
    Snapshot state = std::move(from.back());
    from.pop_back();
    to.push_back(std::move(current));
    return state;
}

void ProjectHistory::saved(const std::string& file, const std::string& text) {
    for (auto* steps : {&undo_, &redo_})
        for (Snapshot& step : *steps) {
            step.projectFile = file;
            step.savedText = text;
        }
    typingRun_ = false;
}

void ProjectHistory::clear() {
    undo_.clear();
    redo_.clear();
    typingRun_ = false;
}

}  // namespace vem
