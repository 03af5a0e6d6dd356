#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/FileResult.h"
#include "i18n/MessageTable.h"

namespace vem {

// What an operation asks of the serial port and the timers, in this order: open the port (when
// that fails, the window reports it to Session::portOpenFailed and applies nothing more of this
// outcome), send, close, then the timers.
struct LinkRequests {
    enum class Timer { Keep, Start, Stop };

    bool openPort = false;
    std::vector<std::vector<std::uint8_t>> send;
    bool closePort = false;
    Timer replyTimer = Timer::Keep;  // Timer1: the reply time-out
    bool startInfoTimer = false;     // Timer2: shows the device information a moment later
    // Call Session::runDeferred(deferToken) after deferMs milliseconds (0: nothing deferred).
    int deferMs = 0;
    std::uint64_t deferToken = 0;
};

// What one Session operation asks of the window once it has run.
struct Outcome {
    bool ok = true;                          // the operation did what it was asked
    std::vector<int> messages;               // MessageTable slots to show, in this order
    std::string detail;                      // one more line under each message: port, operation, step
    std::optional<DialogId> dialogMessage;   // a dialog's own message to show
    bool refreshEditor = false;              // grid, field list, data set buttons, clock box
    bool refreshCaption = false;             // the project name caption
    bool refreshSettingLabels = false;       // hold time and interface labels
    std::optional<bool> posExtendedEnabled;  // new state of the POS dialog's "Extended" button
    // Address and port labels exactly as typed, until the labels are next refreshed.
    std::optional<std::pair<std::string, std::string>> typedAddress;
    LinkRequests link;
    bool refreshProgress = false;        // the progress window's caption, range and position
    bool showDeviceInfo = false;         // show the device information window (modal)
    std::optional<bool> busyCursor;      // the hourglass on or off

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
    }
};

}  // namespace vem
