#include "session/ProjectDocument.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "files/FileIo.h"
#include "files/ImageFile.h"
#include "files/ProjectCheck.h"
#include "files/ProjectFile.h"
#include "files/ReadBack.h"
#include "model/FieldCells.h"

namespace vem {

ProjectDocument::ProjectDocument(MessageTable& messages) : messages_(messages) { markUnchanged(); }

template <class Change>
Outcome ProjectDocument::recorded(bool typing, Change change) {
    if (!stepStart_) stepStart_ = snapshot();
    Outcome out = change();
    if (editor_.cursor().dragging) return out;  // the release ends the step
    ProjectHistory::Snapshot before = std::move(*stepStart_);
    stepStart_.reset();
    if (writeProjectText(before.project) != writeProjectText(project_))
        history_.record(std::move(before), typing);
    else if (!typing)
        history_.endTypingRun();
    return out;
}

Outcome ProjectDocument::edit(const std::function<Outcome(Project&, DeviceImage&)>& change) {
    return recorded(false, [&] { return change(project_, image_); });
}

ProjectHistory::Snapshot ProjectDocument::snapshot() const { return {project_, image_, projectFile_, unchangedText_}; }

void ProjectDocument::markUnchanged() { unchangedText_ = writeProjectText(project_); }

bool ProjectDocument::modified() const { return writeProjectText(project_) != unchangedText_; }

Outcome ProjectDocument::settled(Outcome outcome) {
    outcome.refreshEditor = true;
    if (editor_.cursor().dragging) return outcome;  // the release ends the operation
    project_.storeWorkingFields();
    editor_.storeCellTags();
    shareDateTimeCells(project_);
    project_.loadWorkingFields(project_.activeDataSet, true);
    editor_.reloadCellTags();
    return outcome;
}

void ProjectDocument::refreshWindowFromProject() {
    editor_.refreshWindowFromProject();
    image_.storePortSplit(project_.device.IpPort);
}

// ---- Grid ----

Outcome ProjectDocument::keyDown(EditorKey key) {
    return recorded(key == EditorKey::Backspace, [&] {
        editor_.keyDown(key);
        return settled({});
    });
}

Outcome ProjectDocument::keyPress(unsigned char c) {
    return recorded(true, [&] {
        editor_.keyPress(c);
        return settled({});
    });
}

Outcome ProjectDocument::mousePress(int cell, MouseButton button) {
    return recorded(false, [&] {
        editor_.mousePress(cell, button);
        return settled({});
    });
}

Outcome ProjectDocument::mouseMove(int x, int y) {
    editor_.mouseMove(x, y);
    return settled({});
}

Outcome ProjectDocument::mouseRelease() {
    return recorded(false, [&] {
        editor_.mouseRelease();
        return settled({});
    });
}

// ---- Field list, data sets, clock ----

Outcome ProjectDocument::clickFieldCheckBox(int field) {
    return recorded(false, [&] {
        if (field >= 1 && field <= FieldCount) editor_.clickFieldCheckBox(field);
        return settled({});
    });
}

Outcome ProjectDocument::clickSummerTimeCheckBox() {
    return recorded(false, [&] {
        editor_.clickSummerTimeCheckBox();
        return settled({});
    });
}

Outcome ProjectDocument::switchDataSet(int dataSet) {
    return recorded(false, [&] {
        editor_.switchDataSet(dataSet);
        image_.storePortSplit(project_.device.IpPort);
        return settled({});
    });
}

// ---- Field dialog ----

FieldDialogValues ProjectDocument::fieldDialog(int field) const {
    FieldDialogValues v = fillFieldDialog(project_.field(field));
    v.maxFieldLength = image_.maxFieldLength(project_.activeDataSet, field);
    return v;
}

Outcome ProjectDocument::closeFieldDialog(int field, DialogClose how, const FieldDialogValues& values) {
    if (field < 1 || field > DataFieldCount) return {};
    return recorded(false, [&] {
        int tag = field;  // the close box leaves the tag as it went in
        if (how == DialogClose::Cancel) tag = 0;
        Outcome out;
        if (how == DialogClose::Accept) {
            const FieldDialogAccepted accepted = editor_.acceptFieldDialog(field, values, fieldDialog(field).maxFieldLength);
            tag = accepted.tag;
            if (accepted.limit) say(out, *accepted.limit);
        }
        editor_.finishFieldDialog(field, tag);
        return settled(out);
    });
}

// ---- Whole projects ----

Outcome ProjectDocument::takeProject(const Project& project, const DeviceImage& image) {
    changedFile();
    project_ = project;
    image_ = image;
    templateProblem_ = {};
    waitingProject_.reset();
    projectFile_.clear();
    if (image_.imageTemplateLoaded) editor_.showDataSetAvailability();
    editor_.enableDataSetButton(project_.activeDataSet);
    project_.loadWorkingFields(project_.activeDataSet, true);
    // The grid shows the new tags before any check box handler runs on it.
    refreshWindowFromProject();
    editor_.showDataFieldControls();
    Outcome out;
    showWholeProject(out);
    out = settled(out);
    markUnchanged();
    history_.clear();
    return out;
}

// ---- Files ----

Outcome ProjectDocument::startUp() {
    project_.openDefaultProject = true;
    std::error_code error;
    folder_ = std::filesystem::current_path(error);
    Outcome out = openProject(DefaultProjectName);
    out.refreshEditor = true;
    out.refreshCaption = true;
    out.refreshSettingLabels = true;
    markUnchanged();
    return out;
}

Outcome ProjectDocument::startUp(const std::string& path, const std::string& shownName) {
    Outcome out = openProject(path, shownName);
    showWholeProject(out);
    return out;
}

void ProjectDocument::showWholeProject(Outcome& out) {
    out.refreshEditor = true;
    out.refreshCaption = true;
    out.refreshSettingLabels = true;
    out.posExtendedEnabled = image_.posExtendedSupported();
}

void ProjectDocument::showTemplate(Outcome& out) {
    editor_.showDataSetAvailability();
    if (const int first = firstAvailableDataSet(project_); first >= 0) {
        editor_.activateDataSet(first);
    } else {
        // Without a template (or an available data set) the field controls show data set 0's
        // fields; no box is ticked for fields that are not the project's.
        project_.activeDataSet = 0;
        project_.loadWorkingFields(0, false);
        editor_.clearFieldBoxCaptions();
        editor_.showDataFieldControls(false);
    }
    out.refreshCaption = true;
    out.refreshSettingLabels = true;
    out.posExtendedEnabled = image_.posExtendedSupported();
}

namespace {

// At most this many problems are listed under a message; the rest are counted.
constexpr std::size_t ListedProblems = 8;

std::string listedProblems(const std::vector<SlotMessage>& problems, const MessageTable& messages) {
    std::string list;
    for (std::size_t i = 0; i < problems.size() && i < ListedProblems; ++i)
        list += (i ? "\n" : "") + messages.text(problems[i]);
    if (problems.size() > ListedProblems)
        list += "\n" + messages.text({Msg::MoreProblems, {std::to_string(problems.size() - ListedProblems)}});
    return list;
}

}  // namespace

std::string ProjectDocument::programmingProblems() const {
    return listedProblems(checkProjectText(writeProjectText(project_), folder_).contentProblems, messages_);
}

Outcome ProjectDocument::openProject(const std::string& path, const std::string& shownName) {
    const bool startUp = project_.openDefaultProject;
    project_.openDefaultProject = false;
    changedFile();
    waitingProject_.reset();
    std::error_code error;
    const std::string name = shownName.empty() ? std::filesystem::absolute(path, error).string() : shownName;
    FileFault fault{};
    const auto text = readProjectText(path, fault);
    if (!text) {
        // Without a default.qor the program starts with an empty project.
        if (startUp && fault == FileFault::Missing) return Outcome::failed();
        Outcome out = Outcome::failed(Msg::ProjectOpenFailed);
        out.detail = messages_.text(fileFaultMessage(fault, name, ProjectFileLimit));
        return out;
    }
    const ProjectProblems problems = checkProjectText(*text, projectFolderOf(path));
    if (!problems.notAProject.empty()) {
        Outcome out = Outcome::failed(Msg::NotAProject);
        out.detail = name + "\n" + listedProblems(problems.notAProject, messages_);
        out.projectAsBefore = true;
        return out;
    }
    if (!problems.contentProblems.empty()) {
        waitingProject_ = WaitingProject{path, name, *text};
        return asking(Question::Kind::OpenAnyway, name + "\n" + listedProblems(problems.contentProblems, messages_));
    }
    return openProjectText(path, name, *text);
}

Outcome ProjectDocument::asking(Question::Kind kind, std::string detail) {
    asked_ = kind;
    return Outcome::asking(kind, std::move(detail));
}

Outcome ProjectDocument::answer(bool yes) {
    const std::optional<Question::Kind> asked = std::exchange(asked_, std::nullopt);
    std::optional<WaitingProject> project = std::exchange(waitingProject_, std::nullopt);
    std::optional<WaitingSave> save = std::exchange(waitingSave_, std::nullopt);
    Outcome declined = Outcome::failed();
    declined.projectAsBefore = true;
    if (!yes || !asked) return declined;
    if (*asked == Question::Kind::OpenAnyway && project)
        return openProjectText(project->path, project->shownName, project->text);
    if (save) return writeProject(save->path, save->shownName, *asked == Question::Kind::ReplaceReadOnly);
    return declined;
}

Outcome ProjectDocument::openProjectText(const std::string& path, const std::string& shownName, const std::string& text) {
    const std::vector<std::string_view> lines = splitProjectLines(text);
    Outcome out;
    project_.projectName = lastPathComponent(shownName);
    project_.imageFileName = lines.empty() ? std::string() : std::string(lines[0]);
    const FileResult image = loadImageFile(project_, image_, projectFolderOf(path));
    out.messages = image.messages;  // a template that cannot serve is said; the project still opens
    out.detail = messages_.text(image.detail);
    templateProblem_ = image.detail;
    showTemplate(out);
    readProjectBody(project_, lines);

    project_.activeDataSet = 0;
    for (int d = 0; d < DataSetCount; ++d) {
        if (editor_.controls().dataSetButtonEnabled[d]) {
            project_.activeDataSet = d;
            break;
        }
    }
    // The working copy follows the data set just chosen, placed flags and types included.
    project_.loadWorkingFields(project_.activeDataSet, true);
    // Without an available data set no box rule runs on the data fields: they stay as saved.
    if (firstAvailableDataSet(project_) < 0)
        for (int n = 1; n <= DataFieldCount; ++n) editor_.showFieldSwitch(n, project_.field(n).enabled == 1);
    refreshWindowFromProject();
    project_.writeReadoutOnSave = false;
    out = settled(out);
    markUnchanged();
    history_.clear();
    becameFile(path);
    return out;
}

Outcome ProjectDocument::saveProjectAsTyped(const std::string& path, const std::string& shownName) {
    std::string target = path, shown = shownName.empty() ? path : shownName;
    if (std::filesystem::path(target).extension().empty()) {
        target += ".qor";
        shown += ".qor";
    }
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
        waitingSave_ = WaitingSave{target, shown};
        return asking(Question::Kind::ReplaceFile, shown);
    }
    return writeProject(target, shown, false);
}

