#pragma once
#include <cstdint>
#include <string>

#include "editor/Editor.h"
#include "files/ImageBuild.h"
#include "i18n/MessageTable.h"
#include "model/DeviceImage.h"
#include "model/Project.h"
#include "session/Outcome.h"
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

    // ---- Files ----
    // Opens "default.qor" of the working folder without a message when it cannot be read.
    Outcome startUp();
    // "Öffnen...": `path` as the file system takes it, `shownName` as the caption shows it.
    Outcome openProject(const std::string& path, const std::string& shownName = {});
    Outcome saveProjectAs(const std::string& path);
    // "BIN - File...".
    Outcome openImageFile(const std::string& path);
    // The caption of the interface summary box (cuts the project name to its last component).
    std::string projectCaption();

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

private:
    // Restores the invariants and asks the window to show the editor again.
    Outcome settled(Outcome outcome);
    void refreshWindowFromProject();
    // After an image file became the template: data set buttons and the first available set.
    void showTemplate(Outcome& outcome);

    Project project_;
    DeviceImage image_;
    MessageTable messages_;
    DialogMessages dialogMessages_;
    Editor editor_{project_, messages_};
};

}  // namespace vem
