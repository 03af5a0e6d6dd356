#include "EditorFixture.h"

#include <tuple>

using namespace vem;
using vem::test::EditorFixture;

using EditorTest = EditorFixture;

TEST_F(EditorTest, KeysWithoutACursorChangeNothing) {
    editor.keyPress('A');
    editor.keyDown(EditorKey::Right);
    EXPECT_EQ(editor.cursor().cell, EditorCursor::None);
    for (const auto& t : project.screenText) EXPECT_TRUE(t.empty());
}

TEST_F(EditorTest, TypingWritesAndAdvances) {
    editor.mousePress(0, MouseButton::Left);
    for (int c : {int('H'), int('&'), 0xE4}) editor.keyPress(static_cast<unsigned char>(c));
    EXPECT_EQ(project.screenText[0], "H");
    EXPECT_EQ(project.screenText[1], "&&");
    EXPECT_EQ(project.screenText[2], "\xE4");
    EXPECT_EQ(editor.cursor().cell, 3);
    EXPECT_EQ(editor.cells()[3].colour, CellColour::White);
    EXPECT_EQ(editor.cells()[2].colour, CellColour::ButtonFace);
}

TEST_F(EditorTest, RefusedCharactersStoreNothing) {
    editor.mousePress(5, MouseButton::Left);
    for (int c : {0x0D, 0x1B, 0x08, 0xE9, int(',')}) editor.keyPress(static_cast<unsigned char>(c));
    EXPECT_TRUE(project.screenText[5].empty());
    EXPECT_EQ(editor.cursor().cell, 5);
}

TEST_F(EditorTest, LastCellIsWrittenAndCursorStays) {
    editor.mousePress(639, MouseButton::Left);
    editor.keyPress('A');
    editor.keyPress('B');
    EXPECT_EQ(project.screenText[639], "B");
    EXPECT_EQ(editor.cursor().cell, 639);
}

TEST_F(EditorTest, TypingAgainstEnabledFieldOverwritesLastFreeCell) {
    placeField(1, 10, 5);
    editor.mousePress(8, MouseButton::Left);
    editor.keyPress('a');
    editor.keyPress('b');
    editor.keyPress('c');
    EXPECT_EQ(project.screenText[8], "a");
    EXPECT_EQ(project.screenText[9], "c");
    EXPECT_EQ(editor.cursor().cell, 9);
    EXPECT_EQ(editor.cells()[9].colour, CellColour::White);
}

TEST_F(EditorTest, TypingOntoStaleTagFreesIt) {
    gridCell(4).tag = 3;  // field 3 is not switched on
    editor.mousePress(3, MouseButton::Left);
    editor.keyPress('x');
    EXPECT_EQ(editor.cells()[4].tag, 0);
    EXPECT_EQ(editor.cursor().cell, 4);
}

TEST_F(EditorTest, ArrowsSkipOccupiedCells) {
    placeField(1, 41, 39);  // rest of row 1
    placeField(2, 80, 40);  // all of row 2
    editor.mousePress(40, MouseButton::Left);
    editor.keyDown(EditorKey::Right);
    EXPECT_EQ(editor.cursor().cell, 120);  // crosses into row 3
    editor.keyDown(EditorKey::Up);
    EXPECT_EQ(editor.cursor().cell, 40);  // rows 2 occupied, row 1 column 0 free
    editor.keyDown(EditorKey::Up);
    EXPECT_EQ(editor.cursor().cell, 0);
    editor.keyDown(EditorKey::Up);
    EXPECT_EQ(editor.cursor().cell, 0);
    editor.keyDown(EditorKey::Left);
    EXPECT_EQ(editor.cursor().cell, 0);
    EXPECT_EQ(editor.cells()[40].colour, CellColour::ButtonFace);
    EXPECT_EQ(editor.cells()[0].colour, CellColour::White);
}

