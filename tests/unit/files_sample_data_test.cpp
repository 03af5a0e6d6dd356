#include <gtest/gtest.h>

#include "FilesFixture.h"
#include "files/ImageFile.h"
#include "files/ProjectFile.h"

namespace vem::test {
namespace {

const std::filesystem::path DataFolder =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data";

struct FilesSampleData : FilesFixture {
    void copySample(const std::filesystem::path& to, bool withImage = true) {
        std::filesystem::create_directories(to);
        std::filesystem::copy_file(DataFolder / "default.qor", to / "default.qor");
        if (withImage) std::filesystem::copy_file(DataFolder / "default.bin", to / "default.bin");
    }
    std::string row(int r) const {
        std::string s;
        for (int c = 0; c < ScreenColumns; ++c) s += project.screenText[r * ScreenColumns + c];
        return s;
    }
};

TEST_F(FilesSampleData, StartUpOpensTheSampleProjectAndItsTemplate) {
    copySample(folder);
    project.openDefaultProject = true;
    const FileOutcome outcome = openProject(editor);
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_TRUE(image.imageTemplateLoaded);
    EXPECT_FALSE(project.openDefaultProject);
    EXPECT_EQ(project.projectName, "default.qor");
    EXPECT_EQ(row(0).substr(0, 15), "QOR Textanzeige");
    EXPECT_EQ(editor.controls.dataSetButtonEnabled, (std::array<bool, 4>{true, true, false, false}));
    EXPECT_EQ(project.activeDataSet, 0);
    EXPECT_EQ(project.field(1).description, "Artikeltext");
    EXPECT_EQ(project.field(1).variableType, 0);
    EXPECT_EQ(project.field(1).enabled, 1);
    EXPECT_TRUE(editor.controls.fieldBoxTicked[0]);
    EXPECT_EQ(editor.controls.fieldBoxCaption[0], "Artikeltext");
    EXPECT_TRUE(editor.controls.fieldBoxTicked[DateField - 1]);
    EXPECT_EQ(cellsOf(1), run(89, 20));
    EXPECT_EQ(cellsOf(DateField), run(23, 8));
    EXPECT_TRUE(image.posExtendedSupported());
    EXPECT_EQ(outcome.posExtendedEnabled, std::optional<bool>(true));
}

TEST_F(FilesSampleData, OpenedAndSavedAgainIsTheSameFile) {
    copySample(folder);
    ASSERT_TRUE(openProject(editor, "default.qor").ok);
    storeProjectForSave(editor);
    ASSERT_TRUE(saveProjectAs(project, image, "again.qor").ok);
    EXPECT_EQ(readFile("again.qor"), readFile("default.qor"));

    // And once more after a switch to the second data set and back.
    editor.switchDataSet(1);
    editor.switchDataSet(0);
    storeProjectForSave(editor);
    ASSERT_TRUE(saveProjectAs(project, image, "again.qor").ok);
    EXPECT_EQ(readFile("again.qor"), readFile("default.qor"));
}

TEST_F(FilesSampleData, ProjectWhoseImageIsMissingStillOpens) {
    copySample(folder, false);
    const FileOutcome outcome = openProject(editor, "default.qor");
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_FALSE(image.imageTemplateLoaded);
    EXPECT_EQ(row(0).substr(0, 15), "QOR Textanzeige");
    EXPECT_EQ(project.dataSets[0].fields[0].description, "Artikeltext");
    EXPECT_EQ(project.dataSets[0].fields[1].position, 130);
    EXPECT_EQ(project.dataSets[1].cellTags[89], 1);
    // What only the image carries stays as it was.
    EXPECT_EQ(project.dataSets[0].fields[0].variableType, -1);
    EXPECT_EQ(project.dataSets[0].fields[4].conversion, -1);
    EXPECT_EQ(project.dataSets[1].dataSetAvailable, 0);
}

TEST_F(FilesSampleData, ABareImageNameIsFoundInTheCurrentFolder) {
    copySample(folder / "kasse");
    openProject(editor, "kasse/default.qor");
    EXPECT_FALSE(image.imageTemplateLoaded);  // default.bin is not in the working folder

    std::filesystem::current_path(folder / "kasse");
    const FileOutcome outcome = openProject(editor, (folder / "kasse" / "default.qor").string());
    EXPECT_TRUE(image.imageTemplateLoaded);
    EXPECT_EQ(project.projectName, "default.qor");
    EXPECT_TRUE(outcome.refreshCaption);
}

TEST_F(FilesSampleData, VariedProjectsSurviveSaveAndOpen) {
    copySample(folder);
    ASSERT_TRUE(openProject(editor, "default.qor").ok);
    std::mt19937 rng(5);
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        Project saved = randomProject(rng);
        saved.imageFileName = "default.bin";
        saved.activeDataSet = 0;
        const std::string name = "p" + std::to_string(round) + ".qor";
        ASSERT_TRUE(saveProjectAs(saved, image, name).ok);
        ASSERT_TRUE(openProject(editor, name).ok);
        expectSameFileContent(saved, project);
        EXPECT_EQ(project.screenText, saved.screenText);
    }
}

}  // namespace
}  // namespace vem::test
