#include "EditorFixture.h"
#include "editor/FieldDialogLogic.h"

using namespace vem;
using vem::test::EditorFixture;

using FieldPlacement = EditorFixture;

TEST_F(FieldPlacement, CheckBoxPlacesInFirstFreeRunInRed) {
    defineField(2, 0, 5);
    editor.clickFieldCheckBox(2);
    EXPECT_EQ(cellsOf(2), run(0, 5));
    EXPECT_EQ(editor.cells()[0].colour, CellColour::AutoPlaced);
    const FieldDefinition& f = project.field(2);
    EXPECT_EQ(f.enabled, 1);
    EXPECT_EQ(f.placed, 1);
    EXPECT_EQ(f.position, 1);
    EXPECT_EQ(f.column, 1);
    EXPECT_EQ(f.row, 1);
}

TEST_F(FieldPlacement, RunStartsAfterOccupiedCellsAndMayWrapRows) {
    placeField(1, 0, 3);
    defineField(2, 1, 5);
    editor.clickFieldCheckBox(2);
    EXPECT_EQ(cellsOf(2), run(3, 5));

    placeField(3, 8, 30);  // cells 8..37 taken
    defineField(4, 0, 5);
    editor.clickFieldCheckBox(4);
    EXPECT_EQ(cellsOf(4), run(38, 5));  // row 1 columns 39..40, row 2 columns 1..3
    EXPECT_EQ(project.field(4).column, 39);
    EXPECT_EQ(project.field(4).row, 1);
    EXPECT_EQ(project.field(4).position, 39);
}

TEST_F(FieldPlacement, RunNeverEndsOnLastCell) {
    placeField(1, 0, 635);  // free: 635..639
    defineField(2, 0, 5);
    editor.clickFieldCheckBox(2);
    EXPECT_TRUE(cellsOf(2).empty());
    EXPECT_EQ(project.field(2).enabled, 1);
    EXPECT_EQ(project.field(2).placed, 0);
}

TEST_F(FieldPlacement, SwitchingOffFreesCellsAndKeepsTexts) {
    defineField(2, 0, 4);
    editor.clickFieldCheckBox(2);
    project.screenText[1] = "x";
    editor.clickFieldCheckBox(2);
    EXPECT_TRUE(cellsOf(2).empty());
    EXPECT_EQ(project.screenText[1], "x");
    EXPECT_EQ(project.field(2).placed, 0);
    EXPECT_EQ(editor.cells()[1].colour, CellColour::ButtonFace);
}

TEST_F(FieldPlacement, DateTakenWhereItsTagsAreWhenCountMatches) {
    project.field(DateField).length = 8;
    for (int k = 44; k < 52; ++k) gridCell(k).tag = DateField;
    editor.clickFieldCheckBox(DateField);
    EXPECT_EQ(cellsOf(DateField), run(44, 8));
    EXPECT_EQ(editor.cells()[44].colour, CellColour::Field);
    EXPECT_EQ(project.field(DateField).column, 5);
    EXPECT_EQ(project.field(DateField).row, 2);
    editor.clickFieldCheckBox(DateField);
    EXPECT_EQ(project.field(DateField).position, 0);
    EXPECT_EQ(project.field(DateField).column, 0);
}

TEST_F(FieldPlacement, StrayCellsOfAnEarlierRunAreFreed) {
    defineField(2, 0, 5);
    gridCell(300).tag = 2;
    editor.clickFieldCheckBox(2);
    EXPECT_EQ(cellsOf(2), run(0, 5));
}

TEST_F(FieldPlacement, FieldOfAnotherTypeIsSwitchedOnButNotPlaced) {
    defineField(3, 2, 8);  // DD/MM/YY
    editor.clickFieldCheckBox(3);
    EXPECT_TRUE(cellsOf(3).empty());
    EXPECT_EQ(project.field(3).enabled, 1);
}

TEST_F(FieldPlacement, SettingTheCheckBoxPlacesOrFreesOnlyOnAChange) {
    defineField(2, 0, 3);
    editor.setFieldCheckBox(2, true);
    editor.setFieldCheckBox(2, true);
    EXPECT_EQ(cellsOf(2), run(0, 3));
    editor.setFieldCheckBox(2, false);
    EXPECT_TRUE(cellsOf(2).empty());
}

using FieldDialogLogic = EditorFixture;

TEST_F(FieldDialogLogic, LengthIsCutWhileTypedAndTheCutNamesTheLimit) {
    const struct {
        const char* typed;
        std::uint8_t max;
        const char* shown;
    } cases[] = {
        {"25", 10, "10"}, {" 11", 10, "10"}, {"4", 10, "4"},  {"10", 10, "10"},
        {"abc", 10, "abc"}, {"", 0, ""},
        {"12a", 10, "12a"},  // not a number: left for the accept to read as 0
    };
    for (const auto& c : cases) {
        const LengthText length = limitLengthText(c.typed, c.max);
        EXPECT_EQ(length.text, c.shown) << c.typed;
        const bool cut = length.text != c.typed;
        EXPECT_EQ(length.limit, cut ? std::optional(SlotMessage{Msg::FieldLengthAtMost, {c.shown}}) : std::nullopt) << c.typed;
    }
}

