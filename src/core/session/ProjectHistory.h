#pragma once
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "model/DeviceImage.h"
#include "model/Project.h"

namespace vem {

// The undo and redo steps of a project: each step is the whole project (with its device image,
// whether that holds a loaded template, and which file the project is) as it was before a
// change. Changes typed one after another form one step.
class ProjectHistory {
public:
    struct Snapshot {
        Project project;
        DeviceImage image;
        std::string projectFile;  // empty: the project has no file of its own
        std::string savedText;    // what that file held when last opened or saved
    };
    // The oldest steps are forgotten beyond this many.
    static constexpr std::size_t MaxSteps = 100;

    // A change left `before` behind. A typing change right after another joins its step; any
    // change drops the steps that could be redone.
    void record(Snapshot before, bool typing);
    // The next typing change starts a step of its own.
    void endTypingRun() { typingRun_ = false; }
    // The project was saved to `file` as `text`: every step is now that file's, measured against
    // that text, and the next typing change starts a step of its own.
    void saved(const std::string& file, const std::string& text);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoSteps() const { return undo_.size(); }
    // The state before the last change; `current` becomes the step to redo. None when empty.
    std::optional<Snapshot> undo(Snapshot current);
    // The state the last undo left; `current` becomes the step to undo. None when empty.
    std::optional<Snapshot> redo(Snapshot current);
    void clear();

private:
    // The last state of `from`; `current` goes onto `to`.
    std::optional<Snapshot> moveStep(std::deque<Snapshot>& from, std::deque<Snapshot>& to, Snapshot current);

    std::deque<Snapshot> undo_;
    std::deque<Snapshot> redo_;
    bool typingRun_ = false;
};

}  // namespace vem
