#pragma once
#include <vector>

namespace vem {

// What a file or image function did: whether it did what it was asked, and the message slots
// to show, in this order.
struct FileResult {
    bool ok = true;
    std::vector<int> messages;

    void merge(const FileResult& other) {
        ok = ok && other.ok;
        messages.insert(messages.end(), other.messages.begin(), other.messages.end());
    }
};

}  // namespace vem
