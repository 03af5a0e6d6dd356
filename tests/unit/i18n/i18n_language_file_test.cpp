#include <gtest/gtest.h>

#include "SampleData.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "i18n/LanguageFile.h"
#include "session/Session.h"

namespace vem {
namespace {

const std::filesystem::path DataFolder = test::SampleDataFolder;

// A file with `counts` per section; each text line is "|<section>.<entry>|".
std::string fileWith(const std::vector<int>& counts, const std::string& eol = "\r\n") {
    std::string s = "header" + eol;
    for (std::size_t sec = 0; sec < counts.size(); ++sec) {
        if (sec > 0) s += "--" + eol;
        s += std::to_string(counts[sec]) + eol;
        for (int i = 0; i < counts[sec]; ++i) s += "|" + std::to_string(sec) + "." + std::to_string(i) + "|" + eol;
    }
    return s;
}

std::vector<std::size_t> sizes(const LanguageFile& f) {
    std::vector<std::size_t> n;
    for (const auto& s : f.sections) n.push_back(s.size());
    return n;
}

TEST(LanguageFile, CountLineReadsItsLeadingNumberAndNeverWraps) {
    const struct { const char* line; long count; } cases[] = {
        {"12", 12}, {"  7", 7}, {"+3", 3}, {"5 Zeilen", 5}, {"", 0}, {"abc", 0}, {"-4", 0}, {"109", 109},
    };
    for (const auto& c : cases) EXPECT_EQ(languageCount(c.line), c.count) << '"' << c.line << '"';
    EXPECT_GT(languageCount("99999999999999999999999"), 1000000);  // huge, never wrapped
}

TEST(LanguageFile, TextLineLosesItsFramingIsCutToLengthAndKeepsTheNextInStep) {
    const struct { std::string line; std::string text; } cases[] = {
        {"|Setup|\r\n", "Setup"},
        {"||\r\n", ""},                               // three characters: empty text
        {"|\r\n", ""},                                // too short for its framing: empty
        {"\r\n", ""},
        {"|Setup|\n", "Setup"},                        // LF only: only the framing goes
        {"\"Datei \xD6""ffnen\"\r\n", "Datei \xD6""ffnen"},  // bytes as they are
        {"|" + std::string(200, 'x') + "|\r\n", std::string(LanguageTextLength, 'x')},
    };
    for (const auto& c : cases) {
        const LanguageFile f = parseLanguageFile("h\r\n1\r\n" + c.line + "--\r\n1\r\n|next|\r\n");
        ASSERT_EQ(f.sections[0].size(), 1u) << c.line;
        EXPECT_EQ(f.sections[0][0], c.text) << c.line;
        // The line after it stays in step, however long or short the line was.
        ASSERT_EQ(f.sections[1].size(), 1u) << c.line;
        EXPECT_EQ(f.sections[1][0], "next");
    }
}

TEST(LanguageFile, SectionsTakeTheLinesTheirCountsSayEvenFromATruncatedFile) {
    std::vector<int> all(LanguageSectionCount, 2);
    const std::string full = fileWith(all);
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::size_t> sizes;
    } cases[] = {
        {"one entry in section 1", fileWith({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"all sections", full, std::vector<std::size_t>(LanguageSectionCount, 2)},
        {"header of only CR LF", "\r\n" + full.substr(full.find('\n') + 1),
         std::vector<std::size_t>(LanguageSectionCount, 2)},
        {"LF only", fileWith(all, "\n"), std::vector<std::size_t>(LanguageSectionCount, 2)},
        {"ends inside section 3", full.substr(0, full.find("|2.1|")),
         {2, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"ends after a count", "h\r\n3\r\n", std::vector<std::size_t>(LanguageSectionCount, 0)},
        {"count larger than its section", "h\r\n5\r\n|a|\r\n|b|\r\n--\r\n1\r\n|c|\r\n",
         {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"empty", "", std::vector<std::size_t>(LanguageSectionCount, 0)},
        {"last line without LF", "h\r\n1\r\n|a|", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const LanguageFile f = parseLanguageFile(c.bytes);
        EXPECT_EQ(sizes(f), c.sizes) << c.name;
    }
    const LanguageFile f = parseLanguageFile(full);
    EXPECT_EQ(f.sections[15][1], "15.1");
    EXPECT_EQ(parseLanguageFile(fileWith(all, "\n")).sections[4][0], "4.0");
    // Lines the count takes from the next section are its texts, the rest is lost.
    const LanguageFile greedy = parseLanguageFile("h\r\n5\r\n|a|\r\n|b|\r\n--\r\n1\r\n|c|\r\n");
    EXPECT_EQ(greedy.sections[0][2], "");  // the separator "--"
    EXPECT_EQ(greedy.sections[0][4], "c");
}

TEST(LanguageFile, MessagesFillTheirSlotsInOrderAndAShortSectionKeepsTheBuiltInTexts) {
    std::vector<int> counts(LanguageSectionCount, 0);
    counts[1] = 400;  // far more lines than slots
    counts[8] = counts[10] = counts[12] = counts[14] = 3;
    MessageTable messages;
    DialogMessages dialogs;
    const int slots = messages.slotCount();
    applyLanguageMessages(parseLanguageFile(fileWith(counts)), messages, dialogs);
    EXPECT_EQ(messages.slotCount(), slots);
    EXPECT_EQ(messages.text(0), "1.0");
    EXPECT_EQ(messages.text(25), "1.25");
    EXPECT_EQ(messages.text(Msg::PortCannotOpen), "1.31");  // added slots come from further lines
    EXPECT_EQ(messages.text(slots - 1), "1." + std::to_string(slots - 1));
    EXPECT_EQ(dialogs.text(DialogId::IpAddress), "8.0");
    EXPECT_EQ(dialogs.text(DialogId::Pos), "10.0");
    EXPECT_EQ(dialogs.text(DialogId::Video), "12.0");
    EXPECT_EQ(dialogs.text(DialogId::DataSend), "14.0");

    // A short section keeps the built-in texts of the added slots.
    MessageTable builtIn;
    counts[1] = 26;
    applyLanguageMessages(parseLanguageFile(fileWith(counts)), builtIn, dialogs);
    EXPECT_EQ(builtIn.text(Msg::PortCannotOpen), MessageTable().text(Msg::PortCannotOpen));
    EXPECT_FALSE(builtIn.text(Msg::PortCannotOpen).empty());
}

// The code names a translation file: anything but a plain language tag must name none.
TEST(LanguageFile, LanguageCodeIsAPlainTagOrNothing) {
    const struct {
        const char* slot;
        const char* code;
    } cases[] = {
        {"de", "de"}, {"en", "en"}, {"pt_BR", "pt_BR"}, {"zh_Hant", "zh_Hant"}, {"es_419", "es_419"},
        {"Az_Z09", "Az_Z09"}, {"", ""}, {"d", ""}, {"deut", ""}, {"de_", ""}, {"de_B", ""}, {"de_Latin", ""},
        {"_de", ""}, {"de-DE", ""}, {"de ", ""}, {"../de", ""}, {"de/x", ""}, {"d\xE4", ""}, {"de_D_E", ""},
        {"@a", ""}, {"a[", ""}, {"`a", ""}, {"a{", ""}, {"de_/1", ""}, {"de_1:", ""}, {"d1", ""},
    };
    LanguageFile file;
    auto& slots = file.sections[static_cast<int>(LanguageSection::MainMessages)];
    EXPECT_EQ(languageCode(file), "") << "a file without the slot";
    slots.resize(Msg::LanguageCode + 1);
    for (const auto& c : cases) {
        slots[Msg::LanguageCode] = c.slot;
        EXPECT_EQ(languageCode(file), c.code) << '"' << c.slot << '"';
    }
    for (const auto& [name, code] : {std::pair{"language.txt", "de"}, std::pair{"language-en.txt", "en"}}) {
        const auto shipped = readLanguageFile((DataFolder / name).string());
        ASSERT_TRUE(shipped) << name;
        EXPECT_EQ(languageCode(*shipped), code) << name;
    }
}

TEST(MessageTexts, PlaceholdersAreFilledInOnePassAndNeverFromAValue) {
    const struct {
        const char* text;
        std::vector<std::string> values;
        const char* filled;
    } cases[] = {
        {"Port %1, step %3 of %2", {"/dev/a", "268", "40"}, "Port /dev/a, step 40 of 268"},
        {"%1 and %2", {"/dev/x%2%1", "b"}, "/dev/x%2%1 and b"},
        {"%2 without its value, 100%", {"a"}, "%2 without its value, 100%"},
        {"%0 %%1 %", {"v"}, "%0 %v %"},
    };
    for (const auto& c : cases) EXPECT_EQ(fillPlaceholders(c.text, c.values), c.filled) << c.text;
}

// The reply time-out is said as it is set, in the language taken before or after.
TEST(MessageTexts, TheTimeOutMessageSaysTheTimeOutInForce) {
    const auto german = readLanguageFile((DataFolder / "language.txt").string());
    const auto english = readLanguageFile((DataFolder / "language-en.txt").string());
    ASSERT_TRUE(german && english);
    Session s;
    s.takeLanguage(*german);
    EXPECT_NE(s.messages().text(Msg::ReplyTimeOut).find("(2 Sekunden)"), std::string::npos);
    s.device().setReplyTimeout(300);
    EXPECT_NE(s.messages().text(Msg::ReplyTimeOut).find("(0.3 Sekunden)"), std::string::npos);
    s.device().setReplyTimeout(12250);
    s.takeLanguage(*english);
    EXPECT_NE(s.messages().text(Msg::ReplyTimeOut).find("within 12.25 seconds"), std::string::npos);
}

// A value a dialog holds to its limit is said with that limit, in either language.
TEST(MessageTexts, LimitsAreSaidWithTheLimit) {
    const struct {
        const char* file;
        const char* length;
        const char* room;
        const char* spaces;
    } languages[] = {
        {"language.txt", "L\xE4nge h\xF6" "chstens 10", "L\xE4nge h\xF6" "chstens 4: an dieser Stelle ist nicht mehr Platz.",
         "Leerzeichen: max. Anzahl h\xF6" "chstens 20"},
        {"language-en.txt", "Length at most 10", "Length at most 4: there is no more room at this place.",
         "Spaces: maximum number at most 20"},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.file);
        const auto file = readLanguageFile((DataFolder / language.file).string());
        ASSERT_TRUE(file);
        Session s;
        s.takeLanguage(*file);
        EXPECT_EQ(s.messages().text(*limitLengthText("12", 10).limit), language.length);

        // Fields 1 and 2 placed one after the other: field 1 has room for 4 cells.
        Project p;
        DeviceImage image;
        image.imageTemplateLoaded = true;
        for (int i = 0; i < 2; ++i) {
            p.dataSets[0].fields[i].variableType = 0;
            p.dataSets[0].fields[i].length = 4;
            image.fieldRecord(0, i).length() = 10;
        }
        s.document().takeProject(p, image);
        s.document().clickFieldCheckBox(1);
        s.document().clickFieldCheckBox(2);
        FieldDialogValues longer = s.document().fieldDialog(1);
        longer.lengthText = "6";
        const Outcome cut = s.document().closeFieldDialog(1, DialogClose::Accept, longer);
        ASSERT_EQ(cut.messages, std::vector<int>{Msg::FieldRoomAtMost});
        EXPECT_EQ(s.messages().text(Msg::FieldRoomAtMost), language.room);

        PosExtendedEntry spaces;
        spaces.maxSpaces = "25";
        const Outcome lowered = s.settings().acceptPosExtended(spaces, 0, "", 0);
        ASSERT_EQ(lowered.messages, std::vector<int>{Msg::MaxSpacesAtMost});
        EXPECT_EQ(s.messages().text(Msg::MaxSpacesAtMost), language.spaces);
        spaces.maxSpaces = "20";
        EXPECT_TRUE(s.settings().acceptPosExtended(spaces, 0, "", 0).messages.empty());
    }
}

TEST(LanguageFile, ShippedFilesHaveEveryEntry) {
    const int slots = MessageTable().slotCount();
    for (const char* name : {"language.txt", "language-en.txt"}) {
        const auto f = readLanguageFile((DataFolder / name).string());
        ASSERT_TRUE(f) << name;
        for (int s = 0; s < LanguageSectionCount; ++s) {
            const std::size_t expected = s == 1 ? slots : LanguageTargetCounts[s];
            EXPECT_EQ(f->sections[s].size(), expected) << name << " section " << s + 1;
            const bool messages = s == 1 || s == 8 || s == 10 || s == 12 || s == 14;
            for (const auto& text : f->sections[s]) {
                if (messages) {
                    EXPECT_FALSE(text.empty()) << name << " section " << s + 1;
                }
            }
        }
    }
    EXPECT_FALSE(readLanguageFile((DataFolder / "no-such-language.txt").string()));
}

// A loader that keeps to the format reads each line into a buffer of LanguageLineLength
// characters and its LF: a longer line in a shipped file stops it early.
TEST(LanguageFile, ShippedFilesKeepTheFormatLimits) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(DataFolder)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("language") || entry.path().extension() != ".txt") continue;
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        int number = 0;
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            ++number;
            EXPECT_LE(line.size(), LanguageLineLength) << name << " line " << number;
            EXPECT_TRUE(line.ends_with('\r')) << name << " line " << number;
            if (line.ends_with('\r')) line.pop_back();
            lines.push_back(line);
        }
        // Each section: its "---" separator (but the first), its count, then that many quoted
        // texts; a stray line shifts every text after it into the wrong control.
        std::size_t at = 1;
        for (int section = 0; section < LanguageSectionCount && at < lines.size(); ++section) {
            if (section > 0) {
                EXPECT_TRUE(lines[at].starts_with("---")) << name << " line " << at + 1;
                ++at;
            }
            const long count = languageCount(lines[at++]);
            for (long i = 0; i < count && at < lines.size(); ++i, ++at) {
                const std::string& text = lines[at];
                EXPECT_TRUE(text.size() >= 2 && text.front() == '"' && text.back() == '"') << name << " line " << at + 1;
            }
        }
        EXPECT_EQ(at, lines.size()) << name;
    }
    EXPECT_GE(files, 2);
}

TEST(LanguageFile, OnlyARegularFileOfBoundedSizeIsRead) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("vem-language-" + std::to_string(::getpid()));
    fs::create_directories(folder / "language.txt");
    std::ofstream(folder / "large.txt", std::ios::binary) << std::string(LanguageFileLimit + 1, '\n');
    fs::create_symlink(DataFolder / "language-en.txt", folder / "link.txt");
    std::ofstream(folder / "empty.txt");
    std::ofstream(folder / "bytes.txt", std::ios::binary) << "\x8f\x02\xff\nroot:x:0:0\n7\n";
    const struct { std::string path; LanguageFileFault fault; } cases[] = {
        {(folder / "language.txt").string(), LanguageFileFault::NotAFile},
        {"/dev/zero", LanguageFileFault::NotAFile},
        {"/dev/null", LanguageFileFault::NotAFile},
        {(folder / "large.txt").string(), LanguageFileFault::TooLarge},
        {(folder / "missing.txt").string(), LanguageFileFault::Missing},
        {"", LanguageFileFault::Missing},
        {(folder / "empty.txt").string(), LanguageFileFault::NotALanguageFile},
        {(folder / "bytes.txt").string(), LanguageFileFault::NotALanguageFile},
        {"/etc/passwd", LanguageFileFault::NotALanguageFile},
        {(folder / "link.txt").string(), LanguageFileFault::None},
    };
    for (const auto& c : cases) {
        LanguageFileFault fault{};
        const auto file = readLanguageFile(c.path, fault);
        EXPECT_EQ(fault, c.fault) << c.path;
        EXPECT_EQ(file.has_value(), c.fault == LanguageFileFault::None) << c.path;
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vem