TEST_F(EditorTest, UpFromRowThreeSkipsTwoOccupiedRows) {
    placeField(1, 40, 40);
    placeField(2, 80, 40);
    editor.mousePress(125, MouseButton::Left);
    editor.keyDown(EditorKey::Up);
    EXPECT_EQ(editor.cursor().cell, 5);
    EXPECT_EQ(editor.cursor().row, 0);
    EXPECT_EQ(editor.cursor().column, 5);
}

TEST_F(EditorTest, RightWithEverythingOccupiedAfterCursorStays) {
    placeField(1, 601, 39);
    editor.mousePress(600, MouseButton::Left);
    editor.keyDown(EditorKey::Right);
    EXPECT_EQ(editor.cursor().cell, 600);
    editor.keyDown(EditorKey::Down);
    EXPECT_EQ(editor.cursor().cell, 600);
}

TEST_F(EditorTest, BackspaceClearsPreviousFreeCellOnly) {
    editor.mousePress(20, MouseButton::Left);
    editor.keyPress('a');
    editor.keyPress('b');
    editor.keyDown(EditorKey::Backspace);
    EXPECT_EQ(editor.cursor().cell, 21);
    EXPECT_TRUE(project.screenText[21].empty());
    EXPECT_EQ(project.screenText[20], "a");

    placeField(1, 30, 3);
    editor.mousePress(33, MouseButton::Left);
    editor.keyDown(EditorKey::Backspace);
    EXPECT_EQ(editor.cursor().cell, 33);
}

TEST_F(EditorTest, DragMovesWholeFieldAndClearsTexts) {
    placeField(1, 10, 5);
    project.screenText[14] = "q";
    project.screenText[16] = "z";
    editor.mousePress(11, MouseButton::Left);  // the second cell
    EXPECT_TRUE(editor.cursor().dragging);
    EXPECT_EQ(editor.drag().grabOffset, 1);
    EXPECT_EQ(editor.cells()[11].colour, CellColour::Dragged);
    editor.mouseMove(3 * 16 + 2, 4);
    EXPECT_EQ(project.field(1).position, 14);
    editor.mouseRelease();
    EXPECT_EQ(cellsOf(1), run(13, 5));
    for (int k : run(13, 5)) {
        EXPECT_TRUE(project.screenText[k].empty());
        EXPECT_EQ(editor.cells()[k].colour, CellColour::Field);
    }
    EXPECT_EQ(project.screenText[10 + 0], "");  // untouched cell keeps (empty) text
    EXPECT_EQ(project.field(1).column, 14);
    EXPECT_EQ(project.field(1).row, 1);
    EXPECT_EQ(project.dataSets[0].cellTags[13], 1);  // stored on release
    EXPECT_FALSE(editor.cursor().dragging);
}

TEST_F(EditorTest, DragByNegativeOffsetsRoundsDown) {
    placeField(1, 45, 3);
    editor.mousePress(45, MouseButton::Left);
    editor.mouseMove(-1, -1);  // one cell left, one row up
    EXPECT_EQ(project.field(1).position, 5);
    editor.mouseRelease();
    EXPECT_EQ(cellsOf(1), run(4, 3));
}

TEST_F(EditorTest, DragPastTheEdgesPinsTheField) {
    placeField(1, 85, 5);
    editor.mousePress(87, MouseButton::Left);
    editor.mouseMove(40 * 16, 0);
    EXPECT_EQ(project.field(1).column, 36);  // last cell on column 40
    editor.mouseMove(-40 * 16, 0);
    EXPECT_EQ(project.field(1).column, 1);
    editor.mouseRelease();
    EXPECT_EQ(cellsOf(1), run(80, 5));
}

TEST_F(EditorTest, DropOnOtherFieldKeepsLastFreePosition) {
    placeField(1, 0, 3);
    placeField(2, 10, 3);
    editor.mousePress(0, MouseButton::Left);
    editor.mouseMove(3 * 16, 0);  // cells 3..5: free
    editor.mouseMove(9 * 16, 0);  // cells 9..11: over field 2
    editor.mouseRelease();
    EXPECT_EQ(cellsOf(1), run(3, 3));
    EXPECT_EQ(cellsOf(2), run(10, 3));
}

