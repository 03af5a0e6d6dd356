#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace vem {

// The images a save after a read-back writes beside its project, and which of a folder's
// images its projects still name.

// The part of a project's image names taken from the project file's stem: control characters,
// which line 1 cannot hold, become "_", and a long stem is cut so that every image name stays
// within the file name limit.
std::string readoutStem(const std::string& projectStem);

// "STEM-readout.bin" for n = 1, "STEM-readout-N.bin" after it.
std::filesystem::path readoutImageName(const std::string& stem, int n);

// The files that the projects of `folder` name in their first line (each regular file there
// that is small enough to be a project is taken as one), as paths from `folder`.
std::vector<std::filesystem::path> filesNamedIn(const std::filesystem::path& folder);

// Removes the images of `stem` in `folder` that no project there names (what earlier saves
// replaced, or interrupted saves left).
void removeUnnamedReadouts(const std::filesystem::path& folder, const std::string& stem);

}  // namespace vem
