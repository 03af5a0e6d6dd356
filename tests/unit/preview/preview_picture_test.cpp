#include <gtest/gtest.h>

#include "preview/FieldSamples.h"
#include "preview/PreviewPicture.h"

namespace vem {
namespace {

// A project with the text "AB" at row 1 and field 1 (length 4) switched on at row 2, column 3.
Project sampleProject() {
    Project p;
    p.screenText[0] = "A";
    p.screenText[1] = "B";
    FieldDefinition& f = p.fields[0];
    f.enabled = f.placed = 1;
    f.variableType = 0;
    f.length = 4;
    f.description = "Kasse";
    f.startAt(cellIndex(1, 2));
    p.dataSets[0].fields[0] = f;
    return p;
}

std::string rowText(const PreviewPicture& picture, int row) {
    std::string text;
    for (int c = 0; c < ScreenColumns; ++c) text += picture.at(row, c).character;
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

TEST(PreviewPicture, EachBackgroundModeFillsItsCells) {
    struct Case { int mode; bool characterCell, spaceInWrittenRow, emptyRow; };
    for (const Case& c : {Case{0, false, false, false}, Case{1, false, false, false}, Case{2, true, true, true},
                          Case{3, true, false, false}, Case{4, true, true, false}}) {
        Project p = sampleProject();
        p.pos.BackgroundMode = static_cast<std::uint8_t>(c.mode);
        const PreviewPicture picture = buildPreview(p, {});
        EXPECT_EQ(picture.at(0, 0).filled, c.characterCell) << "mode " << c.mode;
        EXPECT_EQ(picture.at(0, 20).filled, c.spaceInWrittenRow) << "mode " << c.mode;
        EXPECT_EQ(picture.at(9, 5).filled, c.emptyRow) << "mode " << c.mode;
    }
}

TEST(PreviewPicture, TransparencyGoesFromLightToDark) {
    for (auto [level, opacity] : {std::pair{0, 32}, {1, 32}, {4, 128}, {7, 224}}) {
        Project p;
        p.pos.Transparency = static_cast<std::uint8_t>(level);
        EXPECT_EQ(buildPreview(p, {}).fillOpacity, opacity) << "transparency " << level;
    }
}

TEST(PreviewPicture, EachScrollDirectionShowsTheNewestRowAtItsEnd) {
    const std::deque<PosLine> rows{{"one", {}}, {"two", {}}, {"three", std::optional{DeviceColour::Red}}};
    for (auto [direction, top, bottom] : {std::tuple{0, "two", "three"}, {1, "three", "two"}}) {
        Project p;
        p.pos.FirstLine = 5;
        p.pos.LineCount = 2;
        p.pos.TextColour = 4;  // blue
        p.pos.ScrollDirection = static_cast<std::uint8_t>(direction);
        const PreviewPicture picture = buildPreview(p, {.dataSet = 0, .time = {}, .posRows = &rows});
        EXPECT_EQ(rowText(picture, 4), top) << "direction " << direction;
        EXPECT_EQ(rowText(picture, 5), bottom) << "direction " << direction;
        EXPECT_EQ(rowText(picture, 6), "");
        const int newest = direction == 0 ? 5 : 4, older = direction == 0 ? 4 : 5;
        EXPECT_EQ(picture.at(newest, 0).colour, DeviceColour::Red);
        EXPECT_EQ(picture.at(older, 0).colour, DeviceColour::Blue);
        EXPECT_EQ(picture.at(older, 39).item, CellItem::PosLine);
    }
}

TEST(PreviewPicture, FieldsShowSamplesOfTheirFullLengthAndDateAndTimeTheMoment) {
    Project p = sampleProject();
    for (int n : {DateField, TimeField}) {
        FieldDefinition& f = p.sharedField(n);
        f.enabled = f.placed = 1;
        f.length = 8;
        f.startAt(cellIndex(n == DateField ? 3 : 4, 0));
    }
    p.fields[0].description = "Artikelnummer";  // longer than the field: a pattern shows its length
    const PreviewPicture picture = buildPreview(p, {.dataSet = 0, .time = {7, 3, 2026, 9, 5, 30}, .posRows = nullptr});
    EXPECT_EQ(rowText(picture, 1), "  1234");
    EXPECT_EQ(picture.at(1, 2).item, CellItem::Field);
    EXPECT_EQ(picture.at(1, 2).itemNumber, 1);
    EXPECT_EQ(rowText(picture, 3), "07.03.26");
    EXPECT_EQ(rowText(picture, 4), "09:05:30");
    EXPECT_EQ(picture.at(4, 7).item, CellItem::Time);
    p.fields[0].description = "Nr";
    EXPECT_EQ(rowText(buildPreview(p, {}), 1), "  Nr__");
}

TEST(PreviewPicture, FieldsOfADateOrTimeTypeShowTheMomentInTheirFormat) {
    const LocalTime moment{7, 3, 2026, 9, 5, 30};
    for (auto [type, length, sample] : {std::tuple{2, 8, "07/03/26"}, {3, 8, "26/03/07"}, {4, 8, "03/07/26"},
                                        {7, 2, "26"}, {8, 10, "09:05:30  "}, {11, 1, "3"}, {1, 4, "9999"}}) {
        FieldDefinition f;
        f.variableType = type;
        f.length = length;
        EXPECT_EQ(fieldSample(1, f, moment), sample) << "type " << type;
    }
}

TEST(PreviewPicture, ProblemsAreMarkedOnTheirCells) {
    Project p = sampleProject();
    FieldDefinition& second = p.fields[1];
    second = p.fields[0];
    second.startAt(cellIndex(1, 4));  // over the last two cells of field 1
    second.length = 2;
    p.dataSets[0].fields[1] = second;
    p.pos.FirstLine = 2;
    p.screenText[5] = "\x83";  // its device code stands for "\xE4"
    PreviewPicture picture = buildPreview(p, {});
    EXPECT_EQ(picture.at(0, 5).character, '\xE4');
    EXPECT_TRUE(picture.at(0, 5).problem);
    EXPECT_TRUE(picture.at(1, 4).problem);
    EXPECT_TRUE(picture.at(1, 2).problem);  // the POS area lies over field 1
    EXPECT_FALSE(picture.at(0, 0).problem);
    const auto posOver = std::count_if(picture.problems.begin(), picture.problems.end(),
                                       [](const SlotMessage& m) { return m.slot == Msg::PosAreaOverItem; });
    EXPECT_EQ(posOver, 2);
    EXPECT_GT(picture.problems.size(), 2u);  // the overlap the project checks report

    p.pos.FirstLine = 0;
    p.fields[1].enabled = 0;
    p.fields[0].startAt(CellCount - 2);  // runs off the screen's end
    picture = buildPreview(p, {});
    EXPECT_TRUE(picture.at(15, 39).problem);
    EXPECT_FALSE(picture.at(1, 2).problem);
}

}  // namespace
}  // namespace vem
