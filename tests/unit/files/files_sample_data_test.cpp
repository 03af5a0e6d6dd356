#include <gtest/gtest.h>

#include "EnglishTexts.h"
#include "SampleData.h"
#include "FilesFixture.h"
#include "SessionChecks.h"
#include "files/ImageFile.h"
#include "files/ProjectFile.h"

namespace vem::test {
namespace {

const std::filesystem::path DataFolder = test::SampleDataFolder;

// The sample project and template shipped in data/, opened and saved as the window does.
struct SampleData : SessionFilesFixture {
    void copySample(const std::filesystem::path& to, bool withImage = true) {
        std::filesystem::create_directories(to);
        std::filesystem::copy_file(DataFolder / "default.qor", to / "default.qor");
        if (withImage) std::filesystem::copy_file(DataFolder / "default.bin", to / "default.bin");
    }
    std::string row(int r) const {
        std::string s;
        for (int c = 0; c < ScreenColumns; ++c) s += held().screenText[r * ScreenColumns + c];
        return s;
    }
};

TEST_F(SampleData, StartUpOpensTheSampleProjectAndItsTemplate) {
    copySample(folder);
    const Outcome outcome = session.document().startUp();
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_TRUE(session.document().image().imageTemplateLoaded);
    EXPECT_FALSE(held().openDefaultProject);
    EXPECT_EQ(held().projectName, "default.qor");
    EXPECT_EQ(row(0).substr(0, 15), "QOR Textanzeige");
    EXPECT_EQ(controls().dataSetButtonEnabled, (std::array<bool, 4>{true, true, false, false}));
    EXPECT_EQ(held().activeDataSet, 0);
    EXPECT_EQ(held().field(1).description, "Artikeltext");
    EXPECT_EQ(held().field(1).variableType, 0);
    EXPECT_EQ(held().field(1).enabled, 1);
    EXPECT_TRUE(controls().fieldBoxTicked[0]);
    EXPECT_EQ(controls().fieldBoxCaption[0], "Artikeltext");
    EXPECT_TRUE(controls().fieldBoxTicked[DateField - 1]);
    EXPECT_EQ(cellsOf(1), run(89, 20));
    EXPECT_EQ(cellsOf(DateField), run(23, 8));
    // The date and time cells are those of every data set.
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(tagged(d, DateField), run(23, 8)) << d;
        EXPECT_EQ(tagged(d, TimeField), tagged(0, TimeField)) << d;
    }
    EXPECT_TRUE(session.document().image().posExtendedSupported());
    EXPECT_EQ(outcome.posExtendedEnabled, std::optional<bool>(true));
}

TEST_F(SampleData, OpenedAndSavedAgainIsTheSameFile) {
    copySample(folder);
    ASSERT_TRUE(session.document().openProject("default.qor").ok);
    ASSERT_TRUE(session.document().saveProjectAs("again.qor").ok);
    EXPECT_EQ(readFile("again.qor"), readFile("default.qor"));

    // And once more after a switch to the second data set and back.
    session.document().switchDataSet(1);
    session.document().switchDataSet(0);
    ASSERT_TRUE(session.document().saveProjectAs("again.qor").ok);
    EXPECT_EQ(readFile("again.qor"), readFile("default.qor"));
}

TEST_F(SampleData, ProjectWhoseImageIsMissingOpensAndSaysSo) {
    copySample(folder, false);
    speakEnglish(session);
    const Outcome outcome = session.document().openProject("default.qor");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.messages, std::vector<int>{Msg::TemplateUnreadable});
    EXPECT_EQ(outcome.detail, (folder / "default.bin").string() + ": does not exist");
    EXPECT_FALSE(session.document().image().imageTemplateLoaded);
    EXPECT_EQ(row(0).substr(0, 15), "QOR Textanzeige");
    EXPECT_EQ(held().dataSets[0].fields[0].description, "Artikeltext");
    EXPECT_EQ(held().dataSets[0].fields[1].position, 130);
    EXPECT_EQ(held().dataSets[1].cellTags[89], 1);
    // What only the image carries stays as it was.
    EXPECT_EQ(held().dataSets[0].fields[0].variableType, -1);
    EXPECT_EQ(held().dataSets[0].fields[4].conversion, -1);
    EXPECT_EQ(held().dataSets[1].dataSetAvailable, 0);
}

TEST_F(SampleData, ABareImageNameIsFoundInTheProjectsFolderNotTheWorkingFolder) {
    copySample(folder / "kasse");
    const Outcome outcome = session.document().openProject("kasse/default.qor");
    EXPECT_TRUE(session.document().image().imageTemplateLoaded);  // default.bin is not in the working folder
    EXPECT_EQ(session.document().folder(), folder / "kasse");
    EXPECT_TRUE(outcome.refreshCaption);
    session.document().projectCaption();  // the caption the outcome asks for shows the name alone
    EXPECT_EQ(held().projectName, "default.qor");
}

// What opening `file` gives: its content, except where the check box handlers and the shared
// date and time cells place fields (cells, placed flags and positions), which `opened` shows.
Project asOpened(const Project& file, const Project& opened) {
    Project expected = file;
    for (int d = 0; d < DataSetCount; ++d) {
        expected.dataSets[d].cellTags = opened.dataSets[d].cellTags;
        const int placedByTheSession = d == 0 ? FieldCount : DataFieldCount;
        for (int i = 0; i < placedByTheSession; ++i) {
            FieldDefinition& f = expected.dataSets[d].fields[i];
            const FieldDefinition& g = opened.dataSets[d].fields[i];
            f.placed = g.placed;
            f.column = g.column;
            f.row = g.row;
            f.position = g.position;
        }
    }
    return expected;
}

TEST_F(SampleData, VariedProjectsSurviveSaveAndOpen) {
    copySample(folder);
    ASSERT_TRUE(session.document().openProject("default.qor").ok);
    std::mt19937 rng(5);
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        Project saved = randomProject(rng);
        saved.imageFileName = "default.bin";
        saved.activeDataSet = 0;
        const std::string name = "p" + std::to_string(round) + ".qor";
        ASSERT_TRUE(saveProjectAs(saved, session.document().image(), name).ok);
        ASSERT_TRUE(openAnyway(session, name).ok);
        expectSameFileContent(asOpened(saved, held()), held());
        EXPECT_EQ(held().screenText, saved.screenText);

        // Saved from the session and opened again, the project comes back whole.
        const Project opened = held();
        ASSERT_TRUE(session.document().saveProjectAs("again.qor").ok);
        ASSERT_TRUE(openAnyway(session, "again.qor").ok);
        expectSameFileContent(opened, held());
    }
}

}  // namespace
}  // namespace vem::test
