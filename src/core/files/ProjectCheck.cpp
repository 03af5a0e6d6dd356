#include "files/ProjectCheck.h"

#include <array>
#include <filesystem>

#include "files/ImageFile.h"
#include "files/ProjectFile.h"
#include "model/DeviceImage.h"
#include "model/LayoutCheck.h"
#include "model/Project.h"
#include "settings/SettingsCheck.h"

namespace vem {
namespace {

constexpr int FirstPosLine = 132;
constexpr std::array<const char*, 7> PosLineNames{"register number",  "first line", "line count",
                                                  "scroll direction", "background", "transparency",
                                                  "text colour"};

// Loads the template named on line 1 as opening the project does; false when none was loaded.
bool loadTemplate(Project& project, DeviceImage& image, std::vector<std::string>& problems) {
    const std::string& name = project.imageFileName;
    if (name.empty()) {
        problems.push_back("line 1 names no image template");
        return false;
    }
    const auto bytes = readFileBytes(name, ImageFileSize + 1);
    if (!bytes) {
        problems.push_back("cannot read the image template " + name);
        return false;
    }
    if (bytes->size() != ImageFileSize) {
        std::error_code error;
        const auto size = std::filesystem::file_size(name, error);
        problems.push_back("the image template " + name + " has " +
                           std::to_string(error ? bytes->size() : size) + " bytes, " +
                           std::to_string(ImageFileSize) + " expected");
        return false;
    }
    return loadImageBytes(project, image, *bytes).ok;
}

void checkPosLines(const std::vector<std::string_view>& lines, std::vector<std::string>& problems) {
    for (int i = 0; i < static_cast<int>(PosLineNames.size()); ++i) {
        const int index = FirstPosLine - 1 + i;
        if (index >= static_cast<int>(lines.size())) return;
        const std::int32_t value = projectNumber(lines[index]);
        if (value < 0 || value > 255)
            problems.push_back("POS: " + std::string(PosLineNames[i]) + " is " + std::to_string(value) +
                               ", more than one byte holds (the device gets " + std::to_string(low8(value)) +
                               ")");
    }
}

}  // namespace

std::vector<std::string> checkProjectFile(const std::string& path) {
    const auto text = readProjectText(path);
    if (!text) return {"cannot read the project file " + path};
    const std::vector<std::string_view> lines = splitProjectLines(*text);
    std::vector<std::string> problems;
    if (lines.size() != ProjectFileLines)
        problems.push_back("the project file has " + std::to_string(lines.size()) + " lines, " +
                           std::to_string(ProjectFileLines) + " expected");

    Project project;
    DeviceImage image;
    project.imageFileName = lines.empty() ? std::string() : std::string(lines[0]);
    const bool loaded = loadTemplate(project, image, problems);
    readProjectBody(project, lines);
    checkPosLines(lines, problems);

    for (auto& found : {layoutProblems(project, loaded ? &image : nullptr),
                        settingsProblems(project, image.posExtendedSupported())})
        problems.insert(problems.end(), found.begin(), found.end());
    return problems;
}

}  // namespace vem
