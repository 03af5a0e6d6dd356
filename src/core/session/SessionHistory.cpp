#include "session/Session.h"

#include <utility>

namespace vem {

Outcome Session::undo() {
    if (stepStart_) return Outcome::failed();  // a drag still runs
    auto before = history_.undo(snapshot());
    return before ? restored(std::move(*before)) : Outcome::failed();
}

Outcome Session::redo() {
    if (stepStart_) return Outcome::failed();
    auto after = history_.redo(snapshot());
    return after ? restored(std::move(*after)) : Outcome::failed();
}

Outcome Session::restored(ProjectHistory::Snapshot step) {
    project_ = std::move(step.project);
    image_ = std::move(step.image);
    projectFile_ = std::move(step.projectFile);
    unchangedText_ = std::move(step.savedText);
    // The boxes take the step's switch states without running their placement handlers.
    for (int n = 1; n <= FieldCount; ++n) editor_.showFieldSwitch(n, project_.field(n).enabled == 1);
    editor_.showDataSetAvailability();
    editor_.enableDataSetButton(project_.activeDataSet);
    refreshWindowFromProject();
    editor_.showDataFieldControls(false);
    Outcome out;
    showWholeProject(out);
    return settled(out);
}

}  // namespace vem
