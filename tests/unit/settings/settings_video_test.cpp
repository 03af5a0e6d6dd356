#include <gtest/gtest.h>

#include "settings/VideoRules.h"

namespace vem {
namespace {

VideoValues typed(std::string b, std::string c, std::string chroma, std::string luma) {
    VideoValues v;
    v.texts = {std::move(b), std::move(c), std::move(chroma), std::move(luma)};
    return v;
}

TEST(VideoRules, ValidationTakesBothEndsOfEveryRangeAndRefusesTheRest) {
    struct Case {
        VideoValues values;
        bool accepted;
    };
    const Case cases[] = {
        {typed("0", "0", "0", "0"), true}, {typed("255", "255", "3750", "4096"), true},
        {typed("256", "128", "750", "1630"), false}, {typed("128", "256", "750", "1630"), false},
        {typed("128", "128", "3751", "1630"), false}, {typed("128", "128", "750", "4097"), false},
        {typed("-1", "128", "750", "1630"), false}, {typed("128", "-1", "750", "1630"), false},
        {typed("128", "128", "-1", "1630"), false}, {typed("128", "128", "750", "-1"), false},
        {typed("", "128", "750", "1630"), false}, {typed("128", "x", "750", "1630"), false},
        {typed("128", "128", "7a", "1630"), false}, {typed("128", "128", "750", " "), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values.texts[0] + "/" + c.values.texts[1] + "/" + c.values.texts[2] + "/" +
                     c.values.texts[3]);
        EXPECT_EQ(videoValuesAcceptable(c.values), c.accepted);
    }
}

TEST(VideoRules, SpinButtonsStepWithinEachRangeAndStopAtItsEnds) {
    struct Case {
        VideoEdit edit;
        const char* text;
        bool up;
        const char* result;  // nullptr: nothing written
    };
    const Case cases[] = {
        {VideoEdit::Brightness, "253", true, "255"}, {VideoEdit::Brightness, "255", true, nullptr},
        {VideoEdit::Brightness, "0", true, "5"}, {VideoEdit::Brightness, "-1", true, nullptr},
        {VideoEdit::Brightness, "3", false, "0"}, {VideoEdit::Brightness, "0", false, nullptr},
        {VideoEdit::Brightness, "256", false, nullptr}, {VideoEdit::Contrast, "252", true, "255"},
        {VideoEdit::Contrast, "255", true, nullptr}, {VideoEdit::Contrast, "4", false, "0"},
        {VideoEdit::Contrast, "256", false, nullptr}, {VideoEdit::Chroma, "3740", true, "3750"},
        {VideoEdit::Chroma, "3750", true, "3750"}, {VideoEdit::Chroma, "3751", true, nullptr},
        {VideoEdit::Chroma, "10", false, "0"}, {VideoEdit::Chroma, "0", false, nullptr},
        {VideoEdit::Chroma, "3751", false, nullptr}, {VideoEdit::Luma, "4090", true, "4096"},
        {VideoEdit::Luma, "4096", true, "4096"}, {VideoEdit::Luma, "4097", true, nullptr},
        {VideoEdit::Luma, "1630", false, "1610"}, {VideoEdit::Luma, "4097", false, nullptr},
        {VideoEdit::Luma, "007", false, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.up ? " up" : " down") + " edit " +
                     std::to_string(static_cast<int>(c.edit)));
        const VideoStep s = stepVideoValue(c.edit, c.text, c.up);
        EXPECT_TRUE(s.readable);
        EXPECT_EQ(s.written, c.result != nullptr);
        if (c.result) {
            EXPECT_EQ(s.text, c.result);
        }
    }
    for (const char* bad : {"", "12x"}) {
        const VideoStep s = stepVideoValue(VideoEdit::Chroma, bad, true);
        EXPECT_FALSE(s.readable || s.written) << bad;
    }
}

TEST(VideoRules, BlockCarriesChromaAndLumaBigEndianAndTheSwitchesAsFlags) {
    VideoValues v = typed("255", "7", "3750", "4096");
    v.videoOff = true;
    v.testPicture = false;
    v.colourOn = false;
    v.autoColour = true;
    v.autoPll = true;
    EXPECT_EQ(videoSettingsBlock(v), (VideoBlock{255, 7, 0x0E, 0xA6, 0x10, 0x00, 1, 0, 0, 1, 1}));

    // Reading at send time: an unreadable text is 0, a number only its low bytes.
    EXPECT_EQ(videoSettingsBlock(typed("x", "300", "", "65537")),
              (VideoBlock{0, 44, 0, 0, 0, 1, 0, 0, 1, 1, 0}));
}

TEST(VideoRules, ResetRestoresTheStartValuesButKeepsThePllSwitch) {
    for (bool pll : {false, true}) {
        VideoValues v = typed("1", "2", "3", "4");
        v.videoOff = v.testPicture = true;
        v.colourOn = v.autoColour = false;
        v.autoPll = pll;
        resetVideoValues(v);
        EXPECT_EQ(videoSettingsBlock(v),
                  (VideoBlock{128, 128, 2, 238, 6, 94, 0, 0, 1, 1, static_cast<std::uint8_t>(pll)}));
        EXPECT_TRUE(videoValuesAcceptable(v));
    }
    EXPECT_EQ(videoSettingsBlock(VideoValues{}), (VideoBlock{128, 128, 2, 238, 6, 94, 0, 0, 1, 1, 0}));
}

}  // namespace
}  // namespace vem
