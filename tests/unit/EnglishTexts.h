#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "i18n/LanguageFile.h"
#include "i18n/MessageTable.h"
#include "session/Session.h"

namespace vem::test {

// The shipped English language file.
inline const LanguageFile& englishLanguage() {
    static const LanguageFile file = *readLanguageFile(
        (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" / "language-en.txt")
            .string());
    return file;
}

// The messages as the English language file words them.
inline const MessageTable& englishMessages() {
    static const MessageTable table = [] {
        MessageTable messages;
        DialogMessages dialogs;
        applyLanguageMessages(englishLanguage(), messages, dialogs);
        return messages;
    }();
    return table;
}

inline std::string inEnglish(const SlotMessage& message) { return englishMessages().text(message); }
inline std::vector<std::string> inEnglish(const std::vector<SlotMessage>& messages) {
    return englishMessages().texts(messages);
}

inline void speakEnglish(Session& session) { session.takeLanguage(englishLanguage()); }

}  // namespace vem::test
