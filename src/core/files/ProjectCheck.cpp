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
constexpr std::array<int, 7> PosLineNames{Msg::NamePosRegister,   Msg::NamePosFirstLine,    Msg::NamePosLineCount,
                                         Msg::NamePosScroll,     Msg::NamePosBackground,   Msg::NamePosTransparency,
                                         Msg::NamePosTextColour};

// Why the file's text is no project file, line 1 aside: its line count, a zero byte.
std::vector<SlotMessage> structureProblems(std::string_view text, std::size_t lineCount) {
    std::vector<SlotMessage> problems;
    if (lineCount != ProjectFileLines)
        problems.push_back({Msg::ProjectLineCount, {std::to_string(lineCount), std::to_string(ProjectFileLines)}});
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) {
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(zero), '\n');
        problems.push_back({Msg::ProjectBinary, {std::to_string(line)}});
    }
    return problems;
}

// Why line 1 names no image file; none (slot -1) when it can.
SlotMessage firstLineProblem(std::string_view first) {
    if (first.empty()) return {Msg::NoTemplateName, {}};
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    if (std::any_of(first.begin(), first.end(), control)) return {Msg::TemplateNameControls, {}};
    return {};
}

void checkPosLines(const std::vector<std::string_view>& lines, std::vector<SlotMessage>& problems) {
    for (int i = 0; i < static_cast<int>(PosLineNames.size()); ++i) {
        const int index = FirstPosLine - 1 + i;
        if (index >= static_cast<int>(lines.size())) return;
        const std::int32_t value = projectNumber(lines[index]);
        if (value < 0 || value > 255)
            problems.push_back({Msg::ProblemBeyondByte,
                                {SlotMessage{PosLineNames[i], {}}, std::to_string(value), std::to_string(low8(value))}});
    }
}

}  // namespace

std::vector<SlotMessage> ProjectProblems::all() const {
    std::vector<SlotMessage> list = notAProject;
    list.insert(list.end(), templateProblems.begin(), templateProblems.end());
    list.insert(list.end(), contentProblems.begin(), contentProblems.end());
    return list;
}

ProjectProblems checkProjectText(std::string_view text, const std::filesystem::path& folder) {
    const std::vector<std::string_view> lines = splitProjectLines(text);
    ProjectProblems found;
    found.notAProject = structureProblems(text, lines.size());

    Project project;
    DeviceImage image;
    project.imageFileName = lines.empty() ? std::string() : std::string(lines[0]);
    if (const SlotMessage problem = firstLineProblem(project.imageFileName); problem.slot >= 0) {
        found.notAProject.push_back(problem);
    } else if (const FileResult loaded = loadImageFile(project, image, folder); !loaded.ok) {
        found.templateProblems.push_back({Msg::TemplateFault, {loaded.detail}});
    }
    readProjectBody(project, lines);
    checkPosLines(lines, found.contentProblems);
    for (auto& problems : {layoutProblems(project, image.imageTemplateLoaded ? &image : nullptr),
                           settingsProblems(project, image.posExtendedSupported())})
        found.contentProblems.insert(found.contentProblems.end(), problems.begin(), problems.end());
    return found;
}

std::vector<SlotMessage> checkProjectFile(const std::string& path) {
    FileFault fault{};
    const auto text = readProjectText(path, fault);
    if (!text) return {{Msg::ProjectFileFault, {fileFaultMessage(fault, path, ProjectFileLimit)}}};
    return checkProjectText(*text, projectFolderOf(path)).all();
}

}  // namespace vem