Outcome ProjectDocument::saveProjectAs(const std::string& path, const std::string& shownName) {
    return writeProject(path, shownName, false);
}

Outcome ProjectDocument::writeProject(const std::string& path, const std::string& shownName, bool replaceReadOnly) {
    changedFile();
    const FileResult saved = vem::saveProjectAs(project_, image_, path, WriteOptions{replaceReadOnly});
    const std::string& file = saved.file == path && !shownName.empty() ? shownName : saved.file;
    if (saved.askReplaceReadOnly) {  // nothing was written: a question, not a failure to report
        waitingSave_ = WaitingSave{path, shownName};
        Outcome out = asking(Question::Kind::ReplaceReadOnly, file);
        out.refreshCaption = true;
        return out;
    }
    Outcome out;
    out.take(saved);
    if (out.failureReason >= 0) out.detail = file + ": " + messages_.text(out.failureReason);
    out = settled(out);
    if (out.ok) {
        project_.projectName = lastPathComponent(shownName.empty() ? path : shownName);
        markUnchanged();
        becameFile(path);
        history_.saved(projectFile_, unchangedText_);
    }
    out.refreshCaption = true;
    return out;
}

Outcome ProjectDocument::openImageFile(const std::string& path) {
    return recorded(false, [&] {
        Outcome out;
        out.take(vem::openImageFile(project_, image_, path));
        if (!out.ok) return out;
        editor_.clearFieldBoxCaptions();
        editor_.showDataFieldControls(false);
        out.refreshCaption = true;
        out.refreshSettingLabels = true;
        out.posExtendedEnabled = image_.posExtendedSupported();
        return settled(out);
    });
}

