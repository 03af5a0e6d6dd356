#pragma once
#include <string>
#include <vector>

#include "i18n/MessageTable.h"

namespace vem {

// What a file or image function did: whether it did what it was asked, and the message slots
// to show, in this order, with one more line under them: the file and what was wrong with it
// (slot -1: none).
struct FileResult {
    bool ok = true;
    std::vector<int> messages;
    SlotMessage detail;
    // A failed save: the file that failed, the message slot saying why, and whether replacing
    // a read-only file would have to be allowed first.
    std::string file;
    int reason = -1;
    bool askReplaceReadOnly = false;
};

}  // namespace vem