TEST_F(FieldDialogLogic, FillShowsTheDefinitionAndNoEntryForAnUnknownConversion) {
    FieldDefinition f;
    f.variableType = 2;
    f.conversion = 7;  // no such entry
    f.offset = 12;
    f.column = 3;
    f.row = 4;
    f.description = "Preis";
    const FieldDialogValues v = fillFieldDialog(f);
    EXPECT_FALSE(v.lengthEditable);
    EXPECT_EQ(v.description, "Preis");
    EXPECT_EQ(v.conversionIndex, -1);
    EXPECT_EQ(v.variableTypeIndex, 2);
    EXPECT_EQ(v.offsetText, "12");
}

TEST_F(FieldDialogLogic, AcceptGrowsPlacedFieldAtItsEnd) {
    defineField(1, 0, 10);
    editor.clickFieldCheckBox(1);  // placed on 0..9
    FieldDialogValues v = fillFieldDialog(project.field(1));
    v.lengthText = "4";
    EXPECT_EQ(editor.acceptFieldDialog(1, v, 10).tag, 1);
    EXPECT_EQ(cellsOf(1), run(0, 4));
    v.lengthText = "6";
    v.conversionIndex = 1;
    project.screenText[5] = "t";
    const FieldDialogAccepted grown = editor.acceptFieldDialog(1, v, 10);
    EXPECT_EQ(grown.tag, 1);
    EXPECT_FALSE(grown.limit);
    EXPECT_EQ(project.field(1).conversion, 1);
    EXPECT_EQ(cellsOf(1), run(0, 6));
    EXPECT_TRUE(project.screenText[5].empty());
    EXPECT_EQ(editor.cells()[5].colour, CellColour::Field);
    EXPECT_EQ(editor.cursor().cell, 0);
}

TEST_F(FieldDialogLogic, LongerFieldIsShortenedToTheRoomBeforeTheNextField) {
    defineField(1, 0, 10);
    editor.clickFieldCheckBox(1);
    FieldDialogValues v = fillFieldDialog(project.field(1));
    v.lengthText = "3";
    editor.acceptFieldDialog(1, v, 10);
    placeField(2, 5, 2);
    v.lengthText = "9";
    EXPECT_EQ(editor.acceptFieldDialog(1, v, 10).limit, (SlotMessage{Msg::FieldRoomAtMost, {"5"}}));
    EXPECT_EQ(cellsOf(1), run(0, 5));
    EXPECT_EQ(project.field(1).length, 5);
    EXPECT_EQ(cellsOf(2), run(5, 2));
}

TEST_F(FieldDialogLogic, LongerFieldStopsAtLastCell) {
    defineField(1, 0, 20);
    placeField(1, 636, 2);
    FieldDialogValues v = fillFieldDialog(project.field(1));
    v.lengthText = "20";
    const FieldDialogAccepted accepted = editor.acceptFieldDialog(1, v, 20);
    EXPECT_EQ(accepted.tag, 1);
    EXPECT_EQ(accepted.limit, (SlotMessage{Msg::FieldRoomAtMost, {"4"}}));
    EXPECT_EQ(cellsOf(1), run(636, 4));
    EXPECT_EQ(project.field(1).length, 4);
}

TEST_F(FieldDialogLogic, ZeroOrBadLengthTakesMaximum) {
    defineField(1, 0, 7);
    FieldDialogValues v = fillFieldDialog(project.field(1));
    for (const char* text : {"0", "", "x", "-3"}) {
        v.lengthText = text;
        EXPECT_EQ(editor.acceptFieldDialog(1, v, 7).tag, 1);
        EXPECT_EQ(project.field(1).length, 7) << text;
    }
}

TEST_F(FieldDialogLogic, ZeroMaximumAndEmptyLengthReportsCancel) {
    defineField(1, 0, 0);
    FieldDialogValues v = fillFieldDialog(project.field(1));
    v.lengthText = "";
    v.description = "Artikel";
    EXPECT_EQ(editor.acceptFieldDialog(1, v, 0).tag, 0);
    editor.finishFieldDialog(1, 0);
    EXPECT_EQ(project.field(1).enabled, 0);
    EXPECT_EQ(editor.controls().fieldBoxCaption[0], "Artikel");
}

TEST_F(FieldDialogLogic, AcceptedUnplacedFieldIsSwitchedOnAndPlaced) {
    defineField(4, 0, 6);
    FieldDialogValues v = fillFieldDialog(project.field(4));
    v.lengthText = "3";
    const int tag = editor.acceptFieldDialog(4, v, 6).tag;
    editor.finishFieldDialog(4, tag);
    EXPECT_TRUE(editor.controls().fieldBoxTicked[3]);
    EXPECT_EQ(cellsOf(4), run(0, 3));
    EXPECT_EQ(project.dataSets[0].cellTags[2], 4);
}

TEST_F(FieldDialogLogic, CancelOnlyStoresTags) {
    defineField(4, 0, 6);
    gridCell(9).tag = 4;
    const FieldDefinition before = project.field(4);
    editor.finishFieldDialog(4, 0);
    EXPECT_EQ(project.field(4).length, before.length);
    EXPECT_EQ(project.field(4).enabled, 0);
    EXPECT_EQ(project.dataSets[0].cellTags[9], 4);
}
