#pragma once
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "Console.h"
#include "session/Session.h"

namespace vem::cli {

// A file name's bytes as the system gives them (the command line, a directory) and back: valid
// UTF-8 is read as such, every other byte b as the lone surrogate U+DC00 + b, which
// fileSystemName turns back into b, so no name is changed on its way through a QString.
QString fromFileSystemName(const std::string& name);
std::string fileSystemName(const QString& path);

// The slot's text with `path` in its placeholder %1, every character of the path kept.
QString pathMessage(const MessageTable& messages, int slot, const QString& path);

// Whether the folder of `path` (links followed) is there; false (and said why, in the language of
// `messages`) when it is not, or when no file is named.
bool folderOfExists(const QString& path, Console& console, const MessageTable& messages);

// Opens the project, whose template is found from its own folder; the problems
// `vemctl check` lists do not stop it. False (and said why) when the file is no project, or the
// template cannot be used when it is needed.
bool openProjectIn(Session& session, Console& console, const QString& path, bool needTemplate = true);

// What `vemctl check` lists for the project, its names found from its own folder; nothing (and said why)
// when that folder is not there.
std::optional<std::vector<SlotMessage>> checkProjectIn(Console& console, const MessageTable& messages,
                                                       const QString& path);

// True when check finds no problem in the project; otherwise each is said in the language of
// `messages`, and that --force takes the project all the same.
bool passesCheck(Console& console, const MessageTable& messages, const QString& path);

}  // namespace vem::cli
