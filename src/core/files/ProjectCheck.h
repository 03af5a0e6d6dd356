#pragma once
#include <string>
#include <vector>

namespace vem {

// Reads the project file at `path` as opening it does (the template named on its first line is
// looked up from the current working folder) and lists every problem found, one English line each;
// empty when there is none. Besides what layoutProblems and settingsProblems report about the
// project as read (before anything makes it consistent): a file that cannot be read, a line count
// other than 162, a missing, unreadable or wrongly sized template, and POS lines whose number does
// not fit the byte the program keeps of it.
std::vector<std::string> checkProjectFile(const std::string& path);

}  // namespace vem
