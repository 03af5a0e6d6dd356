#include <gtest/gtest.h>

#include "SampleData.h"
#include <sys/stat.h>

#include "EnglishTexts.h"
#include "FilesFixture.h"
#include "files/ProjectCheck.h"
#include "files/ProjectFile.h"
#include "files/ReadBack.h"

namespace vem::test {
namespace {

const std::filesystem::path DataFolder = test::SampleDataFolder;

// A session that opened the sample project in a fresh working folder.
struct SessionOpenSave : SessionFilesFixture {
    std::string sample;

    void SetUp() override {
        SessionFilesFixture::SetUp();
        std::filesystem::copy_file(DataFolder / "default.bin", folder / "default.bin");
        sample = readFile(DataFolder / "default.qor");
        writeFile("default.qor", sample);
        ASSERT_TRUE(session.document().openProject("default.qor").ok);
    }
    // The sample's text with lines (numbered from 1) replaced.
    std::string sampleWith(const std::vector<std::pair<int, std::string>>& replaced) const {
        std::vector<std::string_view> lines = splitProjectLines(sample);
        for (const auto& [line, text] : replaced) lines[line - 1] = text;
        std::string out;
        for (std::string_view l : lines) out += std::string(l) + "\n";
        return out;
    }
    // Nothing of the opened sample changed.
    void expectSampleKept() const {
        EXPECT_EQ(held().projectName, "default.qor");
        EXPECT_EQ(held().screenText[0], "Q");
        EXPECT_EQ(held().device.DataHoldSeconds, 3);
        EXPECT_TRUE(session.document().image().imageTemplateLoaded);
        EXPECT_FALSE(session.document().modified());
    }
};

TEST_F(SessionOpenSave, AProjectThatCannotBeReadIsNamedWithWhatItIsAndNeverWaitedFor) {
    ASSERT_EQ(::mkfifo("fifo.qor", 0600), 0);  // opening it for reading would wait for a writer
    writeFile("large.qor", std::string(ProjectFileLimit + 1, '\n'));
    const std::pair<const char*, const char*> cases[] = {
        {"fifo.qor", "is a FIFO"},
        {"/dev/zero", "is not a regular file"},
        {"large.qor", "is larger than 1048576 bytes"},
    };
    speakEnglish(session);
    for (const auto& [name, what] : cases) {
        const Outcome out = session.document().openProject(name, name);
        EXPECT_EQ(out.messages, std::vector<int>{Msg::ProjectOpenFailed});
        EXPECT_EQ(out.detail, std::string(name) + ": " + what);
        expectSampleKept();
    }
}

TEST_F(SessionOpenSave, AProjectWithProblemsOpensOnlyWhenTheQuestionIsAnsweredYes) {
    writeFile("odd.qor", sampleWith({{123, "300"}}));
    speakEnglish(session);
    for (bool open : {false, true}) {
        SCOPED_TRACE(open);
        const Outcome asked = session.document().openProject("odd.qor");
        EXPECT_FALSE(asked.ok);
        EXPECT_TRUE(asked.question.has_value());
        EXPECT_EQ(asked.question->detail, (folder / "odd.qor").string() + "\ndata hold time is 300, outside 0..255");
        expectSampleKept();
        const Outcome answered = session.answer(open);
        EXPECT_EQ(answered.ok, open);
        EXPECT_EQ(held().device.DataHoldSeconds, open ? 300 : 3);
        EXPECT_EQ(held().projectName, open ? "odd.qor" : "default.qor");
    }
    // Of many problems the first eight are listed, the rest counted.
    const std::string many = sampleWith({{123, "300"}, {124, "300"}, {132, "300"}, {133, "300"}, {134, "300"},
                                         {135, "300"}, {136, "300"}});
    const std::size_t count = checkProjectText(many, {}).contentProblems.size();
    ASSERT_GT(count, 9u);
    writeFile("many.qor", many);
    const std::string listed = session.document().openProject("many.qor").question->detail;
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 9) << listed;
    EXPECT_EQ(listed.substr(listed.rfind('\n')), "\n(" + std::to_string(count - 8) + " more)") << listed;
    session.answer(false);

