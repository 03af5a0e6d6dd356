#pragma once
#include <QString>
#include <string>

#include "Console.h"
#include "session/Session.h"

namespace vem::cli {

std::string fileSystemName(const QString& path);

// Goes to the folder of `path`; false (and said why) when it is not there.
bool enterFolderOf(const QString& path, Console& console);

// Opens the project in its own folder, so that its template is found beside it. False (and
// said why) when the project, or the template when it is needed, cannot be used.
bool openProjectIn(Session& session, Console& console, const QString& path, bool needTemplate = true);

}  // namespace vem::cli