std::string ProjectDocument::projectCaption() {
    if (untitled()) return vem::projectCaption(shownProjectName(), messages_, modified());
    return showProjectName(project_, messages_, modified());
}

bool ProjectDocument::untitled() const { return projectFile_.empty() && !project_.writeReadoutOnSave; }

std::string ProjectDocument::shownProjectName() const {
    return untitled() ? messages_.text(Msg::Untitled) : lastPathComponent(project_.projectName);
}

void ProjectDocument::becameFile(const std::string& path) {
    projectFile_ = absoluteName(path);
    folder_ = projectFolderOf(path);
}

// ---- Device image ----

Outcome ProjectDocument::buildImage(const LocalTime& now) { return builtImage({}, now); }

Outcome ProjectDocument::buildForProgramming(const LocalTime& now, bool despiteProblems) {
    Outcome out = builtImage({}, now);  // empty cells became spaces
    if (!image_.imageTemplateLoaded) {
        out.ok = false;
        // A project whose template could not be loaded names it; without a project, open one.
        out.messages.push_back(templateProblem_.slot < 0 ? Msg::NoImageTemplate : Msg::TemplateNotLoaded);
        out.detail = messages_.text(templateProblem_);
        return out;
    }
    // What the project checks refuse is sent only when the user insists.
    if (std::string problems = despiteProblems ? std::string() : programmingProblems(); !problems.empty()) {
        out.ok = false;
        out.messages.push_back(Msg::ProgramRefusedProblems);
        out.detail = std::move(problems);
    }
    return out;
}

