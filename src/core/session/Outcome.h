#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/FileResult.h"
#include "i18n/MessageTable.h"

namespace vem {

// What an operation asks of the serial port, in this order: open it (when that fails, the host
// reports it to Session::portOpenFailed and applies nothing more of this outcome), send, then
// close it once everything sent has left. When to come back is Session::nextDeadline().
struct LinkRequests {
    bool openPort = false;
    std::vector<std::vector<std::uint8_t>> send;
    bool closePort = false;
};

// What one Session operation asks of the window once it has run.
struct Outcome {
    bool ok = true;                          // the operation did what it was asked
    std::vector<int> messages;               // MessageTable slots to show, in this order
    std::string detail;                      // one more line under each message: port, operation, step
    std::optional<DialogId> dialogMessage;   // a dialog's own message to show
    bool refreshEditor = false;              // grid, field list, data set buttons, clock box
    bool refreshCaption = false;             // the project name caption
    bool projectAsBefore = false;            // the project is untouched: no need to look for changes
    bool refreshSettingLabels = false;       // hold time and interface labels
    std::optional<bool> posExtendedEnabled;  // new state of the POS dialog's "Extended" button
    // Address and port labels exactly as typed, until the labels are next refreshed.
    std::optional<std::pair<std::string, std::string>> typedAddress;
    LinkRequests link;
    bool refreshProgress = false;        // the progress window's caption, range and position
    bool showDeviceInfo = false;         // show the device information window (modal), which says the messages
    std::optional<bool> busyCursor;      // the hourglass on or off
    // A read-back completed with an image this program did not build: take it (takeReadBack)
    // or leave the project as it is (dropReadBack)?
    bool askTakeReadBack = false;
    // A project with problems waits to be opened (Session::answerOpenQuestion); its name and
    // the problems are the detail.
    bool askOpenAnyway = false;
    // A save would replace the file the detail names: nothing was written.
    bool askReplaceFile = false;
    // A save would replace a read-only file (the detail names it): nothing was written.
    bool askReplaceReadOnly = false;
    // A failed save: the file that failed and the message slot saying why (-1: none).
    std::string failedFile;
    int failureReason = -1;

    // An operation that did not do what it was asked; `slot` says why.
    static Outcome failed() {
        Outcome out;
        out.ok = false;
        return out;
    }
    static Outcome failed(int slot) {
        Outcome out = failed();
        out.messages.push_back(slot);
        return out;
    }

    void take(const FileResult& result) {
        ok = ok && result.ok;
        messages.insert(messages.end(), result.messages.begin(), result.messages.end());
        if (result.reason >= 0) {
            failedFile = result.file;
            failureReason = result.reason;
            askReplaceReadOnly = result.askReplaceReadOnly;
        }
    }
};

}  // namespace vem
