#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "device/Protocol.h"
#include "editor/Editor.h"
#include "files/ImageBuild.h"
#include "i18n/MessageTable.h"
#include "model/DeviceImage.h"
#include "model/Project.h"
#include "session/DeviceOperations.h"
#include "session/Outcome.h"
#include "session/ProjectHistory.h"

namespace vem {

// How the field dialog was closed.
enum class DialogClose { Accept, Cancel, CloseBox };

// The project being edited: the Project, its device image, which file it is, the screen editor
// and the history. Every grid, field list, data set, file and history operation is a method
// here; it leaves the model's invariants true and returns what the window must do.
//
// Invariants after every operation (a drag counts as one operation, from press to release):
// - the working copy of the data fields and the grid's cell tags equal the active data set's
//   stored copy;
// - the date and time cells are those of the shared definitions, in every data set.
class ProjectDocument : public DeviceProject {
public:
    explicit ProjectDocument(MessageTable& messages);
    ProjectDocument(const ProjectDocument&) = delete;
    ProjectDocument& operator=(const ProjectDocument&) = delete;

    const Project& project() const { return project_; }
    const DeviceImage& image() const override { return image_; }
    const Editor& editor() const { return editor_; }
    // The texts of the language file changed: the cells' hints follow.
    void takeLanguage() { editor_.updateCellHints(); }

    // ---- Grid ----
    Outcome keyDown(EditorKey key);
    Outcome keyPress(unsigned char c);
    Outcome mousePress(int cell, MouseButton button);
    Outcome mouseMove(int x, int y);
    Outcome mouseRelease();

    // ---- Field list, data sets, clock ----
    Outcome clickFieldCheckBox(int field);
    Outcome clickSummerTimeCheckBox();
    Outcome switchDataSet(int dataSet);

    // ---- Field dialog of data field `field` ----
    FieldDialogValues fieldDialog(int field) const;
    Outcome closeFieldDialog(int field, DialogClose how, const FieldDialogValues& values = {});

    // ---- Whole projects ----
    // `project` and `image` replace the session's, as if opened: the editor shows the given
    // active data set (the data set buttons follow the availability once an image is loaded).
    Outcome takeProject(const Project& project, const DeviceImage& image);

    // ---- Undo and redo ----
    // Every operation that changes the project file's text is one step; typing (keys and
    // Backspace) one after another is one step, and a drag is one step from press to release.
    // Opening, taking or starting a project starts a new history. Nothing to undo or redo, or a
    // drag still running, refuses (not ok).
    Outcome undo();
    Outcome redo();
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    std::size_t undoSteps() const { return history_.undoSteps(); }

    // ---- Files ----
    // Opens "default.qor" of the working folder as openProject does; silent when there is none.
    Outcome startUp();
    // Starts with the project `path` instead: one that cannot be opened is said.
    Outcome startUp(const std::string& path, const std::string& shownName);
    // The absolute path of the file the project was last opened from or saved to; empty when
    // it has none (nothing opened yet, or read back from a device).
    const std::string& projectFile() const { return projectFile_; }
    // The folder the project's relative names are found from: that of its file (links followed),
    // kept after a read-back; at start-up the working folder. Empty before either.
    const std::filesystem::path& folder() const { return folder_; }
    // "Öffnen...": `path` as the file system takes it, `shownName` as messages name it (its last
    // component becomes the project name). The file is checked first: one that cannot be read or
    // is no project is refused and named (ProjectOpenFailed, NotAProject: the file and its first
    // problems as detail); a project with problems the device cannot hold or show waits for
    // the question OpenAnyway. A template that cannot serve is said with its full
    // path, and the project then has none.
    Outcome openProject(const std::string& path, const std::string& shownName = {});
    // "Speichern unter..." with the name as typed: ".qor" is added when it has no extension, and
    // a file of that name is replaced only once the question ReplaceFile is answered yes. Then
    // as saveProjectAs.
    Outcome saveProjectAsTyped(const std::string& path, const std::string& shownName);
    // Saves to `path`, replacing a file there; a read-only one only once the question
    // ReplaceReadOnly is answered yes. Once saved, the project is that file: the last component
    // of `shownName` (or `path`) is the project name of the caption and the device. A failed
    // save names the file that failed and why: the detail "FILE: REASON".
    Outcome saveProjectAs(const std::string& path, const std::string& shownName = {});

