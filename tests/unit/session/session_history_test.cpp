#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorFixture.h"
#include "RandomOperations.h"
#include "files/ProjectFile.h"

namespace vem::test {
namespace {

std::string fileText(const Session& s) { return writeProjectText(s.document().project()); }

// What a step gives back: the project file text and the image it had, whether that holds a
// template, and which file the project was and whether it differed from it.
struct Step {
    std::string text;
    DeviceImage image;
    std::string file;
    bool modified;
    explicit Step(const Session& s)
        : text(fileText(s)), image(s.document().image()), file(s.document().projectFile()), modified(s.document().modified()) {}
};

// The step `s` shows is `expected`, its field boxes show the step's switches, and the invariants hold.
void expectAt(const Session& s, const Step& expected, const std::string& where) {
    ASSERT_EQ(fileText(s), expected.text) << where;
    ASSERT_EQ(s.document().image().imageTemplateLoaded, expected.image.imageTemplateLoaded) << where;
    ASSERT_EQ(s.document().projectFile(), expected.file) << where;
    ASSERT_EQ(s.document().modified(), expected.modified) << where;
    ASSERT_EQ(s.document().image().mainArea, expected.image.mainArea) << where;
    ASSERT_EQ(s.document().image().headerArea, expected.image.headerArea) << where;
    ASSERT_EQ(s.document().image().screenArea, expected.image.screenArea) << where;
    for (int n = 1; n <= FieldCount; ++n)
        ASSERT_EQ(s.document().editor().controls().fieldBoxTicked[n - 1], s.document().project().field(n).enabled == 1) << where << ", box " << n;
    ASSERT_EQ(brokenInvariant(s), "") << where;
}

// Random changes, then undo one step at a time back to the start and redo to the end: every
// step gives back what it had.
TEST(SessionHistory, UndoAndRedoWalkBackAndForthThroughRandomChanges) {
    const SampleFolder folder("vem-history-");
    RandomOperator op;
    for (int round = 0; round < 6; ++round) {
        // From round 4 on without the template: only a read-back brings an image, and an undo takes it away.
        if (round == 4) std::filesystem::rename("default.bin", "away.bin");
        Session s;
        s.document().startUp();
        EXPECT_FALSE(s.document().canUndo());
        // Each step; a typing change that joined the step before, and a change that is no step
        // (a build fills empty cells, a save replaces unsaveable ones), replace it.
        std::vector<Step> steps{Step(s)};
        for (int change = 0; change < 150 && s.document().undoSteps() < ProjectHistory::MaxSteps - 1; ++change) {
            const std::size_t stepsBefore = s.document().undoSteps();
            const std::string what = op.operate(s, false);
            if (what == "save")  // every step is now the saved file's
                for (Step& step : steps) {
                    step.file = s.document().projectFile();
                    step.modified = step.text != fileText(s);
                }
            if (s.document().undoSteps() > stepsBefore)
                steps.emplace_back(s);
            else
                steps.back() = Step(s);
            ASSERT_EQ(s.document().undoSteps() + 1, steps.size()) << what;
        }
        EXPECT_FALSE(s.document().canRedo());
        const std::string inRound = "round " + std::to_string(round);
        for (std::size_t i = steps.size() - 1; i > 0; --i) {
            ASSERT_TRUE(s.document().undo().ok);
            expectAt(s, steps[i - 1], inRound + ", undo to step " + std::to_string(i - 1));
        }
        EXPECT_FALSE(s.document().undo().ok);
        for (std::size_t i = 1; i < steps.size(); ++i) {
            ASSERT_TRUE(s.document().redo().ok);
            expectAt(s, steps[i], inRound + ", redo to step " + std::to_string(i));
        }
        EXPECT_FALSE(s.document().redo().ok);
    }
}

struct SessionHistoryTest : ::testing::Test {
    SampleFolder folder{"vem-history-"};
    Session s;
    void SetUp() override { ASSERT_TRUE(s.document().startUp().ok); }
    void type(const std::string& text) {
        for (char c : text) s.document().keyPress(static_cast<unsigned char>(c));
    }
    std::string textAt(int first, int length) const {
        std::string out;
        for (int k = first; k < first + length; ++k) out += s.document().project().screenText[k];
        return out;
    }
    // The first data field placed on the grid, with its cells.
    std::pair<int, std::vector<int>> placedField() const {
        for (int n = 1; n <= DataFieldCount; ++n)
            if (auto cells = gridCellsOf(s.document().editor(), n); !cells.empty()) return {n, cells};
        return {0, {}};
    }
};

// A field dropped on background text takes its cells; undoing the drag brings the text back,
// and the drag was one step however far it moved.
TEST_F(SessionHistoryTest, UndoingADragBringsBackTheTextUnderTheDroppedField) {
    const auto [field, cells] = placedField();
    ASSERT_GT(field, 0);
    const int length = static_cast<int>(cells.size());
    const int textCell = 10 * ScreenColumns;  // a row of the sample without fields
    s.document().mousePress(textCell, MouseButton::Left);
    type("WeltA");
    const std::string before = fileText(s);
    const std::size_t steps = s.document().undoSteps();

    s.document().mousePress(cells.front(), MouseButton::Left);
    const int dx = (textCell % 40 - cells.front() % 40) * Editor::PanelWidth,
              dy = (textCell / 40 - cells.front() / 40) * Editor::PanelHeight;
    s.document().mouseMove(dx / 2, dy / 2);
    s.document().mouseMove(dx, dy);
    s.document().mouseRelease();
    ASSERT_EQ(gridCellsOf(s.document().editor(), field), cellRun(textCell, length)) << "dropped on the text";
    EXPECT_EQ(s.document().undoSteps(), steps + 1);

    ASSERT_TRUE(s.document().undo().ok);
    EXPECT_EQ(fileText(s), before);
    EXPECT_EQ(textAt(textCell, 5), "WeltA");
    EXPECT_EQ(gridCellsOf(s.document().editor(), field), cells);
    ASSERT_TRUE(s.document().undo().ok) << "the typing before is a step of its own";
    EXPECT_EQ(textAt(textCell, 5), "");
}

// Typing is one step until something else happens, an undo included; a change after an undo
// drops the redo; the history keeps the last steps.
TEST_F(SessionHistoryTest, TypingIsOneStepAndAChangeAfterUndoDropsTheRedo) {
    s.document().mousePress(0, MouseButton::Left);
    type("abc");
    s.document().keyDown(EditorKey::Backspace);
    EXPECT_EQ(s.document().undoSteps(), 1u);
    s.document().keyDown(EditorKey::Down);
    type("x");
    EXPECT_EQ(s.document().undoSteps(), 2u);
    ASSERT_TRUE(s.document().undo().ok);
    EXPECT_TRUE(s.document().canRedo());
    type("y");
    EXPECT_EQ(s.document().undoSteps(), 2u);
    EXPECT_FALSE(s.document().canRedo());
    EXPECT_FALSE(s.document().redo().ok);
    // A save ends the step: what was saved is one undo away.
    type("w");
    ASSERT_TRUE(s.document().saveProjectAs("typed.qor").ok);
    const std::string saved = fileText(s);
    type("z");
    ASSERT_TRUE(s.document().undo().ok);
    EXPECT_EQ(fileText(s), saved);
    EXPECT_FALSE(s.document().modified());

    for (std::size_t k = 0; k < ProjectHistory::MaxSteps; ++k) s.document().clickSummerTimeCheckBox();
    EXPECT_EQ(s.document().undoSteps(), ProjectHistory::MaxSteps);
}

// Switching data sets shows another set and changes nothing to undo; coming back shows each
// field where it was stored.
TEST_F(SessionHistoryTest, SwitchingDataSetsIsNoChange) {
    Project twoSets = s.document().project();
    twoSets.dataSets[1].dataSetAvailable = 1;  // the sample's second set holds placed fields
    s.document().takeProject(twoSets, s.document().image());
    ASSERT_TRUE(s.document().editor().controls().dataSetButtonEnabled[1]);
    const std::string before = fileText(s);
    const int start = s.document().project().activeDataSet;
    for (int k = 0; k < DataSetCount; ++k)
        if (s.document().editor().controls().dataSetButtonEnabled[k]) s.document().switchDataSet(k);
    s.document().switchDataSet(start);
    EXPECT_EQ(fileText(s), before);
    EXPECT_FALSE(s.document().canUndo());
    EXPECT_FALSE(s.document().modified());
}

// Saving keeps the history; undoing back to the saved state clears the "*"; opening starts anew.
TEST_F(SessionHistoryTest, TheStarFollowsTheHistoryAndOpeningStartsANewOne) {
    s.document().clickSummerTimeCheckBox();
    ASSERT_TRUE(s.document().saveProjectAs("saved.qor").ok);
    EXPECT_FALSE(s.document().modified());
    s.document().clickSummerTimeCheckBox();
    EXPECT_TRUE(s.document().modified());
    ASSERT_TRUE(s.document().undo().ok);
    EXPECT_FALSE(s.document().modified());
    ASSERT_TRUE(s.document().undo().ok);
    EXPECT_TRUE(s.document().modified());
    ASSERT_TRUE(openAnyway(s, "saved.qor").ok);
    EXPECT_FALSE(s.document().canUndo());
    EXPECT_FALSE(s.document().canRedo());
}

}  // namespace
}  // namespace vem::test
