#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileIo.h"
#include "files/FileResult.h"

namespace vem {

class MessageTable;
struct DeviceImage;
struct Project;

constexpr int ProjectFileLines = 162;
// The project opened at start-up from the working folder.
inline constexpr const char* DefaultProjectName = "default.qor";
// A project file larger than this is not read (the writer's files stay far below it).
constexpr std::size_t ProjectFileLimit = 1024 * 1024;

// A number item of the project file: leading white space is skipped, then an optional sign
// and the decimal digits up to the first other character; no digits give 0. Values beyond the
// 32-bit range are held at its ends.
std::int32_t projectNumber(std::string_view item);

// The file's lines: a line feed ends a line and a carriage return just before it is dropped.
// A last line without a line feed counts as a line.
std::vector<std::string_view> splitProjectLines(std::string_view text);

// The 162 lines of the project file, each ended by a line feed. Cells the format cannot hold
// (see replaceUnsaveableCells) are written as " ", and a line break inside a text as a space.
std::string writeProjectText(const Project& project);

// Reads lines 2..162 (`lines[1]` on) into the project. Missing lines and missing items read
// as empty items: an empty cell or text, the number 0. Offset, conversion and the type of
// fields 1..16 are not read (the image supplies them).
void readProjectBody(Project& project, const std::vector<std::string_view>& lines);

// Cells whose text holds a comma or a line break cannot be stored: the following cells of the
// row would shift. They become " "; the result is how many were changed.
int replaceUnsaveableCells(Project& project);

// Writes the project to `target` (a temporary file beside it, renamed over it, so a failed save
// leaves any previous file whole). Line 1 names the template by a path that finds it from the
// target's folder (the absolute path where no other does). After a read-back the image is saved
// too, beside the file the project lands in (links followed), under a new name of its own
// ("NAME-readout.bin", "NAME-readout-2.bin", ... for NAME.qor, see readoutStem) that line 1
// names; once the project is written, the images of NAME that no project of the folder names
// are removed. Refused: a link another user planted in a shared folder, a target that is the
// template or an image a project of the folder names, and a line 1 that would not find its
// file. On success the project's imageFileName and templatePath follow what was written.
// Messages: CommaCellsReplaced, then ProjectSaveFailed or ReadoutSaveFailed with the file and
// the reason.
FileResult saveProjectAs(Project& project, const DeviceImage& image, const std::string& target,
                         WriteOptions options = {});

// The message slot that says why a write failed with `error` (an errno value or a refusal of
// FileWrite).
int saveFailureReason(int error);

// The text of the project file `name`: a regular file of at most ProjectFileLimit bytes.
// Nothing, with `fault` telling why, for anything else.
std::optional<std::string> readProjectText(const std::string& name, FileFault& fault);

// The last path component of `name` (after the last "\" or "/").
std::string lastPathComponent(const std::string& name);

// Cuts projectName down to its last path component (after the last "\" or "/") and returns the
// caption of the interface summary box: message slot 2, the name ("*" after it when
// `modified`), " ------- ".
std::string showProjectName(Project& project, const MessageTable& messages, bool modified = false);
// That caption for the project shown as `name`.
std::string projectCaption(const std::string& name, const MessageTable& messages, bool modified);

}  // namespace vem
