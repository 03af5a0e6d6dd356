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

// What an operation asks before it goes on; Session::answer takes the answer. The window asks
// it with a message box, vemctl answers it with its options (--force is yes).
struct Question {
    enum class Kind {
        ReplaceFile,      // a save would replace the file the detail names
        ReplaceReadOnly,  // a save would replace a read-only file (the detail names it)
        TakeReadBack,     // a read-back completed with an image this program did not build
        OpenAnyway,       // a project with problems waits; its name and the problems are the detail
    };
    Kind kind;
    std::string detail;

    // The message that asks, the answer that goes on, and the one that leaves things as they are.
    int slot() const;
    int yesSlot() const;
    int noSlot() const;
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
    // Nothing goes on until Session::answer says yes or no.
    std::optional<Question> question;
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

    static Outcome asking(Question::Kind kind, std::string detail) {
        Outcome out = failed();
        out.question = Question{kind, std::move(detail)};
        out.projectAsBefore = true;
        return out;
    }

    void take(const FileResult& result) {
        ok = ok && result.ok;
        messages.insert(messages.end(), result.messages.begin(), result.messages.end());
        if (result.reason >= 0) {
            failedFile = result.file;
            failureReason = result.reason;
        }
    }
};

// Adds `message` to the outcome's messages, its placeholders filled.
inline void say(Outcome& out, MessageTable& messages, const SlotMessage& message) {
    messages.setValues(message.slot, message.values);
    out.messages.push_back(message.slot);
}

inline int Question::slot() const {
    switch (kind) {
    case Kind::ReplaceFile: return Msg::ReplaceFile;
    case Kind::ReplaceReadOnly: return Msg::ReplaceReadOnly;
    case Kind::TakeReadBack: return Msg::ReadBackUnmarked;
    case Kind::OpenAnyway: return Msg::OpenDespiteProblems;
    }
    return -1;
}

inline int Question::yesSlot() const {
    switch (kind) {
    case Kind::ReplaceFile:
    case Kind::ReplaceReadOnly: return Msg::AnswerReplace;
    case Kind::TakeReadBack: return Msg::AnswerTake;
    case Kind::OpenAnyway: return Msg::AnswerOpen;
    }
    return -1;
}

inline int Question::noSlot() const { return kind == Kind::TakeReadBack ? Msg::AnswerDiscard : Msg::AnswerCancel; }

}  // namespace vem
