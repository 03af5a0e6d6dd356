#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <map>
#include <csignal>
#include <random>
#include <sstream>

#include "FilesFixture.h"
#include "files/ImageFile.h"
#include "files/ProjectFile.h"

namespace vem::test {
namespace {

std::string joined(int count, const std::string& item) {
    std::string s;
    for (int i = 0; i < count; ++i) s += (i ? "," : "") + item;
    return s;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

Project readBack(const std::string& text) {
    Project p;
    const auto lines = splitProjectLines(text);
    p.imageFileName = lines.empty() ? "" : std::string(lines[0]);
    readProjectBody(p, lines);
    return p;
}

using ProjectFile = FilesFixture;
// Saving and opening as the window runs them.
using SessionProjectFile = SessionFilesFixture;

TEST_F(SessionProjectFile, NewProjectSavesTheGoldenLines) {
    const Outcome outcome = session.document().saveProjectAs("new.qor");
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.messages.empty());

    std::vector<std::string> expected{"default.bin"};
    for (int r = 0; r < 16; ++r) expected.push_back(std::string(39, ','));
    for (int d = 0; d < 4; ++d) expected.push_back(joined(640, "0"));
    for (int d = 0; d < 4; ++d) {
        for (int i = 0; i < 3; ++i) expected.push_back(joined(18, "0"));
        expected.push_back(joined(16, "0"));
        expected.push_back(joined(16, "-1"));
        expected.push_back(joined(16, "-1") + ",0,0");
        for (int i = 0; i < 3; ++i) expected.push_back(joined(18, "0"));
        for (int i = 0; i < 16; ++i) expected.push_back("");
    }
    for (const char* l : {"0", "3", "3", "0", "0", "3", "0.0.0.0", "0", "0", "0",  // 122..131
                          "1", "0", "1", "1", "0", "0", "0",                       // POS
                          "0", "0", "0", "0",                                      // forwarding
                          "0", "0", "", "0", "0", ""})
        expected.push_back(l);
    expected.push_back(joined(10, "0"));
    for (int k = 0; k < 10; ++k) expected.push_back("");
    expected.push_back(joined(10, "0"));
    expected.push_back("0");
    expected.push_back("0");
    ASSERT_EQ(expected.size(), 162u);

    std::string golden;
    for (const auto& l : expected) golden += l + "\n";
    EXPECT_EQ(readFile("new.qor"), golden);
}

TEST_F(ProjectFile, NumbersTakeTheLeadingDigitsAndSaturateInsteadOfWrapping) {
    for (const auto& [text, number] : std::vector<std::pair<std::string, int>>{
             {"-1", -1}, {"", 0}, {"12ab", 12}, {"  \t7", 7}, {"+5", 5}, {"abc", 0}, {"-", 0}, {"1 2", 1},
             {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}})
        EXPECT_EQ(projectNumber(text), number) << text;
}

TEST_F(ProjectFile, VariedProjectsComeBackAsWritten) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("project " + std::to_string(round));
        const Project original = randomProject(rng);
        const std::string text = writeProjectText(original);
        EXPECT_EQ(linesOf(text).size(), 162u);
        expectSameFileContent(original, readBack(text));
    }
}

std::vector<std::string> split(const std::string& s, char separator) {
    std::vector<std::string> parts{""};
    for (char c : s) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
}

std::string joinedBy(const std::vector<std::string>& parts, char separator) {
    std::string s;
    for (std::size_t i = 0; i < parts.size(); ++i) s += (i ? std::string(1, separator) : "") + parts[i];
    return s;
}

// Another value for an item of the file: a number (each of an address's) becomes another
// number, anything else a text.
std::string otherItem(const std::string& item, std::size_t seed) {
    std::vector<std::string> parts = split(item, '.');
    for (std::string& part : parts) {
        const bool number = !part.empty() && part.find_first_not_of("-0123456789") == std::string::npos;
        const std::string other = number ? std::to_string(1 + seed++ % 250) : "m" + std::to_string(seed++);
        part = other == part ? other + "1" : other;
    }
    return joinedBy(parts, '.');
}

