#include <gtest/gtest.h>

#include <random>

#include "EditorFixture.h"
#include "files/ImageBuild.h"
#include "files/ReadBack.h"

namespace vem::test {
namespace {

// `image` is what the device sends back; the session applies it as the window does.
struct ReadBack : SessionFixture {
    void setRecord(int d, int i, std::vector<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), image.fieldRecord(d, i).bytes);
    }
    void makeAvailable(std::initializer_list<int> flags) {
        int d = 0;
        for (int f : flags) image.mainArea[0x1B30 + d++] = static_cast<std::uint8_t>(f);
    }
    Outcome readBack() { return session.document().applyReadBack(image); }
    void SetUp() override { image.mainArea.fill(0xFF); }
};

TEST_F(ReadBack, AvailabilityChoosesButtonsAndActiveDataSet) {
    makeAvailable({0, 1, 1, 0});
    const Outcome outcome = readBack();
    EXPECT_TRUE(outcome.refreshCaption);
    EXPECT_TRUE(outcome.refreshSettingLabels);
    EXPECT_EQ(controls().dataSetButtonEnabled, (std::array<bool, 4>{false, true, true, false}));
    EXPECT_EQ(held().activeDataSet, 1);
    EXPECT_EQ(held().dataSets[1].dataSetAvailable, 1);
    EXPECT_TRUE(held().writeReadoutOnSave);  // the next save also writes the image read back

    // Nothing available: the active data set stays.
    makeAvailable({0, 0, 0, 0});
    readBack();
    EXPECT_EQ(held().activeDataSet, 1);
    EXPECT_EQ(controls().dataSetButtonEnabled, (std::array<bool, 4>{}));
}

TEST_F(ReadBack, FieldRecordsReplaceTheFieldsAndClearEveryDescription) {
    makeAvailable({1, 1, 0, 0});
    project.dataSets[0].fields[1].variableType = 4;  // kept under type byte 200
    project.dataSets[0].fields[1].enabled = 1;
    for (auto& set : project.dataSets) set.fields[0].description = "alt";
    take();
    EXPECT_EQ(held().field(1).description, "alt");
    setRecord(0, 0, {5, 1, 2, 131, 3, 4, 0, 0});
    setRecord(0, 1, {5, 1, 2, 200, 3, 4, 0, 0});
    setRecord(1, 0, {7, 0, 0, 0x00, 1, 1, 0, 0});
    readBack();

    const FieldDefinition& f = held().dataSets[0].fields[0];
    EXPECT_EQ(std::tie(f.variableType, f.enabled, f.length, f.conversion, f.offset, f.row, f.column),
              std::make_tuple(3, 0, 5, 1, 2, 3, 4));
    const FieldDefinition& g = held().dataSets[0].fields[1];
    EXPECT_EQ(std::tie(g.variableType, g.enabled, g.length, g.conversion, g.offset, g.row, g.column),
              std::make_tuple(4, 1, 0, -1, 0, 0, 0));
    for (const auto& set : held().dataSets) EXPECT_EQ(set.fields[0].description, "");
    EXPECT_EQ(held().field(1).description, "");
    EXPECT_EQ(tagged(1, 1), run(0, 7));  // data set 1, field 1 at row 1, column 1
    EXPECT_TRUE(tagged(0, 1).empty());   // switched off: no cells
}

TEST_F(ReadBack, DateAndTimeFromTheHeaderReachEveryDataSetAndOutOfBoundsOnesAreKept) {
    makeAvailable({1, 0, 1, 0});
    auto& h = image.headerArea;
    h[0x47] = 5;  // date column
    h[0x48] = 2;  // date row
    h[0x49] = 3;  // time column
    h[0x4A] = 0;  // time row: time off
    readBack();
    EXPECT_EQ(held().field(DateField).enabled, 1);
    EXPECT_EQ(held().field(DateField).length, 8);
    EXPECT_EQ(held().field(TimeField).enabled, 0);
    EXPECT_TRUE(controls().fieldBoxTicked[DateField - 1]);
    EXPECT_FALSE(controls().fieldBoxTicked[TimeField - 1]);
    // The date's cells are those of every data set, available or not.
    for (int d = 0; d < 4; ++d) EXPECT_EQ(tagged(d, DateField), run(44, 8)) << d;
    EXPECT_TRUE(tagged(0, TimeField).empty());
    EXPECT_EQ(held().dataSets[2].fields[DateField - 1].column, 5);
    EXPECT_EQ(held().field(DateField).position, 45);

    // Values out of bounds keep the previous ones.
    h[0x47] = 29;
    h[0x48] = 12;
    readBack();
    EXPECT_EQ(held().field(DateField).column, 5);
    EXPECT_EQ(held().field(DateField).row, 2);
}

