#include <gtest/gtest.h>

#include "compare/ImageCompare.h"
#include "compare/ImageDiff.h"

namespace vem {
namespace {

DeviceImage sampleImage() {
    DeviceImage image;
    image.mainArea.fill(0xFF);
    image.headerArea[HeaderAt::ProgramDay] = 7;
    image.screenArea.fill(' ');
    return image;
}

TEST(ImageCompare, CountsPerAreaAndLeavesOutOnlyTheProjectNameAndDateWhenAsked) {
    const DeviceImage sent = sampleImage();
    DeviceImage found = sent;
    found.headerArea[HeaderAt::ProgramMinute] = 59;
    found.headerArea[HeaderAt::ProjectName] = 'c';
    found.headerArea[HeaderAt::ProjectName + HeaderAt::ProjectNameMax - 1] = 'z';
    EXPECT_TRUE(compareImages(sent, found, true).empty());
    ASSERT_EQ(compareImages(sent, found, false).size(), 1u);
    EXPECT_EQ(compareImages(sent, found, false)[0].differing, 3u);
    found.headerArea[HeaderAt::ProjectName + HeaderAt::ProjectNameMax] = 1;  // the byte after the name counts
    ASSERT_EQ(compareImages(sent, found, true).size(), 1u);
    found.headerArea[HeaderAt::ProjectName + HeaderAt::ProjectNameMax] = 0;

    found.headerArea[HeaderAt::ProgramMinute + 1] = 1;  // the byte after the date counts
    found.screenArea[639] = 'x';
    found.screenArea[3] = 'y';
    const auto areas = compareImages(sent, found, true);
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_STREQ(areas[0].area, "header");
    EXPECT_EQ(areas[0].firstOffset, HeaderAt::ProgramMinute + 1);
    EXPECT_STREQ(areas[1].area, "screen");
    EXPECT_EQ(areas[1].differing, 2u);
    EXPECT_EQ(areas[1].firstOffset, 3u);
    EXPECT_EQ(areas[1].expected, ' ');
    EXPECT_EQ(areas[1].found, 'y');
}

TEST(ImageDiff, ABytePlacesItsDifferenceInExactlyOneLine) {
    const struct {
        std::size_t at;
        bool header;
        std::uint8_t value;
        const char* group;
        const char* item;
        const char* second;
    } cases[] = {
        {FieldRecordBase + DataSetRecordStride * 2 + FieldRecordSize * 4, false, 9, "data set 3", "field 5 length",
         "9"},
        {FieldRecordBase + 6, false, 0x12, "other bytes", "main area, 1 bytes, first at 0x1C58", "0x12"},
        {HeaderAt::Marker, true, 0x4E, "other bytes", "header area, 1 bytes, first at 0x0040", "0x4E"},
        {HeaderAt::BaudIndex, true, 12, "QV - Schnittstelle", "Baudrate", "12"},
        {HeaderAt::TextColour, true, 2, "POS", "Farbe", "rot"},
        {MainAt::Keywords + MainAt::KeywordStride * 9 + 15, false, 5, "POS Extended", "Aktion 10", "Senden"},
        {MainAt::ForwardBaudDigit, false, '8', "Daten senden", "Baudrate", "57600"},
    };
    const DeviceImage first = sampleImage();
    for (const auto& c : cases) {
        DeviceImage second = first;
        (c.header ? second.headerArea.data() : second.mainArea.data())[c.at] = c.value;
        const auto found = diffImages({first, true}, {second, true});
        ASSERT_EQ(found.size(), 1u) << c.item;
        EXPECT_EQ(found[0].group, c.group);
        EXPECT_EQ(found[0].item, c.item);
        EXPECT_EQ(found[0].second, c.second);
    }
}

TEST(ImageDiff, OnOffValuesAreSaidInTheirWords) {
    const struct {
        std::size_t at;
        const char* item;
        const char* zero;
        const char* one;
    } cases[] = {
        {MainAt::DataSetAvailable + 1, "available", "no", "yes"},
        {MainAt::ForwardEnabled, "Enable", "off", "on"},
    };
    for (const auto& c : cases) {
        DeviceImage first = sampleImage(), second = first;
        first.mainArea[c.at] = 0;
        second.mainArea[c.at] = 1;
        const auto found = diffImages({first, true}, {second, true});
        ASSERT_EQ(found.size(), 1u) << c.item;
        EXPECT_EQ(found[0].item, c.item);
        EXPECT_EQ(found[0].first, c.zero);
        EXPECT_EQ(found[0].second, c.one);
    }
}

TEST(ImageDiff, TheProgrammingDateCountsOnlyWhereBothSidesHoldOne) {
    const DeviceImage built = sampleImage();
    DeviceImage device = built;
    device.headerArea[HeaderAt::ProgramHour] = 9;
    EXPECT_TRUE(diffImages({built, false}, {device, false}).empty());
    // A project's build shows no date, even where its clock gave the same bytes: a note only.
    const auto once = diffImages({built, false}, {built, true});
    ASSERT_EQ(once.size(), 1u);
    EXPECT_EQ(once[0].first, "none");
    EXPECT_EQ(once[0].second, "07.00.00  00:00");
    EXPECT_TRUE(once[0].note);
    const auto dated = diffImages({built, true}, {device, true});
    ASSERT_EQ(dated.size(), 1u);
    EXPECT_EQ(dated[0].second, "07.00.00  09:00");
    EXPECT_FALSE(dated[0].note);
}

TEST(ImageDiff, AnotherProjectNameIsANote) {
    const DeviceImage first = sampleImage();
    DeviceImage second = first;
    second.headerArea[HeaderAt::ProjectName] = 'B';
    const auto found = diffImages({first, true}, {second, true});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].item, "name");
    EXPECT_TRUE(found[0].note);
}

TEST(ImageDiff, ADataSetLimitLeavesTheOtherDataSetsOut) {
    const DeviceImage first = sampleImage();
    DeviceImage second = first;
    second.mainArea[MainAt::DataSetAvailable + 1] = 1;
    second.mainArea[FieldRecordBase + DataSetRecordStride + 0] = 9;  // data set 2, field 1 length
    second.screenArea[41] = '&';
    EXPECT_EQ(diffImages({first, true}, {second, true}).size(), 3u);
    const auto limited = diffImages({first, true}, {second, true}, 0);
    ASSERT_EQ(limited.size(), 1u);
    EXPECT_EQ(limited[0].item, "row 2");
    EXPECT_EQ(limited[0].second, "\" &" + std::string(38, ' ') + "\"");
    EXPECT_EQ(diffImages({first, true}, {second, true}, 1).size(), 3u);
}

}  // namespace
}  // namespace vem