// Each line in turn gets values of its own. Read and written again, the file shows them on that
// line and nowhere else: the reader put them into the members the writer took the line from.
TEST_F(ProjectFile, EveryLineIsReadIntoTheMembersItWasWrittenFrom) {
    const std::vector<std::string> base = linesOf(writeProjectText(Project{}));
    ASSERT_EQ(base.size(), 162u);
    for (std::size_t n = 0; n < base.size(); ++n) {
        // Block lines 4..6 of a data set: the image supplies the values of fields 1..16.
        const std::size_t blockLine = n >= 21 && n < 121 ? (n - 21) % 25 + 1 : 0;
        const std::size_t firstRead = blockLine >= 4 && blockLine <= 6 ? DataFieldCount : 0;
        const std::vector<std::string> items = split(base[n], ',');
        std::vector<std::string> marked = items;
        std::vector<std::string> expected = items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            marked[i] = otherItem(items[i], 7 * n + 13 * i);
            if (i >= firstRead) expected[i] = marked[i];
        }
        std::vector<std::string> lines = base;
        lines[n] = joinedBy(marked, ',');
        std::string text;
        for (const auto& l : lines) text += l + "\n";

        std::vector<std::string> again = linesOf(writeProjectText(readBack(text)));
        ASSERT_EQ(again.size(), base.size());
        EXPECT_EQ(again[n], joinedBy(expected, ',')) << "line " << n + 1;
        again[n] = base[n];
        EXPECT_EQ(again, base) << "line " << n + 1 << " went into another line's member";
    }
}

TEST_F(ProjectFile, CrLfReadsLikeLf) {
    std::mt19937 rng(7);
    const Project original = randomProject(rng);
    const std::string lf = writeProjectText(original);
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    expectSameFileContent(readBack(lf), readBack(crlf));
}

TEST_F(ProjectFile, ShortAndMissingLinesNeverReadPastTheirEnd) {
    Project filled;
    filled.screenText.fill("x");
    filled.dataSets[0].cellTags.fill(7);
    filled.device.IpAddress = {9, 9, 9, 9};
    filled.device.DataHoldSeconds = 5;
    filled.posExtended.KeywordAction.fill(3);
    Project p = filled;

    std::vector<std::string> lines = linesOf(writeProjectText(filled));
    lines[1] = "a,b,c";                  // row 0: three cells, the rest missing
    lines[17] = "1,2";                   // tags of data set 0: two values
    lines[127] = "10.1";                 // address with one dot
    lines[159] = "5";                    // one keyword action
    lines.resize(140);                   // everything from line 141 on is missing
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    const auto split = splitProjectLines(text);
    readProjectBody(p, split);

    EXPECT_EQ(p.screenText[0], "a");
    EXPECT_EQ(p.screenText[2], "c");
    EXPECT_EQ(p.screenText[3], "");
    EXPECT_EQ(p.screenText[39], "");
    EXPECT_EQ(p.screenText[40], "x");  // row 1 was whole
    EXPECT_EQ(p.dataSets[0].cellTags[1], 2);
    EXPECT_EQ(p.dataSets[0].cellTags[2], 0);
    EXPECT_EQ(p.dataSets[0].cellTags[639], 0);
    EXPECT_EQ(p.device.IpAddress, (std::array<int, 4>{10, 1, 0, 0}));
    EXPECT_EQ(p.device.DataHoldSeconds, 5);
    EXPECT_EQ(p.device.ForwardPrefixCode, 0);  // line 141, missing
    EXPECT_EQ(p.posExtended.KeywordAction[0], 0);
    EXPECT_EQ(p.posExtended.Keyword[9], "");

    Project empty = filled;
    readProjectBody(empty, {});
    EXPECT_EQ(empty.screenText[5], "");
    EXPECT_EQ(empty.dataSets[0].cellTags[5], 0);
    EXPECT_EQ(empty.device.DataHoldSeconds, 0);
}