TEST_F(ReadBack, OnlySwitchedOnDataFieldsGetCellsAndNeverShared) {
    makeAvailable({1, 0, 0, 0});
    image.headerArea[0x47] = 1;
    image.headerArea[0x48] = 1;                  // date on cells 0..7
    setRecord(0, 0, {4, 0, 0, 0x00, 1, 5, 0, 0});  // field 1 on cells 4..7: overlaps the date
    setRecord(0, 1, {6, 0, 0, 0x01, 3, 1, 0, 0});  // "Datenzähler", switched on
    setRecord(0, 2, {6, 0, 0, 0x00, 16, 38, 0, 0});  // runs past cell 639
    setRecord(0, 3, {3, 0, 0, 0x00, 4, 1, 0, 0});  // fine
    setRecord(0, 4, {3, 0, 0, 0x00, 16, 38, 0, 0});  // ends on cell 639
    readBack();
    EXPECT_EQ(tagged(0, DateField), run(0, 8));
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(tagged(0, n).empty());
        EXPECT_EQ(held().field(n).placed, 0);
        EXPECT_EQ(held().field(n).enabled, 1);
    }
    EXPECT_EQ(tagged(0, 4), run(120, 3));
    EXPECT_EQ(held().field(4).placed, 1);
    EXPECT_EQ(held().field(4).position, 121);
    EXPECT_EQ(tagged(0, 5), run(637, 3));
    for (int k = 0; k < CellCount; ++k) EXPECT_EQ(editor().cells()[k].tag, held().dataSets[0].cellTags[k]);
}

TEST_F(ReadBack, SettingsNameAndScreenComeBackWithTheNameCutTo18Characters) {
    auto& h = image.headerArea;
    const std::uint8_t settings[] = {'N', 1, 1, 44, 9, 2, 8, 0, 0, 0, 0, 1,
                                     7, 0, 3, 4, 2, 5, 6, 192, 168, 1, 20, 80, 80};
    std::copy(settings, settings + sizeof settings, h.begin() + 0x40);
    const std::string name = "abcdefghijklmnopqrst";  // 20 characters, no end mark
    std::copy(name.begin(), name.end(), h.begin() + 0x10);
    image.screenArea.fill(' ');
    image.screenArea[0] = 38;
    image.screenArea[1] = 137;
    image.screenArea[2] = 0;
    image.screenArea[3] = 129;
    readBack();
    EXPECT_EQ(held().summerTimeManual, 1);
    EXPECT_FALSE(controls().summerTimeTicked);
    const DeviceSettings& d = held().device;
    EXPECT_EQ(std::tie(d.DeviceHandshake, d.DataHoldSeconds, d.RelayHoldSeconds, d.DeviceDataFormat,
                       d.DeviceBaudIndex, d.IpPort),
              std::make_tuple(1, 44, 9, 2, 8, 8080));
    EXPECT_EQ(d.IpAddress, (std::array<int, 4>{192, 168, 1, 20}));
    const PosSettings& p = held().pos;
    EXPECT_EQ(std::tie(p.RegisterNumber, p.ScrollDirection, p.FirstLine, p.LineCount, p.BackgroundMode,
                       p.Transparency, p.TextColour),
              std::make_tuple(7, 0, 3, 4, 2, 5, 6));
    EXPECT_EQ(held().projectName, "abcdefghijklmnopqr");
    EXPECT_EQ(held().screenText[0], "&&");
    EXPECT_EQ(held().screenText[1], "\xDF");
    EXPECT_EQ(held().screenText[2], "");
    EXPECT_EQ(held().screenText[3], "\x81");
    EXPECT_EQ(held().screenText[4], " ");

    h[0x10 + 19] = 0;
    EXPECT_EQ(headerProjectName(image), "abcdefghijklmnopqrs");
}

