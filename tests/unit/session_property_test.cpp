#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "SessionChecks.h"

namespace vem::test {
namespace {

namespace fs = std::filesystem;

const fs::path DataFolder = fs::path(__FILE__).parent_path().parent_path().parent_path() / "data";

// Random sequences of what an operator can do, from the sample project on; after every step
// the Session's invariants hold.
TEST(Session, InvariantsHoldAfterEveryRandomOperation) {
    const fs::path previous = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / ("vem-property-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    for (const char* name : {"default.qor", "default.bin"}) fs::copy_file(DataFolder / name, folder / name);
    fs::current_path(folder);

    // VEM_PROPERTY_SEED tries other sequences; CI runs the fixed one.
    const char* seed = std::getenv("VEM_PROPERTY_SEED");
    std::mt19937 rng(seed ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : 20261207u);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Session s;
    ASSERT_TRUE(s.startUp().ok);
    const int steps = 4000;
    for (int step = 0; step < steps; ++step) {
        const Editor& e = s.editor();
        std::string what;
        switch (pick(0, 11)) {
        case 0:
        case 1:
            what = "type";
            s.keyPress(static_cast<unsigned char>(pick(0, 255)));
            break;
        case 2:
            what = "key";
            s.keyDown(static_cast<EditorKey>(pick(0, 5)));
            break;
        case 3: {
            what = "click or drag";
            s.mousePress(pick(0, CellCount - 1), static_cast<MouseButton>(pick(0, 2)));
            for (int moves = pick(0, 3); moves > 0; --moves) s.mouseMove(pick(-400, 400), pick(-300, 300));
            s.mouseRelease();
            break;
        }
        case 4:
        case 5: {
            const int n = pick(1, FieldCount);
            what = "tick " + std::to_string(n);
            if (e.controls().fieldBoxEnabled[n - 1]) s.clickFieldCheckBox(n);
            break;
        }
        case 6: {
            const int k = pick(0, DataSetCount - 1);
            what = "data set " + std::to_string(k);
            if (e.controls().dataSetButtonEnabled[k]) s.switchDataSet(k);
            break;
        }
        case 7: {
            const int n = pick(1, DataFieldCount);
            what = "field dialog " + std::to_string(n);
            if (!e.controls().fieldButtonEnabled[n - 1]) break;
            FieldDialogValues v = s.fieldDialog(n);
            v.lengthText = std::to_string(pick(-1, 30));
            v.description = "F" + std::to_string(pick(0, 99));
            s.closeFieldDialog(n, static_cast<DialogClose>(pick(0, 2)), v);
            break;
        }
        case 8:
            what = "summer time";
            s.clickSummerTimeCheckBox();
            break;
        case 9:
            what = "save and open";
            ASSERT_TRUE(s.saveProjectAs("property.qor").ok);
            if (pick(0, 1)) {
                ASSERT_TRUE(openAnyway(s, "property.qor").ok);
            }
            break;
        case 10: {
            what = "build and read back";
            s.buildImage(LocalTime{7, 12, 2026, 9, 30});
            const DeviceImage built = s.image();
            s.applyReadBack(built);
            break;
        }
        case 11:
            what = "open the sample";
            ASSERT_TRUE(s.openProject("default.qor").ok);
            break;
        }
        const std::string broken = brokenInvariant(s);
        ASSERT_EQ(broken, "") << "step " << step << ": " << what;
    }
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
}  // namespace vem::test