TEST_F(ProjectFile, ExtraItemsStayInTheLastCellAndOverlongLinesAndNonNumbersAreRead) {
    Project crowded;
    crowded.dataSets[2].cellTags.fill(18);  // the longest line the writer makes: 1919 characters
    std::vector<std::string> lines = linesOf(writeProjectText(crowded));
    EXPECT_EQ(lines[19].size(), 1919u);
    lines[1] = std::string(39, ',') + "x,y,z";       // extra items stay in the last cell
    lines[21] = joined(18, "1") + ",5,6";              // enabled of data set 0 with extra items
    lines[122] = "7 seconds";                           // DataHoldSeconds
    lines[123] = "abc";                                 // RelayHoldSeconds
    lines[131] = "300";                                 // RegisterNumber keeps its low byte
    lines[160] = "7";
    lines[161] = "1";
    lines[0] = std::string(5000, 'n') + ".bin";
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    const Project p = readBack(text);
    EXPECT_EQ(p.dataSets[2].cellTags, crowded.dataSets[2].cellTags);
    EXPECT_EQ(p.screenText[39], "x,y,z");
    EXPECT_EQ(p.dataSets[0].fields[17].enabled, 1);
    EXPECT_EQ(p.device.DataHoldSeconds, 7);
    EXPECT_EQ(p.device.RelayHoldSeconds, 0);
    EXPECT_EQ(p.pos.RegisterNumber, 44);
    EXPECT_EQ(p.posExtended.MaxSpaces, 7);
    EXPECT_EQ(p.posExtended.SkipMode, 1);
    EXPECT_EQ(p.imageFileName.size(), 5004u);
}

TEST_F(ProjectFile, OffsetConversionAndDataFieldTypesAreNotRead) {
    Project before;
    before.dataSets[1].fields[3].offset = 12;
    before.dataSets[1].fields[3].conversion = 2;
    before.dataSets[1].fields[3].variableType = 5;
    Project written;  // the file says -1 / 0 everywhere
    written.dataSets[1].fields[17].variableType = 9;
    Project p = before;
    readProjectBody(p, splitProjectLines(writeProjectText(written)));
    EXPECT_EQ(p.dataSets[1].fields[3].offset, 12);
    EXPECT_EQ(p.dataSets[1].fields[3].conversion, 2);
    EXPECT_EQ(p.dataSets[1].fields[3].variableType, 5);
    EXPECT_EQ(p.dataSets[1].fields[17].variableType, 9);  // date and time types are read
}

TEST_F(SessionProjectFile, CommaCellsAreReplacedAndSaidWhileAmpersandAndUmlautsSurvive) {
    project.screenText[0] = "&&";
    project.screenText[1] = "\xE4";
    project.screenText[2] = ",";
    project.screenText[3] = "A";
    project.screenText[45] = "a,b";
    project.screenText[80] = "\n";
    take();
    const Outcome outcome = session.document().saveProjectAs("cells.qor");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.messages, std::vector<int>{Msg::CommaCellsReplaced});
    EXPECT_TRUE(outcome.refreshEditor);  // the grid shows the replaced cells
    EXPECT_EQ(held().screenText[2], " ");
    EXPECT_EQ(held().screenText[45], " ");
    EXPECT_EQ(held().screenText[80], " ");

    const std::string text = readFile("cells.qor");
    const auto lines = linesOf(text);
    ASSERT_EQ(lines.size(), 162u);
    EXPECT_EQ(lines[1].substr(0, 9), "&&,\xE4, ,A,");
    for (int r = 1; r <= 16; ++r) EXPECT_EQ(std::count(lines[r].begin(), lines[r].end(), ','), 39);
    const Project p = readBack(text);
    EXPECT_EQ(p.screenText[0], "&&");
    EXPECT_EQ(p.screenText[3], "A");
    EXPECT_EQ(p.screenText[4], "");

    // Saving again has nothing left to replace.
    EXPECT_TRUE(session.document().saveProjectAs("cells.qor").messages.empty());
}

TEST_F(ProjectFile, LineBreaksInsideTextsKeepTheLayout) {
    project.dataSets[0].fields[0].description = "two\nlines\r";
    project.posExtended.Keyword[2] = "a\nb";
    const auto lines = linesOf(writeProjectText(project));
    ASSERT_EQ(lines.size(), 162u);
    EXPECT_EQ(lines[30], "two lines ");
    EXPECT_EQ(lines[151], "a b");
}

// ---- after a read-back: the project and an image of its own ----

