#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/MessageTable.h"

namespace vem {

// What checking the text of a project file found, one message per problem, by weight.
struct ProjectProblems {
    // Why the text is no project file at all: not 162 text lines, binary content, a first line
    // that names no image file.
    std::vector<SlotMessage> notAProject;
    // Why the template named on line 1 (looked up from the project's folder) cannot serve:
    // its full path and what it is (missing, no regular file, the wrong size).
    std::vector<SlotMessage> templateProblems;
    // What the device cannot hold or show of the project as read (before anything makes it
    // consistent): what layoutProblems and settingsProblems report, and POS lines whose number
    // does not fit the byte the program keeps of it.
    std::vector<SlotMessage> contentProblems;

    // All of them, in the order above.
    std::vector<SlotMessage> all() const;
};

// The problems of a project file's `text` whose relative names are found from `folder`.
ProjectProblems checkProjectText(std::string_view text, const std::filesystem::path& folder);

// Reads the project file at `path` as opening it does and lists every problem found
// (ProjectProblems::all); a file that cannot be read is named with what it is. Empty when there
// is no problem.
std::vector<SlotMessage> checkProjectFile(const std::string& path);

}  // namespace vem
