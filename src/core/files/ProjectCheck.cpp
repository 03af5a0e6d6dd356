#include "files/ProjectCheck.h"

#include <algorithm>
#include <array>

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

// Why the file's text is no project file, line 1 aside: its line count, a zero byte.
std::vector<std::string> structureProblems(std::string_view text, std::size_t lineCount) {
    std::vector<std::string> problems;
    if (lineCount != ProjectFileLines)
        problems.push_back("the project file has " + std::to_string(lineCount) + " lines, " +
                           std::to_string(ProjectFileLines) + " expected");
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) {
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(zero), '\n');
        problems.push_back("the project file holds binary content (a zero byte on line " + std::to_string(line) + ")");
    }
    return problems;
}

// Why line 1 names no image file; empty when it can.
std::string firstLineProblem(std::string_view first) {
    if (first.empty()) return "line 1 names no image template";
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    if (std::any_of(first.begin(), first.end(), control)) return "line 1 holds control characters, no image file name";
    return {};
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

std::vector<std::string> ProjectProblems::all() const {
    std::vector<std::string> list = notAProject;
    list.insert(list.end(), templateProblems.begin(), templateProblems.end());
    list.insert(list.end(), contentProblems.begin(), contentProblems.end());
    return list;
}

ProjectProblems checkProjectText(std::string_view text) {
    const std::vector<std::string_view> lines = splitProjectLines(text);
    ProjectProblems found;
    found.notAProject = structureProblems(text, lines.size());

    Project project;
    DeviceImage image;
    project.imageFileName = lines.empty() ? std::string() : std::string(lines[0]);
    if (const std::string problem = firstLineProblem(project.imageFileName); !problem.empty()) {
        found.notAProject.push_back(problem);
    } else if (const FileResult loaded = loadImageFile(project, image); !loaded.ok) {
        found.templateProblems.push_back("the image template " + loaded.detail);
    }
    readProjectBody(project, lines);
    checkPosLines(lines, found.contentProblems);
    for (auto& problems : {layoutProblems(project, image.imageTemplateLoaded ? &image : nullptr),
                           settingsProblems(project, image.posExtendedSupported())})
        found.contentProblems.insert(found.contentProblems.end(), problems.begin(), problems.end());
    return found;
}

std::vector<std::string> checkProjectFile(const std::string& path) {
    FileFault fault{};
    const auto text = readProjectText(path, fault);
    if (!text) return {"the project file " + path + " " + fileFaultText(fault, ProjectFileLimit)};
    return checkProjectText(*text).all();
}

}  // namespace vem