struct ReadoutSave : ProjectFile {
    // Saves a read-back whose main area is `fill` to `target`.
    FileResult saveReadBack(const std::string& target, std::uint8_t fill, WriteOptions options = {}) {
        image.mainArea.fill(fill);
        project.writeReadoutOnSave = true;
        return saveProjectAs(project, image, target, options);
    }
    // The image the project file names (from its folder) holds `fill`.
    void expectImageOf(const std::filesystem::path& projectFile, std::uint8_t fill) {
        const std::string named = linesOf(readFile(projectFile))[0];
        const std::string bytes = readFile(projectFile.parent_path() / named);
        ASSERT_EQ(bytes.size(), ImageFileSize) << projectFile << " names " << named;
        EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]), fill) << projectFile << " names " << named;
    }
    std::vector<std::string> entries(const std::filesystem::path& in = ".") {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(in)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Every entry below the working folder with what it holds; links are not followed.
    std::map<std::string, std::string> contents() {
        namespace fs = std::filesystem;
        std::map<std::string, std::string> found;
        for (const auto& e : fs::recursive_directory_iterator(".")) {
            const std::string name = e.path().lexically_normal().string();
            if (e.is_symlink()) found[name] = "link to " + fs::read_symlink(e.path()).string();
            else if (e.is_regular_file()) found[name] = readFile(e.path());
            else found[name] = e.is_directory() ? "folder" : "other";
        }
        return found;
    }
};

TEST_F(ReadoutSave, EachProjectNamesAnImageOfItsOwnBesideTheFileItLandsIn) {
    std::filesystem::create_directories("a");
    std::filesystem::create_directories("other");
    std::filesystem::create_symlink("../other/real.qor", "a/link.qor");  // dangling until saved
    ASSERT_TRUE(saveReadBack("dev1.qor", 1).ok);
    ASSERT_TRUE(saveReadBack("dev2.qor", 2).ok);
    ASSERT_TRUE(saveReadBack("readout.bin", 3).ok);
    ASSERT_TRUE(saveReadBack("a/link.qor", 4).ok);
    EXPECT_EQ(linesOf(readFile("dev1.qor"))[0], "dev1-readout.bin");
    expectImageOf("dev1.qor", 1);
    expectImageOf("dev2.qor", 2);
    expectImageOf("readout.bin", 3);
    expectImageOf("other/real.qor", 4);
    EXPECT_EQ(entries("a"), std::vector<std::string>{"link.qor"});

    // Saved again, the project takes a fresh name and the image it named before goes.
    ASSERT_TRUE(saveReadBack("dev1.qor", 5).ok);
    expectImageOf("dev1.qor", 5);
    EXPECT_EQ(project.imageFileName, "dev1-readout-2.bin");
    ASSERT_TRUE(saveReadBack("dev1.qor", 6).ok);
    expectImageOf("dev1.qor", 6);
    EXPECT_EQ(entries(), (std::vector<std::string>{"a", "dev1-readout.bin", "dev1.qor", "dev2-readout.bin",
                                                   "dev2.qor", "other", "readout-readout.bin", "readout.bin"}));

    // The image a copy of the project names stays; a name line 1 cannot hold, or one at the
    // file name limit, still gives a project that finds its image, save after save.
    std::filesystem::copy_file("dev1.qor", "dev1-copy.qor");
    const std::string longName = std::string(242, 'l') + ".qor";
    for (const std::string& target : {std::string("dev1.qor"), std::string("a\nb.qor"), longName}) {
        ASSERT_TRUE(saveReadBack(target, 8).ok) << target;
        ASSERT_TRUE(saveReadBack(target, 9).ok) << target;
        expectImageOf(target, 9);
    }
    expectImageOf("dev1-copy.qor", 6);

    // A file of the image's name is never touched, a link there never followed.
    writeFile("secret", "mine");
    std::filesystem::create_symlink("secret", "dev3-readout.bin");
    ASSERT_TRUE(saveReadBack("dev3.qor", 7).ok);
    EXPECT_EQ(readFile("secret"), "mine");
    EXPECT_EQ(linesOf(readFile("dev3.qor"))[0], "dev3-readout-2.bin");
}

