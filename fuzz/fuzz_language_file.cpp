// libFuzzer target: the language file. Whatever the input, reading stays inside it, no
// section holds more lines than the input has, no text is longer than a line allows, and
// the message tables keep their size.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "i18n/LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vem::LanguageFile file = vem::parseLanguageFile(bytes);
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    std::size_t total = 0;
    for (const auto& section : file.sections) {
        total += section.size();
        for (const auto& text : section)
            if (text.size() > vem::LanguageTextLength || text.size() > size) __builtin_trap();
    }
    if (total > lines) __builtin_trap();

    vem::MessageTable messages;
    vem::DialogMessages dialogs;
    const int slots = messages.slotCount();
    vem::applyLanguageMessages(file, messages, dialogs);
    if (messages.slotCount() != slots) __builtin_trap();
    return 0;
}
