#include <gtest/gtest.h>

#include <utility>

#include "model/CharCodes.h"
#include "model/Project.h"

using namespace vem;

TEST(Project, NewProjectIsEmptyWithTheDeviceDefaults) {
    const Project p;
    for (const auto& t : p.screenText) EXPECT_TRUE(t.empty());
    for (const auto& d : p.dataSets) {
        for (auto tag : d.cellTags) EXPECT_EQ(tag, 0);
        EXPECT_EQ(d.dataSetAvailable, 0);
        for (int n = 1; n <= DataFieldCount; ++n) {
            EXPECT_EQ(d.fields[n - 1].variableType, -1);
            EXPECT_EQ(d.fields[n - 1].conversion, -1);
        }
        EXPECT_EQ(d.fields[DateField - 1].variableType, 0);
    }
    EXPECT_EQ(p.field(DateField).enabled, 0);
    EXPECT_EQ(p.field(DateField).length, 0);
    EXPECT_EQ(p.field(TimeField).variableType, 0);
    EXPECT_EQ(p.device.DeviceBaudIndex, 3);
    EXPECT_EQ(p.device.DataHoldSeconds, 3);
    EXPECT_EQ(p.pos.RegisterNumber, 1);
    EXPECT_EQ(p.pos.ScrollDirection, 1);
    EXPECT_EQ(p.imageFileName, "default.bin");
    EXPECT_EQ(p.projectName, "default.bin");
}

TEST(Project, WorkingCopyStoresAndLoadsDataFieldsOnly) {
    Project p;
    p.field(3).length = 7;
    p.field(3).description = "Summe";
    p.field(DateField).length = 8;
    p.activeDataSet = 2;
    p.storeWorkingFields();
    EXPECT_EQ(p.dataSets[2].fields[2].length, 7);
    EXPECT_EQ(p.dataSets[2].fields[2].description, "Summe");
    EXPECT_EQ(p.dataSets[2].fields[DateField - 1].length, 0);
    // Date and time have no working copy: the editor works on the shared definitions.
    EXPECT_EQ(&p.field(DateField), &p.sharedField(DateField));
    EXPECT_EQ(&std::as_const(p).field(TimeField), &p.dataSets[0].fields[TimeField - 1]);
    EXPECT_EQ(p.sharedField(DateField).length, 8);

    p.field(3).description = "kept";
    p.dataSets[2].fields[2].length = 9;
    p.loadWorkingFields(2, false);
    EXPECT_EQ(p.field(3).length, 9);
    EXPECT_EQ(p.field(3).description, "kept");
    p.loadWorkingFields(2, true);
    EXPECT_EQ(p.field(3).description, "Summe");
}

TEST(CharCodes, AllowedSetIsAsciiPlusGermanLettersEuroAndDegree) {
    for (int c = 0x20; c <= 0x80; ++c) {
        if (c != ',' && c != 0x7F) {
            EXPECT_TRUE(isAllowedCellChar(static_cast<unsigned char>(c))) << c;
        }
    }
    EXPECT_FALSE(isAllowedCellChar(','));
    for (int c : {0xB0, 0xC4, 0xD6, 0xDC, 0xDF, 0xE4, 0xF6, 0xFC}) EXPECT_TRUE(isAllowedCellChar(static_cast<unsigned char>(c)));
    // 0x7F is the Delete key's character, not one the device shows.
    for (int c : {0x00, 0x08, 0x0D, 0x1B, 0x1F, 0x7F, 0x81, 0xA0, 0xE9, 0xC0, 0xFF})
        EXPECT_FALSE(isAllowedCellChar(static_cast<unsigned char>(c))) << c;
}

TEST(CharCodes, DeviceCodesMapBothWaysAndOtherCodesAreTheirOwnCharacter) {
    const std::pair<std::string, int> table[] = {
        {"&&", 38}, {"\xB0", 128}, {"\x80", 130}, {"\xE4", 131}, {"\xC4", 132}, {"\xF6", 133},
        {"\xD6", 134}, {"\xFC", 135}, {"\xDC", 136}, {"\xDF", 137}, {"A", 65}, {"~", 126}};
    for (const auto& [text, code] : table) {
        EXPECT_EQ(deviceCodeForCell(text), code) << text;
        EXPECT_EQ(cellTextForDeviceCode(static_cast<std::uint8_t>(code)), text) << code;
    }
    EXPECT_EQ(cellTextForChar('&'), "&&");
    EXPECT_EQ(deviceCodeForCell(""), ' ');
    EXPECT_EQ(cellTextForDeviceCode(0), "");
    EXPECT_EQ(cellTextForDeviceCode(200), "\xC8");  // any other code is its own character
}