TEST_F(ReadoutSave, KilledAtAnyMomentEachProjectNamesItsOwnImageAndTheNextSaveClearsLeftovers) {
    // Save n writes n into the project (spare value) and into its image.
    const auto saveNumbered = [&](int n) {
        project.spareValue1 = n;
        return saveReadBack("k.qor", static_cast<std::uint8_t>(n % 200 + 1)).ok;
    };
    Project marked;
    marked.spareValue1 = -777;
    const auto markedLines = linesOf(writeProjectText(marked));
    const std::size_t numberLine = std::find(markedLines.begin(), markedLines.end(), "-777") - markedLines.begin();
    ASSERT_TRUE(saveNumbered(0));
    std::mt19937 random(7);
    for (int round = 1; round <= 30; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = round * 1000;; ++n) saveNumbered(n);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(200, 20000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::vector<std::string> lines = linesOf(readFile("k.qor"));
        ASSERT_EQ(lines.size(), 162u) << "round " << round;
        const int saved = std::stoi(lines[numberLine]);
        expectImageOf("k.qor", static_cast<std::uint8_t>(saved % 200 + 1));
    }
    ASSERT_TRUE(saveNumbered(1));
    EXPECT_EQ(entries().size(), 2u) << "the project and the one image it names, nothing left over";
}

// Every way a save fails, refused or cut short, says the file and why and leaves every file as
// it was: each project still names the image it was saved with, and no temporary file stays.
TEST_F(ReadoutSave, EveryFailedSaveSaysTheFileAndWhyAndLeavesEveryFileAsItWas) {
    ASSERT_TRUE(saveReadBack("x.qor", 1).ok);
    std::filesystem::create_directories("folder.qor/inside");
    ASSERT_EQ(::mkfifo("fifo.qor", 0600), 0);
    std::filesystem::create_symlink("fifo.qor", "to-fifo.qor");
    std::filesystem::create_symlink("loop.qor", "loop.qor");
    writeFile("locked.qor", "previous");
    std::filesystem::permissions("locked.qor", std::filesystem::perms::owner_read);
    const std::string longName = std::string(300, 'n') + ".qor";
    const auto before = contents();
    constexpr int None = 0;
    const struct {
        std::string target;
        bool readBack;
        FileStep step;  // fails with `error` after `skip` of its kind went well
        int error, skip;
        int slot, reason;
        std::string file;  // the file named, links resolved
    } cases[] = {
        {"folder.qor", false, FileStep::Write, None, 0, Msg::ProjectSaveFailed, Msg::SaveReasonFolder, "folder.qor"},
        {"fifo.qor", false, FileStep::Write, None, 0, Msg::ProjectSaveFailed, Msg::SaveReasonNotRegular, "fifo.qor"},
        {"to-fifo.qor", true, FileStep::Write, None, 0, Msg::ProjectSaveFailed, Msg::SaveReasonNotRegular, "fifo.qor"},
        {"loop.qor", false, FileStep::Write, None, 0, Msg::ProjectSaveFailed, Msg::SaveReasonLinkLoop, "loop.qor"},
        {"no/folder.qor", false, FileStep::Write, None, 0, Msg::ProjectSaveFailed, Msg::SaveReasonNoFolder,
         "no/folder.qor"},
        {longName, false, FileStep::Write, None, 0, Msg::ProjectSaveFailed, Msg::SaveReasonNameTooLong, longName},
        {"locked.qor", true, FileStep::Write, None, 0, Msg::ProjectSaveFailed, Msg::SaveReasonReadOnly, "locked.qor"},
        {"x-readout.bin", false, FileStep::Write, None, 0, Msg::ProjectSaveFailed, Msg::SaveReasonKeptFile,
         "x-readout.bin"},
        {"x.qor", true, FileStep::Write, ENOSPC, 0, Msg::ReadoutSaveFailed, Msg::SaveReasonDiskFull, "x-readout-2.bin"},
        {"x.qor", true, FileStep::Sync, EIO, 0, Msg::ReadoutSaveFailed, Msg::SaveReasonOther, "x-readout-2.bin"},
        {"x.qor", true, FileStep::Sync, EIO, 1, Msg::ProjectSaveFailed, Msg::SaveReasonOther, "x.qor"},
        {"x.qor", true, FileStep::Rename, EBUSY, 0, Msg::ProjectSaveFailed, Msg::SaveReasonBusy, "x.qor"},
        {"x.qor", false, FileStep::Write, EACCES, 0, Msg::ProjectSaveFailed, Msg::SaveReasonNoPermission, "x.qor"},
        {"x.qor", false, FileStep::Rename, EROFS, 0, Msg::ProjectSaveFailed, Msg::SaveReasonReadOnlySystem, "x.qor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.substr(0, 20) + " " + std::to_string(c.error));
        if (c.error != None) injectFileError(c.step, c.error, c.skip);
        image.mainArea.fill(2);
        project.writeReadoutOnSave = c.readBack;
        const FileResult failed = saveProjectAs(project, image, c.target);
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.messages, std::vector<int>{c.slot});
        EXPECT_EQ(failed.reason, c.reason);
        EXPECT_EQ(failed.file, c.file);
        EXPECT_EQ(failed.askReplaceReadOnly, c.reason == Msg::SaveReasonReadOnly);
        EXPECT_EQ(contents(), before);
    }
    injectFileError(FileStep::Write, 0);  // nothing left armed
    EXPECT_TRUE(saveProjectAs(project, image, "locked.qor", {.replaceReadOnly = true}).ok);
    EXPECT_EQ(linesOf(readFile("locked.qor")).size(), 162u);
}

