#include <gtest/gtest.h>

#include "model/DeviceImage.h"
#include "settings/PosRules.h"

namespace vem {
namespace {

PosEntry entry(const char* number, int firstLine, int lineCount) {
    PosEntry e = posEntry(PosSettings{});
    e.registerNumber = number;
    e.firstLine = firstLine;
    e.lineCount = lineCount;
    return e;
}

TEST(PosRules, PosStartValuesShowNoFirstLineOrTransparencyAndStoreBackAsZero) {
    const PosEntry e = posEntry(PosSettings{});
    EXPECT_EQ(e.registerNumber, "1");
    EXPECT_EQ(e.firstLine, -1);
    EXPECT_EQ(e.lineCount, 0);
    EXPECT_EQ(e.scrollDirection, 1);
    EXPECT_EQ(e.transparency, -1);
    ASSERT_EQ(checkPosEntry(e), PosVerdict::Accept);
    PosSettings s;
    s.FirstLine = s.Transparency = 5;
    storePosEntry(s, e);
    EXPECT_EQ(s.FirstLine, 0);
    EXPECT_EQ(s.Transparency, 0);
    EXPECT_EQ(s.LineCount, 1);
}

TEST(PosRules, PosValuesOutsideTheirListsShowNoEntryAndStoreAsLow8Bits) {
    PosSettings s;
    s.FirstLine = 17;
    s.ScrollDirection = 2;
    s.TextColour = 8;
    const PosEntry e = posEntry(s);
    EXPECT_EQ(e.firstLine, -1);
    EXPECT_EQ(e.scrollDirection, -1);
    EXPECT_EQ(e.textColour, -1);
    storePosEntry(s, e);
    EXPECT_EQ(s.FirstLine, 0);
    EXPECT_EQ(s.ScrollDirection, 255);
    EXPECT_EQ(s.TextColour, 255);
}

TEST(PosRules, PosAreaMustEndByLine16) {
    EXPECT_EQ(checkPosEntry(entry("1", 9, 6)), PosVerdict::Accept);  // lines 10 to 16
    EXPECT_EQ(checkPosEntry(entry("1", 9, 7)), PosVerdict::LinesBeyond);
    EXPECT_EQ(checkPosEntry(entry("1", -1, 15)), PosVerdict::Accept);
}

TEST(PosRules, PosRegisterNumberOutside0To99KeepsTheDialogOpenSilently) {
    for (const char* ok : {"0", "99", "07"}) EXPECT_EQ(checkPosEntry(entry(ok, 0, 0)), PosVerdict::Accept) << ok;
    // -5 would be stored as 251, a number the check exists to keep out.
    for (const char* bad : {"100", "", "ab", "-5"})
        EXPECT_EQ(checkPosEntry(entry(bad, 0, 0)), PosVerdict::KeepOpen) << bad;
    EXPECT_EQ(checkPosEntry(entry("100", 15, 15)), PosVerdict::KeepOpen);  // no message first
}

TEST(PosRules, PosExtendedButtonNeedsALoadedImageThatDeclaresTheCapability) {
    DeviceImage image;
    image.mainArea[MainAt::PosExtendedCapability] = 1;
    EXPECT_FALSE(image.posExtendedSupported());
    image.imageTemplateLoaded = true;
    EXPECT_TRUE(image.posExtendedSupported());
    image.mainArea[MainAt::PosExtendedCapability] = 2;
    EXPECT_FALSE(image.posExtendedSupported());
}

TEST(PosRules, PosExtendedSwitchingKeywordsCommitsTheShownOne) {
    PosExtendedSettings s;
    int current = 0;
    EXPECT_TRUE(switchKeyword(s, current, 2, "SUMME", 5));
    EXPECT_EQ(current, 2);
    EXPECT_EQ(s.Keyword[0], "SUMME");
    EXPECT_EQ(s.KeywordLength[0], 5);
    EXPECT_EQ(s.KeywordAction[0], 5);

    EXPECT_FALSE(switchKeyword(s, current, 2, "OTHER", 3));  // already current
    EXPECT_EQ(s.Keyword[2], "");

    s.KeywordAction[2] = 4;
    EXPECT_TRUE(switchKeyword(s, current, 9, "", -1));  // no action selected stores 0
    EXPECT_EQ(s.KeywordAction[2], 0);

    EXPECT_FALSE(switchKeyword(s, current, 10, "X", 1));
    EXPECT_EQ(current, 9);
}

TEST(PosRules, PosExtendedStoredActionsWithoutAButtonSelectNoneAndNeverIndexOutside) {
    PosExtendedSettings s;
    s.KeywordAction[1] = 8;
    s.KeywordAction[2] = -1;
    s.KeywordAction[3] = 7;
    EXPECT_EQ(keywordActionPosition(s, 1), -1);
    EXPECT_EQ(keywordActionPosition(s, 2), -1);
    EXPECT_EQ(keywordActionPosition(s, 3), 7);
    EXPECT_EQ(keywordActionPosition(s, 10), -1);
    commitKeyword(s, 10, "X", 1);  // there is no keyword 11: nothing is written
    commitKeyword(s, -1, "X", 1);
}

TEST(PosRules, PosExtendedAcceptStoresEveryControlAndCapsMaxSpaces) {
    PosExtendedSettings s;
    const std::string start28(28, 'S');
    acceptPosExtended(s, {true, start28, true, "END", "25", true}, 4, "TOTAL", 7);
    EXPECT_EQ(s.LimitTo40, 1);
    EXPECT_EQ(s.StartDefinitionLength, 28);
    EXPECT_EQ(s.ShowHeader, 1);
    EXPECT_EQ(s.EndDefinitionLength, 3);
    EXPECT_EQ(s.MaxSpaces, 20);
    EXPECT_EQ(s.SkipMode, 1);
    EXPECT_EQ(s.Keyword[4], "TOTAL");
    EXPECT_EQ(s.KeywordAction[4], 7);

    EXPECT_EQ(readMaxSpaces("0"), 0);
    EXPECT_EQ(readMaxSpaces("ab"), 0);
    EXPECT_EQ(readMaxSpaces("-3"), -3);
    // Only a number that is lowered says the limit.
    EXPECT_EQ(maxSpacesLimit("25"), (SlotMessage{Msg::MaxSpacesAtMost, {"20"}}));
    for (const char* kept : {"20", "0", "ab", "-3"}) EXPECT_FALSE(maxSpacesLimit(kept)) << kept;
}

}  // namespace
}  // namespace vem
