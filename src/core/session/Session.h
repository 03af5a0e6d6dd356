#pragma once
#include <cstdint>
#include <optional>
#include <utility>
#include <span>
#include <string>
#include <vector>

#include "device/Protocol.h"
#include "serialline/SerialLine.h"
#include "editor/Editor.h"
#include "files/ImageBuild.h"
#include "i18n/LanguageFile.h"
#include "i18n/MessageTable.h"
#include "model/DeviceImage.h"
#include "model/Project.h"
#include "device/Exchange.h"
#include "session/Outcome.h"
#include "session/ProjectHistory.h"
#include "settings/InterfaceRules.h"
#include "settings/PosRules.h"

namespace vem {

// How the field dialog was closed.
enum class DialogClose { Accept, Cancel, CloseBox };

// The one home of every operation: owns the Project, the device image, the message tables and
// the screen editor. Every operation a menu item, button, dialog or grid event starts is a
// method here; it leaves the model's invariants true and returns what the window must do.
//
// Invariants after every operation (a drag counts as one operation, from press to release):
// - the working copy of the data fields and the grid's cell tags equal the active data set's
//   stored copy;
// - the date and time cells are those of the shared definitions, in every data set.
class Session {
public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const Project& project() const { return project_; }
    const DeviceImage& image() const { return image_; }
    const Editor& editor() const { return editor_; }
    const MessageTable& messages() const { return messages_; }
    MessageTable& messages() { return messages_; }
    const DialogMessages& dialogMessages() const { return dialogMessages_; }
    DialogMessages& dialogMessages() { return dialogMessages_; }
    // Takes the message texts of a language file; every text made from them is made anew.
    Outcome takeLanguage(const LanguageFile& file);

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

    // ---- Questions ----
    // Answers the question the last outcome asked (Outcome::question): yes goes on as asked (the
    // project with problems opens, the file is replaced, the read-back is taken); no leaves the
    // project and the files as they were. Nothing waits afterwards.
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
    Outcome applyReadBack(const DeviceImage& readBack);

    // ---- Settings dialogs ----
    Outcome acceptHoldTimes(const HoldTimesTexts& typed);
    Outcome acceptDeviceSerial(const DeviceSerialPositions& chosen);
    Outcome acceptIpAddress(const IpAddressTexts& typed);
    Outcome acceptDataSend(const DataSendEntry& typed);
    Outcome acceptPos(const PosEntry& typed);
    // A keyword button of the POS extended dialog: commits the shown keyword; not ok when
    // `pressed` is already current.
    Outcome switchKeyword(int& currentKeyword, int pressed, const std::string& shownText, int shownAction);
    Outcome acceptPosExtended(const PosExtendedEntry& typed, int shownKeyword, const std::string& shownText,
                              int shownAction);
    bool posExtendedAvailable() const { return image_.posExtendedSupported(); }

    // ---- Device link ----
    // Each operation asks for the port to be opened first (`port` names it in messages) and
    // starts an exchange with a copy of what it sends; the host feeds what arrives to `receive`,
    // polls at nextDeadline() and closes the port when an outcome asks, once its output drained.
    struct Progress {
        bool visible = false;
        std::string caption;
        int maximum = ProgramBlocks;
        int position = 0;
    };
    struct DeviceInfo {
        std::string fileName = "----------------------";
        std::string programmed = "----------------------";
    };

