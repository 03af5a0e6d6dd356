#pragma once
#include <optional>
#include <vector>

namespace vem {

// What a file or image operation asks of the main window once it has run.
struct FileOutcome {
    bool ok = true;                          // the operation did what it was asked
    std::vector<int> messages;               // MessageTable slots to show, in this order
    bool refreshCaption = false;             // show showProjectName's caption again
    bool refreshSettingLabels = false;       // hold time and interface labels changed
    bool screenTextChanged = false;          // cell texts were changed (repaint the grid)
    std::optional<bool> posExtendedEnabled;  // new state of the POS dialog's "Extended" button

    void merge(const FileOutcome& other) {
        messages.insert(messages.end(), other.messages.begin(), other.messages.end());
        refreshCaption = refreshCaption || other.refreshCaption;
        refreshSettingLabels = refreshSettingLabels || other.refreshSettingLabels;
        screenTextChanged = screenTextChanged || other.screenTextChanged;
        if (other.posExtendedEnabled) posExtendedEnabled = other.posExtendedEnabled;
    }
};

}  // namespace vem
