#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "SampleData.h"
#include "SessionChecks.h"
#include "files/ProjectCheck.h"
#include "files/ProjectFile.h"

namespace vem::test {

// A temporary working folder holding the sample project and its template, for as long as it
// lives.
class SampleFolder {
public:
    explicit SampleFolder(const std::string& name)
        : previous_(std::filesystem::current_path()),
          folder_(std::filesystem::temp_directory_path() / (name + std::to_string(std::random_device{}()))) {
        const auto& data = SampleDataFolder;
        std::filesystem::create_directories(folder_);
        for (const char* file : {"default.qor", "default.bin"}) std::filesystem::copy_file(data / file, folder_ / file);
        std::filesystem::current_path(folder_);
    }
    ~SampleFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    SampleFolder(const SampleFolder&) = delete;
    SampleFolder& operator=(const SampleFolder&) = delete;

private:
    std::filesystem::path previous_, folder_;
};

// Random operator steps; VEM_PROPERTY_SEED tries other sequences, CI runs the fixed one.
class RandomOperator {
public:
    RandomOperator() {
        const char* seed = std::getenv("VEM_PROPERTY_SEED");
        rng_.seed(seed ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : 20261207u);
    }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // One thing an operator can do; says what it did. Without `opens`, nothing that opens a
    // project (and so starts a new history).
    std::string operate(Session& s, bool opens) {
        const Editor& e = s.document().editor();
        switch (pick(0, opens ? 12 : 11)) {
        case 0:
        case 1:
            s.document().keyPress(static_cast<unsigned char>(pick(0, 255)));
            return "type";
        case 2:
            s.document().keyDown(static_cast<EditorKey>(pick(0, 5)));
            return "key";
        case 3:
            s.document().mousePress(pick(0, CellCount - 1), static_cast<MouseButton>(pick(0, 2)));
            for (int moves = pick(0, 3); moves > 0; --moves) s.document().mouseMove(pick(-400, 400), pick(-300, 300));
            s.document().mouseRelease();
            return "click or drag";
        case 4:
        case 5: {
            const int n = pick(1, FieldCount);
            if (e.controls().fieldBoxEnabled[n - 1]) s.document().clickFieldCheckBox(n);
            return "tick " + std::to_string(n);
        }
        case 6: {
            const int k = pick(0, DataSetCount - 1);
            if (e.controls().dataSetButtonEnabled[k]) s.document().switchDataSet(k);
            return "data set " + std::to_string(k);
        }
        case 7: {
            const int n = pick(1, DataFieldCount);
            if (!e.controls().fieldButtonEnabled[n - 1]) return "field dialog refused";
            FieldDialogValues v = s.document().fieldDialog(n);
            v.lengthText = std::to_string(pick(-1, 30));
            v.description = "F" + std::to_string(pick(0, 99));
            s.document().closeFieldDialog(n, static_cast<DialogClose>(pick(0, 2)), v);
            return "field dialog " + std::to_string(n);
        }
        case 8:
            s.document().clickSummerTimeCheckBox();
            return "summer time";
        case 9: {
            EXPECT_TRUE(s.document().saveProjectAs("property.qor").ok);
            // What the editor made and the save wrote, the checks accept, and it opens as it was saved.
            const std::string saved = writeProjectText(s.document().project());
            const ProjectProblems problems = checkProjectText(saved, {});
            EXPECT_TRUE(problems.notAProject.empty() && problems.contentProblems.empty())
                << (problems.contentProblems.empty() ? "" : s.messages().text(problems.contentProblems.front()));
            if (opens && pick(0, 1)) {
                EXPECT_TRUE(s.document().openProject("property.qor").ok);
                EXPECT_EQ(writeProjectText(s.document().project()), saved);
            }
            return "save";
        }
        case 10:
            s.document().buildImage(LocalTime{7, 12, 2026, 9, 30});
            return "build";
        case 11: {
            const DeviceImage built = s.document().image();
            s.document().applyReadBack(built);
            return "read back";
        }
        default:
            EXPECT_TRUE(s.document().openProject("default.qor").ok);
            return "open the sample";
        }
    }

private:
    std::mt19937 rng_;
};

}  // namespace vem::test