    // What follows a programming run that ended well.
    enum class AfterProgramming { Close, Verify };
    // "Programmieren": builds the image and programs it. A project without its template, or one
    // the project checks refuse (unless `despiteProblems`), is refused with what is wrong. With
    // Verify the device is then read back on the open port and compared with what was sent: the
    // read-back is never taken into the project; a difference fails with VerifyFailed and the
    // first difference as detail.
    Outcome startProgramming(const std::string& port, const LocalTime& now,
                             AfterProgramming after = AfterProgramming::Close, bool despiteProblems = false);
    // "Aus QV einlesen": reads the device's image back into the project.
    Outcome startReadBack(const std::string& port);
    // "QV - Info": reads the project name and programming date the device holds. Every device
    // that answers gets the information window; a header without the mark this program puts into
    // every image it builds shows as no project there, and fails (DeviceHoldsNoProject).
    Outcome startReadInfo(const std::string& port);
    // "Datum/Uhrzeit setzen": sets the device clock to the local time at the device's answer.
    Outcome startSetClock(const std::string& port);
    // Service uploads: a character set of exactly 3584 bytes; a firmware of 1 to 32767 bytes,
    // sent as 32768 bytes with zeros after it. Any other size starts nothing and says so.
    Outcome startFontUpload(const std::string& port, std::span<const std::uint8_t> font);
    Outcome startFirmwareUpload(const std::string& port, std::span<const std::uint8_t> firmware);
    // The video signal settings block (11 bytes; zeros after them).
    Outcome startVideoSettings(const std::string& port, std::span<const std::uint8_t, VideoSettingsSize> settings);
    // The fuse command: sent, nothing waited for.
    Outcome sendFuses(const std::string& port);
    // Bytes arrived from the device.
    Outcome receive(std::span<const std::uint8_t> bytes, const Instant& now);
    // Runs what is due at `now` (a reply time-out, the flush wait, the wait before closing, the
    // quiet wait after a read's last block); nothing before its deadline.
    Outcome poll(const Instant& now);
    // When poll() wants to run next; none while nothing waits.
    std::optional<Millis> nextDeadline() const;
    // The port an outcome asked for did not open.
    Outcome portOpenFailed(OpenFailure problem);
    // The port vanished while open (an adapter pulled, the device side closed).
    Outcome deviceGone();
    // The program is being stopped: a running exchange is abandoned, the port closed, and
    // nothing waits any more.
    Outcome interrupt();
    // The step the last exchange reached or failed at, and the steps it has; 0 of 0 before any.
    std::pair<int, int> exchangeStep() const;
    // The three areas of the last completed read-back as the device sent them.
    const std::optional<DeviceImage>& receivedImage() const { return receivedImage_; }

    // Milliseconds the device has to answer, for the exchanges started from now on; the
    // time-out message says it.
    void setReplyTimeout(int ms);

    // True while an exchange waits for the device; no other device operation starts then.
    bool exchangeRunning() const;
    const Progress& progress() const { return progress_; }
    const DeviceInfo& deviceInfo() const { return deviceInfo_; }
    // The status bar's line: how the last device operation ended well; empty once the next one
    // is asked for, or a project is opened, taken or saved.
    const std::string& statusLine() const;

private:
    // The exchange that runs, with what its messages name.
    struct RunningExchange {
        Exchange exchange;
        std::string port;
        int operationSlot = 0;
        // Programming: the device is read back afterwards and compared with this image, what it
        // was sent. The read-back that follows compares with it instead of taking what it read.
        std::optional<DeviceImage> verifyAgainst;
    };

    Outcome startExchange(const std::string& port, int operationSlot, Exchange exchange);
    // The programming run ended well: the read-back that checks it starts on the open port.
    void startVerify(Outcome& out);
    // The verify's read-back is complete: what the device holds against what was sent.
    void compareVerified(Outcome& out);
    // No exchange waits for the device: one may start, and the last one's status line goes.
    bool readyForExchange();
    // What the exchange asked, and what its end means for the project, in the outcome.
    Outcome linked(const Exchange::Output& output);
    void showProgress(Outcome& out);
    void hideProgress(Outcome& out);
    void completed(Outcome& out);
    void failed(Outcome& out, int slot);
    // Ends the running exchange from outside with message `slot`.
    Outcome abandoned(int slot);
    std::string stepDetail() const;
    // A complete read-back becomes the project and the template.
    Outcome applyReceivedImage();

    // Restores the invariants and asks the window to show the editor again.
    Outcome settled(Outcome outcome);
    // Adds `message` to the outcome's messages, its placeholders filled.
    void say(Outcome& out, const SlotMessage& message);
    void refreshWindowFromProject();
    // After an image file became the template: data set buttons and the first available set.
    void showTemplate(Outcome& outcome);

    Project project_;
    DeviceImage image_;
    MessageTable messages_;
    DialogMessages dialogMessages_;
    Editor editor_{project_, messages_};

    std::optional<RunningExchange> running_;
    int replyTimeoutMs_ = ReplyTimeoutMs;
    std::optional<DeviceImage> receivedImage_;
    bool readBackWaits_ = false;  // receivedImage_ waits for takeReadBack or dropReadBack
    Progress progress_;
    DeviceInfo deviceInfo_;
    int statusSlot_ = -1;  // the message slot of statusLine(), -1 for none
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
    // A read-back image without the mark this program puts into every image it builds, held
    // until the user says: taken as the project, or dropped with the project left as it was.
    Outcome takeReadBack();
    Outcome dropReadBack();
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
    void markUnchanged();
    // What the project checks find that the device cannot hold or show, one problem a line.
    std::string programmingProblems() const;
    // Builds the image; the spaces it puts in empty cells are no change of the user's.
    Outcome builtImage(Outcome out, const LocalTime& now);
};

}  // namespace vem