Outcome ProjectDocument::builtImage(Outcome out, const LocalTime& now) {
    const bool wasModified = modified();
    buildDeviceImage(project_, image_, now);
    out = settled(out);
    if (!wasModified) markUnchanged();
    return out;
}

Outcome ProjectDocument::applyReadBack(const DeviceImage& readBack) {
    return recorded(false, [&] {
        image_.imageTemplateLoaded = true;  // a complete read-back is a whole device image
        image_.mainArea = readBack.mainArea;
        image_.headerArea = readBack.headerArea;
        image_.screenArea = readBack.screenArea;
        project_.writeReadoutOnSave = true;
        const int first = applyDeviceImage(project_, image_);
        // Without an available data set the active one stays, but what the grid and the working copy
        // show of it comes from the device too.
        const int shown = first >= 0 ? first : project_.activeDataSet;

        // The boxes show the image's switch states without running their placement handlers: the
        // cells come from the image (a switched-on "Datenzähler" has none until its box places it).
        for (int n : {DateField, TimeField}) editor_.showFieldSwitch(n, project_.field(n).enabled == 1);
        editor_.showDataSetAvailability();
        for (int i = 0; i < DataFieldCount; ++i) {
            const FieldDefinition& f = project_.dataSets[shown].fields[i];
            editor_.showFieldSwitch(i + 1, f.isDefined() && f.enabled == 1);
        }
        editor_.activateDataSet(shown);
        refreshWindowFromProject();
        Outcome out;
        out.refreshCaption = true;
        out.refreshSettingLabels = true;
        out = settled(out);
        markUnchanged();
        projectFile_.clear();  // the device's project is saved under a name of the user's
        return out;
    });
}

// ---- Undo and redo ----

Outcome ProjectDocument::undo() {
    if (stepStart_) return Outcome::failed();  // a drag still runs
    auto before = history_.undo(snapshot());
    return before ? restored(std::move(*before)) : Outcome::failed();
}

Outcome ProjectDocument::redo() {
    if (stepStart_) return Outcome::failed();
    auto after = history_.redo(snapshot());
    return after ? restored(std::move(*after)) : Outcome::failed();
}

Outcome ProjectDocument::restored(ProjectHistory::Snapshot step) {
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