TEST_F(EditorTest, ReleaseWithoutValidMoveKeepsField) {
    placeField(1, 100, 4);
    placeField(2, 104, 4);
    editor.mousePress(100, MouseButton::Left);
    editor.mouseMove(16, 0);
    editor.mouseRelease();
    EXPECT_EQ(cellsOf(1), run(100, 4));
}

TEST_F(EditorTest, RightButtonSelectsWithoutDragging) {
    placeField(1, 10, 5);
    editor.mousePress(12, MouseButton::Right);
    EXPECT_FALSE(editor.cursor().dragging);
    EXPECT_EQ(editor.cursor().cell, 12);
    EXPECT_EQ(cellsOf(1), run(10, 5));
    editor.mousePress(30, MouseButton::Left);
    EXPECT_EQ(editor.cells()[12].colour, CellColour::Field);  // the field keeps its colour
}

TEST_F(EditorTest, HintsFollowTagsButAutoPlacedCellsKeepTheirs) {
    messages.setText(Msg::FieldHintPrefix, "Feld ");
    messages.setText(Msg::DateHint, "Datum");
    placeField(12, 0, 2);
    placeField(DateField, 50, 8);
    gridCell(100).tag = 5;
    gridCell(100).colour = CellColour::AutoPlaced;
    gridCell(100).hint = "old";
    editor.updateCellHints();
    EXPECT_EQ(editor.cells()[0].hint, "Feld 12");
    EXPECT_EQ(editor.cells()[50].hint, "Datum");
    EXPECT_EQ(editor.cells()[100].hint, "old");  // red cells keep theirs
    EXPECT_EQ(editor.cells()[2].hint, "");
}

TEST_F(EditorTest, RefreshShowsTheActiveDataSetsCellsAndBoxes) {
    placeField(1, 10, 5);
    editor.mousePress(11, MouseButton::Left);  // a drag the refresh ends
    project.dataSets[0].cellTags[7] = 2;
    project.dataSets[0].fields[1] = FieldDefinition{1, 1, 1, 0, 0, 0, 8, 1, 8, "Preis"};
    project.summerTimeManual = 1;
    editor.refreshWindowFromProject();
    // The working field takes the active set's stored place, not only its box.
    const FieldDefinition& shown = project.fields[1];
    EXPECT_EQ(std::tuple(shown.length, shown.column, shown.row, shown.position), std::tuple(1, 8, 1, 8));
    EXPECT_EQ(editor.cells()[7].tag, 2);
    EXPECT_EQ(editor.cells()[7].colour, CellColour::Field);
    EXPECT_TRUE(editor.controls().fieldBoxTicked[1]);
    EXPECT_EQ(editor.controls().fieldBoxCaption[1], "Preis");
    EXPECT_FALSE(editor.controls().summerTimeTicked);
    EXPECT_EQ(editor.cursor().cell, 0);
    EXPECT_FALSE(editor.cursor().dragging);
}

// The session's refresh also splits the port into the header bytes the device reads.
using SessionEditor = vem::test::SessionFixture;

TEST_F(SessionEditor, TakenProjectIsShownAndItsPortSplit) {
    project.dataSets[0].cellTags[7] = 2;
    project.dataSets[0].fields[1] = FieldDefinition{1, 1, 1, 0, 0, 0, 8, 1, 8, "Preis"};
    project.summerTimeManual = 1;
    project.device.IpPort = 8080;
    take();
    EXPECT_EQ(editor().cells()[7].tag, 2);
    EXPECT_EQ(editor().cells()[7].colour, CellColour::Field);
    EXPECT_TRUE(controls().fieldBoxTicked[1]);
    EXPECT_EQ(controls().fieldBoxCaption[1], "Preis");
    EXPECT_FALSE(controls().summerTimeTicked);
    EXPECT_EQ(editor().cursor().cell, 0);
    EXPECT_EQ(session.document().image().headerArea[0x57], 80);
    EXPECT_EQ(session.document().image().headerArea[0x58], 80);
}
