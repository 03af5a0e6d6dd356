#pragma once
#include "i18n/LanguageFile.h"
#include "i18n/MessageTable.h"
#include "session/DeviceOperations.h"
#include "session/Outcome.h"
#include "session/ProjectDocument.h"
#include "session/SettingsEditing.h"

namespace vem {

// The one home of every operation, in parts named for what they hold: the project being edited
// (document), the device operations (device) and what the settings dialogs do (settings), with
// the message tables they speak through. It keeps only what crosses parts: the language, and the
// answer to a question, which may be the document's or the device's.
class Session {
public:
    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ProjectDocument& document() { return document_; }
    const ProjectDocument& document() const { return document_; }
    DeviceOperations& device() { return device_; }
    const DeviceOperations& device() const { return device_; }
    SettingsEditing& settings() { return settings_; }

    const MessageTable& messages() const { return messages_; }
    MessageTable& messages() { return messages_; }
    const DialogMessages& dialogMessages() const { return dialogMessages_; }
    DialogMessages& dialogMessages() { return dialogMessages_; }
    // Takes the message texts of a language file; every text made from them is made anew.
    Outcome takeLanguage(const LanguageFile& file);

    // Answers the question the last outcome asked (Outcome::question): yes goes on as asked (the
    // project with problems opens, the file is replaced, the read-back is taken); no leaves the
    // project and the files as they were. Nothing waits afterwards.
    Outcome answer(bool yes);

private:
    MessageTable messages_;
    DialogMessages dialogMessages_;
    ProjectDocument document_{messages_};
    DeviceOperations device_{document_, messages_};
    SettingsEditing settings_{document_, messages_};
};

}  // namespace vem