TEST_F(ProjectFile, ASaveElsewhereNamesTheTemplateByAPathThatFindsIt) {
    std::filesystem::create_directories("first");
    std::filesystem::create_directories("second");
    writeImage("first/default.bin", blankImage());
    project.imageFileName = "first/default.bin";
    ASSERT_TRUE(loadImageFile(project, image, {}).ok);
    ASSERT_TRUE(saveProjectAs(project, image, "second/copy.qor").ok);
    EXPECT_EQ(linesOf(readFile("second/copy.qor"))[0], "../first/default.bin");
    ASSERT_TRUE(saveProjectAs(project, image, "first/again.qor").ok);
    EXPECT_EQ(linesOf(readFile("first/again.qor"))[0], "default.bin");
    // Into a folder reached through a link, the path leads from the real folder.
    std::filesystem::create_directories("deep");
    std::filesystem::create_directory_symlink("../second", "deep/link");
    ASSERT_TRUE(saveProjectAs(project, image, "deep/link/via.qor").ok);
    EXPECT_EQ(linesOf(readFile("second/via.qor"))[0], "../first/default.bin");
}

TEST_F(SessionProjectFile, UnreadableProjectChangesNothing) {
    project.screenText[0] = "Q";
    project.projectName = "before.qor";
    project.writeReadoutOnSave = true;
    take();
    const Outcome chosen = session.document().openProject("nothing here.qor");
    EXPECT_FALSE(chosen.ok);
    EXPECT_EQ(chosen.messages, std::vector<int>{Msg::ProjectOpenFailed});
    EXPECT_EQ(held().screenText[0], "Q");
    EXPECT_EQ(held().projectName, "before.qor");
    EXPECT_TRUE(held().writeReadoutOnSave);

    // At start-up a missing default.qor is silent.
    const Outcome startUp = session.document().startUp();
    EXPECT_FALSE(startUp.ok);
    EXPECT_TRUE(startUp.messages.empty());
    EXPECT_FALSE(held().openDefaultProject);
    EXPECT_FALSE(session.document().image().imageTemplateLoaded);
}

TEST_F(ProjectFile, CaptionShowsTheNameWithoutItsFolderAndAStarWhenChanged) {
    messages.setText(Msg::ProjectCaptionPrefix, "Projekt: ");
    for (const auto& [name, modified, bare, shown] : std::vector<std::tuple<std::string, bool, std::string, std::string>>{
             {"C:\\QOR\\kasse.qor", false, "kasse.qor", "Projekt: kasse.qor ------- "},
             {"/home/op/qor/laden.qor", false, "laden.qor", "Projekt: laden.qor ------- "},
             {"default.qor", false, "default.qor", "Projekt: default.qor ------- "},
             {"default.qor", true, "default.qor", "Projekt: default.qor* ------- "}}) {
        project.projectName = name;
        EXPECT_EQ(showProjectName(project, messages, modified), shown);
        EXPECT_EQ(project.projectName, bare);
    }
}

}  // namespace
}  // namespace vem::test
