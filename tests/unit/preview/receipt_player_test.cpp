#include <gtest/gtest.h>

#include "preview/ReceiptPlayer.h"
#include "preview/ReceiptText.h"

namespace vem {
namespace {

std::vector<std::string> played(const PosExtendedSettings& rules, const std::vector<std::string>& lines) {
    ReceiptPlayer player(rules);
    for (const std::string& line : lines) player.feed(line);
    std::vector<std::string> rows;
    for (const PosLine& row : player.rows()) rows.push_back(row.text);
    return rows;
}

using Rows = std::vector<std::string>;

TEST(ReceiptPlayer, OutputRunsFromTheStartToTheEndDefinition) {
    const Rows receipt{"noise", "*** BON ***", "Brot", "SUMME 3,50", "after", "*** BON ***", "Milch"};
    struct Case { std::string start, end; int header; Rows rows; };
    for (const Case& c : {Case{"", "", 0, receipt},
                          Case{"BON", "SUMME", 0, {"Milch"}},
                          Case{"BON", "SUMME", 1, {"*** BON ***", "Milch"}},
                          Case{"BON", "", 0, {"Milch"}},
                          Case{"", "SUMME", 0, receipt},
                          Case{"KASSE", "", 1, {}}}) {
        PosExtendedSettings rules;
        rules.StartDefinition = c.start;
        rules.EndDefinition = c.end;
        rules.ShowHeader = c.header;
        EXPECT_EQ(played(rules, receipt), c.rows) << c.start << " / " << c.end << " header " << c.header;
    }
    PosExtendedSettings rules;
    rules.StartDefinition = "BON";
    rules.EndDefinition = "SUMME";
    EXPECT_EQ(played(rules, {"*** BON ***", "Brot", "SUMME 3,50", "after"}), (Rows{"Brot", "SUMME 3,50"}));
}

TEST(ReceiptPlayer, SpacesAboveTheMaximumAreCutOrSkipped) {
    struct Case { int max; bool skip; std::string out; };
    for (const Case& c : {Case{0, false, "a     b  c"}, Case{2, false, "a  b  c"}, Case{2, true, "ab  c"},
                          Case{5, true, "a     b  c"}, Case{1, true, "abc"}}) {
        EXPECT_EQ(limitSpaces("a     b  c", c.max, c.skip), c.out) << c.max << (c.skip ? " skip" : " max");
    }
}

TEST(ReceiptPlayer, LongLinesAreCutAtFortyOrGoOnInTheNextRow) {
    const std::string line(45, 'x');
    PosExtendedSettings rules;
    EXPECT_EQ(played(rules, {line}), (Rows{std::string(40, 'x'), "xxxxx"}));
    rules.LimitTo40 = 1;
    EXPECT_EQ(played(rules, {line}), (Rows{std::string(40, 'x')}));
}

TEST(ReceiptPlayer, EachKeywordActionActsOnItsLine) {
    for (int action = 0; action <= 7; ++action) {
        PosExtendedSettings rules;
        rules.Keyword[2] = "Storno";
        rules.KeywordAction[2] = action;
        ReceiptPlayer player(rules);
        player.feed("plain");
        player.feed("Storno k\xFC" "che a-z");
        const PosLine& row = player.rows().back();
        const std::optional<DeviceColour> colours[] = {std::nullopt, DeviceColour::Red, DeviceColour::Yellow,
                                                        DeviceColour::Black, DeviceColour::White};
        EXPECT_EQ(row.colour, action <= 4 ? colours[action] : std::nullopt) << "action " << action;
        EXPECT_EQ(player.rows().front().colour, std::nullopt);
        EXPECT_EQ(row.text, action == 6 ? "STORNO K\xDC" "CHE A-Z" : "Storno k\xFC" "che a-z") << "action " << action;
        const bool event = action == 5 || action == 7;
        ASSERT_EQ(player.events().size(), event ? 1u : 0u) << "action " << action;
        if (event) {
            EXPECT_EQ(player.events()[0].line, 2);
            EXPECT_EQ(player.events()[0].keyword, 3);
        }
    }
}

TEST(ReceiptText, BadReceiptsAreRefusedOrNamedWhatWasChanged) {
    const auto bytes = [](std::string_view s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    ReceiptText text = receiptFromBytes(bytes("Brot\r\nMilch\nK\xE4se\rEnde"), "r.txt");
    EXPECT_EQ(text.lines, (Rows{"Brot", "Milch", "K\xE4se", "Ende"}));
    EXPECT_TRUE(text.notes.empty());

    text = receiptFromBytes(bytes("K\xC3\xA4se 3 \xE2\x82\xAC \xE2\x98\x83\n"), "r.txt");
    EXPECT_EQ(text.lines, (Rows{"K\xE4se 3 \x80 ?"}));
    ASSERT_EQ(text.notes.size(), 1u);
    EXPECT_EQ(text.notes[0].slot, Msg::ReceiptWasUtf8);

    EXPECT_EQ(receiptFromBytes(bytes(std::string("PK\x03\x04\0\0", 6)), "r.zip").refusal.slot, Msg::ReceiptNotText);

    text = receiptFromBytes(bytes(std::string(3 * ReceiptLineLength, 'x')), "r.txt");
    ASSERT_EQ(text.lines.size(), 1u);
    EXPECT_EQ(text.lines[0].size(), ReceiptLineLength);
    EXPECT_EQ(text.notes.at(0).slot, Msg::ReceiptLinesCut);
}

}  // namespace
}  // namespace vem
