#include <gtest/gtest.h>

#include "SampleData.h"

#include <sys/stat.h>

#include <functional>
#include <sstream>

#include "EnglishTexts.h"
#include "FilesFixture.h"
#include "editor/ScreenPicture.h"
#include "files/ProjectCheck.h"

namespace vem::test {
namespace {

const std::filesystem::path DataFolder = test::SampleDataFolder;

using Lines = std::vector<std::string>;

// The sample project's lines, and a check of them beside a copy of the sample template.
struct ProjectCheck : InFreshFolder<::testing::Test> {
    Lines lines;

    void SetUp() override {
        InFreshFolder::SetUp();
        std::filesystem::copy_file(DataFolder / "default.bin", folder / "default.bin");
        std::istringstream in(readFile(DataFolder / "default.qor"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
    std::vector<std::string> check() {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        writeFile("project.qor", text);
        return inEnglish(checkProjectFile("project.qor"));
    }
    // Item `item` (from 0) of file line `line` (from 1) becomes `value`.
    void setItem(int line, int item, const std::string& value) {
        std::string& text = lines[line - 1];
        std::size_t start = 0;
        for (int i = 0; i < item; ++i) {
            start = text.find(',', start);
            ASSERT_NE(start, std::string::npos);
            ++start;
        }
        text.replace(start, text.find(',', start) - start, value);
    }
};

std::string listed(const std::vector<std::string>& problems) {
    std::string s;
    for (const std::string& p : problems) s += "  " + p + "\n";
    return s;
}

TEST_F(ProjectCheck, TheSampleHasNoProblem) { EXPECT_EQ(listed(check()), ""); }

TEST_F(ProjectCheck, EachFaultIsNamed) {
    // Data set 1's block starts at line 22, data set 2's at 47, data set 3's at 72; within a block
    // +0 enabled, +2 length, +6 column, +7 row, +8 position; fields 17, 18 are items 16, 17.
    const struct {
        const char* expected;
        std::function<void(ProjectCheck&)> change;
        const char* alsoExpected = nullptr;
    } cases[] = {
        {"the project file has 161 lines, 162 expected", [](ProjectCheck& t) { t.lines.pop_back(); }},
        {"data set 2: field 1 (row 16, column 30, length 24) runs off the screen",
         [](ProjectCheck& t) {
             t.setItem(55, 0, "630");
             t.setItem(54, 0, "16");
             t.setItem(53, 0, "30");
         }},
        {"data set 1: field 3 has position 0, off the screen",
         [](ProjectCheck& t) { t.setItem(30, 2, "0"); }},
        {"data set 1: field 2: row 4, column 11 do not match its position 130 (row 4, column 10)",
         [](ProjectCheck& t) { t.setItem(28, 1, "11"); }},
        {"data set 1: field 1 and field 3 both claim row 3, column 20",
         [](ProjectCheck& t) {
             t.setItem(30, 2, "100");
             t.setItem(29, 2, "3");
             t.setItem(28, 2, "20");
         }},
        {"data set 2: field 2 and date both claim row 1, column 24",
         [](ProjectCheck& t) {
             t.setItem(55, 1, "20");
             t.setItem(54, 1, "1");
             t.setItem(53, 1, "20");
         }},
        {"date and time both claim row 2, column 24", [](ProjectCheck& t) { t.setItem(24, 16, "45"); }},
        {"data set 3: the cells marked as date differ from its own (row 1, column 24, length 8)",
         [](ProjectCheck& t) { t.setItem(20, 23, "0"); }},
        {"data set 1: the cells marked as field 1 differ from its own (row 3, column 10, length 20)",
         [](ProjectCheck& t) { t.setItem(18, 89, "0"); }},
        {"data set 1: 1 cell(s) marked with a number that names no field, the first at row 1, column 1 (25)",
         [](ProjectCheck& t) { t.setItem(18, 0, "25"); }},
        {"data set 1: field 1: length 21 is above the template's limit of 20",
         [](ProjectCheck& t) { t.setItem(24, 0, "21"); },
         "data set 1: the cells marked as field 1 differ from its own (row 3, column 10, length 21)"},
        {"data set 2: field 3: length 256 is outside 0..255",
         [](ProjectCheck& t) { t.setItem(49, 2, "256"); }},
        {"time: length -1 is outside 0..255", [](ProjectCheck& t) { t.setItem(24, 17, "-1"); }},
        {"data set 1: field 10 is switched on, but the template has no such field",
         [](ProjectCheck& t) { t.setItem(22, 9, "1"); }},
        {"row 6, column 1: the device cannot show character 0x82",
         [](ProjectCheck& t) { t.setItem(7, 0, "\x82"); }},
        {"row 16, column 40: the device cannot show character 0x09",
         [](ProjectCheck& t) { t.setItem(17, 39, "\t"); }},
        {"summer time switch is 2, not 0 or 1", [](ProjectCheck& t) { t.lines[121] = "2"; }},
        {"data hold time is 300, outside 0..255", [](ProjectCheck& t) { t.lines[122] = "300"; }},
        {"relay hold time is -1, outside 0..255", [](ProjectCheck& t) { t.lines[123] = "-1"; }},
        {"serial line: handshake index is 2, outside 0..1", [](ProjectCheck& t) { t.lines[124] = "2"; }},
        {"serial line: data format index is -1, outside 0..4", [](ProjectCheck& t) { t.lines[125] = "-1"; }},
        {"serial line: baud rate index is 10, outside 0..9", [](ProjectCheck& t) { t.lines[126] = "10"; }},
        {"IP address: octet 3 is 300, outside 0..255", [](ProjectCheck& t) { t.lines[127] = "10.0.300.1"; }},
        {"IP port is 25600, outside 0..25599", [](ProjectCheck& t) { t.lines[128] = "25600"; }},
        {"POS: register number is 300, more than one byte holds (the device gets 44)",
         [](ProjectCheck& t) { t.lines[131] = "300"; }},
        {"POS: register number is 100, outside 0..99", [](ProjectCheck& t) { t.lines[131] = "100"; }},
        {"POS: first line 10 with 8 lines reaches beyond line 16",
         [](ProjectCheck& t) { t.lines[132] = "10";
             t.lines[133] = "8"; }},
        {"POS: line count is 0, outside 1..16", [](ProjectCheck& t) { t.lines[133] = "0"; }},
        {"POS: transparency is 8, outside 0..7", [](ProjectCheck& t) { t.lines[136] = "8"; }},
        {"data forwarding: baud digit is 0, outside 48..57", [](ProjectCheck& t) { t.lines[138] = "1"; }},
        {"data forwarding: code after the field is 256, outside 0..255",
         [](ProjectCheck& t) { t.lines[141] = "256"; }},
        {"POS extended: start definition: length 5 differs from its text (0 characters)",
         [](ProjectCheck& t) { t.lines[143] = "5"; }},
        {"POS extended: keyword 2 has 15 characters, at most 14 fit",
         [](ProjectCheck& t) { t.lines[150] = "ABCDEFGHIJKLMNO", t.setItem(149, 1, "15"); }},
        {"POS extended: keyword 3 action is 8, outside 0..7",
         [](ProjectCheck& t) { t.setItem(160, 2, "8"); }},
        {"POS extended: most spaces is 21, outside 0..20", [](ProjectCheck& t) { t.lines[160] = "21"; }},
    };
    const Lines sample = lines;
    for (const auto& c : cases) {
        lines = sample;
        c.change(*this);
        const auto problems = check();
        std::vector<std::string> expected{c.expected};
        if (c.alsoExpected) expected.push_back(c.alsoExpected);
        EXPECT_EQ(listed(problems), listed(expected));
    }
}

TEST_F(ProjectCheck, WhatTheProgramAndTheDeviceTakeIsNoProblem) {
    const std::function<void(ProjectCheck&)> cases[] = {
        // A data set's own copy of the date, agreeing with the shared one (as a read-back leaves
        // it) or not (as the editor leaves it once the date changes): nothing reads it.
        [](ProjectCheck& t) {
            t.setItem(47, 16, "1");
            t.setItem(49, 16, "8");
            t.setItem(53, 16, "24");
            t.setItem(54, 16, "1");
        },
        [](ProjectCheck& t) {
            t.setItem(72, 16, "1");
            t.setItem(74, 16, "6");
            t.setItem(78, 16, "24");
        },
        // Tags left behind by field 4, which is switched off.
        [](ProjectCheck& t) { t.setItem(18, 600, "4"); },
        // A field running on from the end of one row onto the next.
        [](ProjectCheck& t) {
            t.setItem(30, 2, "236");
            t.setItem(29, 2, "6");
            t.setItem(28, 2, "36");
            for (int k = 0; k < 10; ++k) {
                t.setItem(18, 169 + k, "0");
                t.setItem(18, 235 + k, "3");
            }
        },
        [](ProjectCheck& t) { t.setItem(7, 0, "&"); },
        [](ProjectCheck& t) { t.lines[128] = "25599"; },
        [](ProjectCheck& t) {
            t.lines[132] = "10";
            t.lines[133] = "7";
        },
    };
    const Lines sample = lines;
    for (const auto& change : cases) {
        lines = sample;
        change(*this);
        EXPECT_EQ(listed(check()), "");
    }
}

TEST_F(ProjectCheck, TemplateFaultsAreNamedAndTheRestIsStillChecked) {
    const std::string here = folder.string() + "/";
    const struct {
        std::string firstLine;
        std::string expected;
    } cases[] = {
        {"", "line 1 names no image template"},
        {"missing.bin", "the image template " + here + "missing.bin: does not exist"},
        {"short.bin", "the image template " + here + "short.bin: has 16511 bytes, 16512 expected"},
        {"fifo.bin", "the image template " + here + "fifo.bin: is a FIFO"},
    };
    writeFile("short.bin", std::string(ImageFileSize - 1, '\0'));
    ASSERT_EQ(::mkfifo("fifo.bin", 0600), 0);  // nothing ever writes to it: reading it would wait for good
    lines[122] = "300";
    for (const auto& c : cases) {
        lines[0] = c.firstLine;
        EXPECT_EQ(check(), (std::vector<std::string>{c.expected, "data hold time is 300, outside 0..255"}));
    }
}

TEST_F(ProjectCheck, AFileThatIsNoProjectIsNamedSo) {
    const struct {
        std::function<void(ProjectCheck&)> change;
        std::vector<std::string> expected;
    } cases[] = {
        {[](ProjectCheck& t) { t.lines.resize(50); }, {"the project file has 50 lines, 162 expected"}},
        {[](ProjectCheck& t) { t.lines.clear(); },
         {"the project file has 0 lines, 162 expected", "line 1 names no image template"}},
        {[](ProjectCheck& t) { t.lines[2][3] = '\0'; }, {"the project file holds binary content (a zero byte on line 3)"}},
        {[](ProjectCheck& t) { t.lines[0] = "default.bin\x1B"; }, {"line 1 holds control characters, no image file name"}},
    };
    const Lines sample = lines;
    for (const auto& c : cases) {
        lines = sample;
        c.change(*this);
        const auto problems = check();
        ASSERT_GE(problems.size(), c.expected.size());
        EXPECT_EQ(std::vector<std::string>(problems.begin(), problems.begin() + c.expected.size()), c.expected);
    }
}

TEST_F(ProjectCheck, AProjectThatCannotBeReadIsNamedWithWhatItIs) {
    ASSERT_EQ(::mkfifo("fifo.qor", 0600), 0);
    EXPECT_EQ(inEnglish(checkProjectFile("none.qor")), std::vector<std::string>{"the project file none.qor: does not exist"});
    EXPECT_EQ(inEnglish(checkProjectFile("fifo.qor")), std::vector<std::string>{"the project file fifo.qor: is a FIFO"});
}

Lines pictureLines(const std::string& picture) {
    Lines out;
    std::istringstream in(picture);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(ScreenPicture, ShowsTextFieldMarkersAndTheLegendInAFrame) {
    Project p;
    p.screenText[cellIndex(1, 0)] = "&&";
    p.screenText[cellIndex(1, 1)] = "\x01";
    p.screenText[cellIndex(1, 5)] = "\xE4";
    p.screenText[cellIndex(1, 6)] = "x";  // owned by field 12 below
    FieldDefinition& f = p.dataSets[2].fields[11];
    f.enabled = f.placed = 1;
    f.length = 3;
    f.description = "Preis";
    f.startAt(cellIndex(1, 6));
    for (int k = 0; k < 3; ++k) p.dataSets[2].cellTags[cellIndex(1, 6) + k] = 12;
    FieldDefinition& date = p.dataSets[0].fields[DateField - 1];
    date.enabled = date.placed = 1;
    date.length = 8;
    date.startAt(cellIndex(15, 32));
    for (int k = 0; k < 8; ++k) p.dataSets[2].cellTags[cellIndex(15, 32) + k] = DateField;

    const Lines lines = pictureLines(screenPicture(p, 2));
    ASSERT_EQ(lines.size(), 2u + 1 + 16 + 1 + 2);
    EXPECT_EQ(lines[0], "              1         2         3         4");
    EXPECT_EQ(lines[1], "     1234567890123456789012345678901234567890");
    EXPECT_EQ(lines[2], "    +" + std::string(40, '-') + "+");
    EXPECT_EQ(lines[4],
              "  2 |&.   \xE4"
              "CCC" +
                  std::string(31, ' ') + "|");
    EXPECT_EQ(lines[18], " 16 |" + std::string(32, ' ') + "dddddddd|");
    EXPECT_EQ(lines[19], lines[2]);
    for (int r = 3; r < 19; ++r) EXPECT_EQ(lines[r].size(), 4u + 1 + 40 + 1) << r;
    EXPECT_EQ(lines[20], "    C  field 12: row 2, column 7, length 3  \"Preis\"");
    EXPECT_EQ(lines[21], "    d  date: row 16, column 33, length 8");
    // Another data set without the field's cells shows the text and no legend for it.
    EXPECT_EQ(pictureLines(screenPicture(p, 0)).size(), 20u);
}

}  // namespace
}  // namespace vem::test
