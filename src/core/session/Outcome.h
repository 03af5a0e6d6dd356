#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/FileResult.h"
#include "i18n/MessageTable.h"

namespace vem {

// What one Session operation asks of the window once it has run.
struct Outcome {
    bool ok = true;                          // the operation did what it was asked
    std::vector<int> messages;               // MessageTable slots to show, in this order
    std::optional<DialogId> dialogMessage;   // a dialog's own message to show
    bool refreshEditor = false;              // grid, field list, data set buttons, clock box
    bool refreshCaption = false;             // the project name caption
    bool refreshSettingLabels = false;       // hold time and interface labels
    std::optional<bool> posExtendedEnabled;  // new state of the POS dialog's "Extended" button
    // Address and port labels exactly as typed, until the labels are next refreshed.
    std::optional<std::pair<std::string, std::string>> typedAddress;

    void take(const FileResult& result) {
        ok = ok && result.ok;
        messages.insert(messages.end(), result.messages.begin(), result.messages.end());
    }
};

}  // namespace vem
