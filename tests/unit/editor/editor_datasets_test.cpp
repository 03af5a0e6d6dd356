#include "EditorFixture.h"

using namespace vem;
using vem::test::EditorFixture;
using vem::test::SessionFixture;

using DataSets = EditorFixture;
using EditorTest = EditorFixture;

TEST_F(DataSets, SwitchingToTheActiveDataSetStoresNothing) {
    gridCell(3).tag = 1;  // not stored yet
    editor.switchDataSet(0);
    EXPECT_EQ(project.dataSets[0].cellTags[3], 0);
    EXPECT_EQ(editor.cursor().cell, EditorCursor::None);
}

TEST_F(DataSets, SwitchStoresWorkingCopyAndLoadsTarget) {
    defineField(1, 0, 4);
    gridCell(20).tag = 2;  // the grid, not yet stored
    project.field(1).description = "Menge";
    defineField(1, 0, 6, 1);
    project.dataSets[1].fields[0].enabled = 1;
    project.screenText[100] = "T";
    editor.switchDataSet(1);
    EXPECT_EQ(project.activeDataSet, 1);
    EXPECT_EQ(project.dataSets[0].fields[0].description, "Menge");
    EXPECT_EQ(project.dataSets[0].cellTags[20], 2);
    EXPECT_EQ(project.field(1).length, 6);
    EXPECT_EQ(cellsOf(1), run(0, 6));  // its check box was ticked and placed it
    EXPECT_EQ(project.dataSets[1].cellTags[5], 1);
    EXPECT_EQ(project.screenText[100], "T");
    editor.switchDataSet(0);
    EXPECT_TRUE(cellsOf(1).empty());
    EXPECT_EQ(cellsOf(2), std::vector<int>{20});
    EXPECT_EQ(project.field(1).description, "Menge");
}

TEST_F(DataSets, UndefinedFieldDisablesItsControls) {
    for (int n : {5, 16}) {
        SCOPED_TRACE(n);
        defineField(n, 0, 3);
        editor.showDataFieldControls();
        EXPECT_TRUE(editor.controls().fieldBoxEnabled[n - 1]);
        editor.clickFieldCheckBox(n);
        EXPECT_TRUE(editor.controls().fieldButtonEnabled[n - 1]);
        project.dataSets[1].fields[n - 1].variableType = -1;
        editor.switchDataSet(1);
        EXPECT_FALSE(editor.controls().fieldButtonEnabled[n - 1]);
        EXPECT_FALSE(editor.controls().fieldBoxEnabled[n - 1]);
        EXPECT_FALSE(editor.controls().fieldBoxTicked[n - 1]);
        EXPECT_EQ(editor.controls().fieldBoxCaption[n - 1], "");
        editor.switchDataSet(0);
    }
}

// Sharing the date and time cells is the session's: it runs after every operation.
using SessionFieldCells = SessionFixture;

TEST_F(SessionFieldCells, DateAndTimeAreSharedByAllDataSets) {
    project.sharedField(DateField).length = 8;
    project.dataSets[2].cellTags[300] = DateField;  // stale date cells elsewhere
    take();
    session.document().clickFieldCheckBox(DateField);  // cells 0..7
    session.document().switchDataSet(2);
    EXPECT_EQ(held().activeDataSet, 2);
    EXPECT_EQ(cellsOf(DateField), run(0, 8));
    EXPECT_EQ(held().dataSets[2].cellTags[300], 0);
    for (int d = 0; d < 4; ++d) EXPECT_EQ(tagged(d, DateField), run(0, 8)) << d;
    EXPECT_EQ(held().field(DateField).enabled, 1);
    EXPECT_EQ(held().field(DateField).position, 1);
    EXPECT_TRUE(controls().fieldBoxTicked[DateField - 1]);
}

TEST_F(SessionFieldCells, DataFieldUnderSharedDateCellsIsMovedToFreeRun) {
    // Data set 1 has field 3 on cells 2..5; the date will land on 0..7.
    DataSet& other = project.dataSets[1];
    other.fields[2].variableType = 0;
    other.fields[2].enabled = 1;
    other.fields[2].placed = 1;
    other.fields[2].length = 4;
    for (int k = 2; k < 6; ++k) other.cellTags[k] = 3;
    project.sharedField(DateField).length = 8;
    take();
    session.document().clickFieldCheckBox(DateField);
    session.document().switchDataSet(1);
    EXPECT_EQ(cellsOf(DateField), run(0, 8));
    EXPECT_EQ(cellsOf(3), run(8, 4));  // whole again, right after the date
    EXPECT_EQ(held().field(3).position, 9);
}

TEST_F(EditorTest, SummerTimeBoxTickedMeansNoManualSummerTime) {
    editor.clickSummerTimeCheckBox();
    EXPECT_EQ(project.summerTimeManual, 1);
    editor.setSummerTimeCheckBox(true);
    EXPECT_EQ(project.summerTimeManual, 0);
}