// A project built into an image, read back and applied, gives back what the image carries.
TEST_F(ReadBack, BuildThenApplyGivesTheProjectBack) {
    std::mt19937 rng(99);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    static const std::string chars = "AZaz09 .:&\x80\xB0\xC4\xD6\xDC\xDF\xE4\xF6\xFC";
    for (int round = 0; round < 15; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Project source;
        DeviceImage built;
        built.mainArea.fill(0xFF);
        for (int d = 0; d < 4; ++d) built.mainArea[0x1B30 + d] = static_cast<std::uint8_t>(pick(0, 1));
        built.mainArea[0x1B30 + pick(0, 3)] = 1;
        for (auto& cell : source.screenText) {
            const char c = chars[pick(0, static_cast<int>(chars.size()) - 1)];
            cell = c == '&' ? "&&" : std::string(1, c);
        }
        source.summerTimeManual = pick(0, 1);
        source.device = DeviceSettings{.DataHoldSeconds = pick(0, 255), .RelayHoldSeconds = pick(0, 255),
                                       .DeviceHandshake = pick(0, 1), .DeviceDataFormat = pick(0, 2),
                                       .DeviceBaudIndex = pick(0, 9),
                                       .IpAddress = {pick(0, 255), pick(0, 255), pick(0, 255), pick(0, 255)},
                                       .IpPort = pick(0, 9999)};
        source.pos.RegisterNumber = static_cast<std::uint8_t>(pick(0, 99));
        source.pos.TextColour = static_cast<std::uint8_t>(pick(0, 7));
        source.projectName = std::string(static_cast<std::size_t>(pick(0, 18)), 'p');
        // Date on row 1..11, time on the row below, both below column 29.
        const int dateRow = pick(1, 10), dateColumn = pick(1, 28), timeColumn = pick(1, 28);
        source.field(DateField) = {.enabled = 1, .placed = 1, .length = 8, .variableType = 0,
                                   .column = dateColumn, .row = dateRow, .description = {}};
        source.field(TimeField) = {.enabled = pick(0, 1), .placed = 0, .length = 8, .variableType = 0,
                                   .column = timeColumn, .row = dateRow + 1, .description = {}};
        if (source.field(TimeField).enabled == 0) source.field(TimeField).row = 0;
        // Data fields in rows 13..16, one per row slot, so they never meet date or time.
        for (int d = 0; d < 4; ++d) {
            for (int i = 0; i < 16; ++i) {
                FieldDefinition& f = source.dataSets[d].fields[i];
                const int kind = pick(0, 3);
                if (kind == 0) continue;  // not in the image
                f.variableType = kind == 1 ? 0 : pick(0, 11);
                f.enabled = pick(0, 1);
                f.length = pick(1, 10);
                f.row = 13 + i / 4;
                f.column = (i % 4) * 10 + 1;
                built.fieldRecord(d, i).typeCode() = 0;
                built.fieldRecord(d, i).conversion() = static_cast<std::uint8_t>(pick(0, 4));
                built.fieldRecord(d, i).offset() = static_cast<std::uint8_t>(pick(0, 255));
            }
        }
        buildDeviceImage(source, built, LocalTime{1, 2, 2030, 3, 4});

        image = built;  // the read-back
        readBack();

        EXPECT_EQ(held().screenText, source.screenText);
        EXPECT_EQ(held().summerTimeManual, source.summerTimeManual);
        const DeviceSettings &a = held().device, &b = source.device;
        EXPECT_EQ(std::tie(a.DataHoldSeconds, a.RelayHoldSeconds, a.DeviceHandshake, a.DeviceDataFormat,
                           a.DeviceBaudIndex, a.IpAddress, a.IpPort),
                  std::tie(b.DataHoldSeconds, b.RelayHoldSeconds, b.DeviceHandshake, b.DeviceDataFormat,
                           b.DeviceBaudIndex, b.IpAddress, b.IpPort));
        EXPECT_EQ(held().pos.RegisterNumber, source.pos.RegisterNumber);
        EXPECT_EQ(held().pos.TextColour, source.pos.TextColour);
        EXPECT_EQ(held().projectName, source.projectName);
        for (int n : {DateField, TimeField}) {
            EXPECT_EQ(held().field(n).enabled, source.field(n).enabled);
            EXPECT_EQ(held().field(n).column, source.field(n).column);
            EXPECT_EQ(held().field(n).row, source.field(n).row);
        }
        for (int d = 0; d < 4; ++d) {
            SCOPED_TRACE("data set " + std::to_string(d));
            const bool available = built.mainArea[0x1B30 + d] == 1;
            EXPECT_EQ(held().dataSets[d].dataSetAvailable == 1, available);
            for (int i = 0; i < 16; ++i) {
                const FieldDefinition& f = held().dataSets[d].fields[i];
                const FieldDefinition& s = source.dataSets[d].fields[i];
                EXPECT_EQ(std::tie(f.variableType, f.enabled, f.length, f.row, f.column),
                          std::tie(s.variableType, s.enabled, s.length, s.row, s.column));
                const bool getsCells = available && s.enabled == 1 && s.variableType == 0;
                const int first = (s.row - 1) * 40 + s.column - 1;
                EXPECT_EQ(tagged(d, i + 1), getsCells ? run(first, s.length) : std::vector<int>{});
            }
            // Date cells in every data set, available or not.
            EXPECT_EQ(tagged(d, DateField), run((dateRow - 1) * 40 + dateColumn - 1, 8));
        }
    }
}

}  // namespace
}  // namespace vem::test