    // Answers the document's question (open anyway, replace a file): yes goes on as asked; no
    // leaves the project and the files as they were. Nothing waits afterwards.
    Outcome answer(bool yes);
    // "BIN - File...".
    Outcome openImageFile(const std::string& path);
    // The caption of the interface summary box (cuts the project name to its last component);
    // "*" after the name while modified().
    std::string projectCaption();
    // The project has no file of its own: it was neither opened from nor saved to one, nor
    // read back from a device (whose project a save names).
    bool untitled() const;
    // The project's name as the caption and title show it ("Unbenannt" while untitled).
    std::string shownProjectName() const;
    // The project differs from what was last opened, saved or read back (or from the start).
    bool modified() const;

    // ---- Device image ----
    Outcome buildImage(const LocalTime& now);
    // A complete image read back from the device becomes the project.
    Outcome applyReadBack(const DeviceImage& readBack) override;

    // ---- Device side ----
    Outcome buildForProgramming(const LocalTime& now, bool despiteProblems) override;
    // Counts opens, takes and saves: a device operation's status line holds only until the next.
    std::uint64_t fileChanges() const override { return fileChanges_; }

    // Runs `change(project, image)` as one step of the history; the settings dialogs change the
    // project through it.
    Outcome edit(const std::function<Outcome(Project&, DeviceImage&)>& change);

private:
    // Restores the invariants and asks the window to show the editor again.
    Outcome settled(Outcome outcome);
    void say(Outcome& out, const SlotMessage& message) { vem::say(out, messages_, message); }
    void refreshWindowFromProject();
    // After an image file became the template: data set buttons and the first available set.
    void showTemplate(Outcome& outcome);

    Project project_;
    DeviceImage image_;
    MessageTable& messages_;
    Editor editor_{project_, messages_};
    std::uint64_t fileChanges_ = 0;

    // The project file text of the last open, save or completed read-back.
    std::string unchangedText_;
    // A checked project file waiting for the answer to OpenAnyway.
    struct WaitingProject {
        std::string path;
        std::string shownName;
        std::string text;
    };
    std::optional<WaitingProject> waitingProject_;
    // A save waiting for the answer to ReplaceFile or ReplaceReadOnly.
    struct WaitingSave {
        std::string path;
        std::string shownName;
    };
    std::optional<WaitingSave> waitingSave_;
    std::optional<Question::Kind> asked_;  // the question answer() takes
    Outcome asking(Question::Kind kind, std::string detail);
    Outcome writeProject(const std::string& path, const std::string& shownName, bool replaceReadOnly);
    // Why the project opened last has no template: its image file and what it is. None (slot -1)
    // when it has one, or when no project file was opened.
    SlotMessage templateProblem_;
    Outcome openProjectText(const std::string& path, const std::string& shownName, const std::string& text);
    // Shows the project and image the session now holds, as a whole: grid, field list, data
    // sets, summaries.
    void showWholeProject(Outcome& out);

    // Runs `change` as one step of the history (the step of a drag ends with its release).
    template <class Change>
    Outcome recorded(bool typing, Change change);
    // What a history step keeps of the session now.
    ProjectHistory::Snapshot snapshot() const;
    // The project and image a step brought back become the session's.
    Outcome restored(ProjectHistory::Snapshot step);
    ProjectHistory history_;
    // The state before the step that runs (a drag between press and release).
    std::optional<ProjectHistory::Snapshot> stepStart_;
    std::string projectFile_;
    std::filesystem::path folder_;
    // The project is now the file `path`.
    void becameFile(const std::string& path);
    void markUnchanged();
    // Another file (or none) is now the project.
    void changedFile() { ++fileChanges_; }
    // What the project checks find that the device cannot hold or show, one problem a line.
    std::string programmingProblems() const;
    // Builds the image; the spaces it puts in empty cells are no change of the user's.
    Outcome builtImage(Outcome out, const LocalTime& now);
};

}  // namespace vem