    // Nothing waits once answered, nor after another open.
    EXPECT_FALSE(session.answer(true).ok);
    session.document().openProject("odd.qor");
    ASSERT_TRUE(session.document().openProject("default.qor").ok);
    EXPECT_FALSE(session.answer(true).ok);
    EXPECT_EQ(held().device.DataHoldSeconds, 3);
}

TEST_F(SessionOpenSave, StartUpChecksDefaultQorAsOpeningDoes) {
    writeFile("default.qor", sampleWith({{123, "300"}}));
    Session asking;
    const Outcome asked = asking.document().startUp();
    EXPECT_TRUE(asked.question.has_value());
    ASSERT_TRUE(asking.answer(true).ok);
    EXPECT_EQ(asking.document().project().projectName, "default.qor");
    EXPECT_EQ(asking.document().project().device.DataHoldSeconds, 300);

    std::filesystem::remove("default.qor");
    ASSERT_EQ(::mkfifo("default.qor", 0600), 0);
    Session fifo;
    speakEnglish(fifo);
    const Outcome refused = fifo.document().startUp();
    EXPECT_EQ(refused.messages, std::vector<int>{Msg::ProjectOpenFailed});
    EXPECT_EQ(refused.detail, (folder / "default.qor").string() + ": is a FIFO");
}

TEST_F(SessionOpenSave, SaveAsAddsTheExtensionAndReplacesAFileOnlyWhenConfirmed) {
    const struct {
        const char* typed;
        const char* written;
        bool exists;
    } cases[] = {{"copy", "copy.qor", false}, {"notes.txt", "notes.txt", false}, {"old.qor", "old.qor", true},
                 {"old", "old.qor", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        writeFile("old.qor", "keep");
        const std::string before = held().projectName;
        const Outcome first = session.document().saveProjectAsTyped(c.typed, "/shown/" + std::string(c.typed));
        EXPECT_EQ(first.question.has_value(), c.exists);
        EXPECT_EQ(first.ok, !c.exists);
        if (c.exists) {
            EXPECT_EQ(first.question->detail, "/shown/" + std::string(c.written));
            EXPECT_EQ(readFile(c.written), "keep");
            EXPECT_EQ(held().projectName, before);
            EXPECT_TRUE(session.answer(true).ok);
        }
        EXPECT_EQ(readFile(c.written), sample);
        EXPECT_EQ(held().projectName, c.written);
    }
    EXPECT_FALSE(std::filesystem::exists("copy"));
}

// A template that marks no data set available: the open runs no box rule on the data fields, so
// a field switched off but placed, one never defined (-1) and one switched on but not placed
// come back as they were saved.
TEST_F(SessionOpenSave, WithoutAnAvailableDataSetAProjectOpensAsItWasSaved) {
    std::string image = readFile("default.bin");
    image.replace(MainAt::DataSetAvailable, DataSetCount, DataSetCount, '\0');
    writeFile("default.bin", image);
    const std::string odd = sampleWith({{22, "0,-1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,1,1"}, {23, "1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,1"}});
    writeFile("odd.qor", odd);
    ASSERT_TRUE(session.document().openProject("odd.qor").ok);
    EXPECT_EQ(writeProjectText(held()), odd);
}

TEST_F(SessionOpenSave, AfterSavingTheProjectIsTheSavedFile) {
    std::filesystem::create_directory("sub");
    ASSERT_TRUE(session.document().saveProjectAs("sub/renamed.qor", (folder / "sub" / "renamed.qor").string()).ok);
    EXPECT_NE(session.document().projectCaption().find("renamed.qor ---"), std::string::npos);
    session.document().buildImage(LocalTime{1, 2, 2030, 3, 4});
    EXPECT_EQ(headerProjectName(session.document().image()), "renamed.qor");
    // A save that failed leaves the name.
    EXPECT_FALSE(session.document().saveProjectAs("no/such/folder/x.qor").ok);
    EXPECT_EQ(held().projectName, "renamed.qor");
}

}  // namespace
}  // namespace vem::test
