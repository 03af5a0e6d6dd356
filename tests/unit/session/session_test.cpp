#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <random>

#include "EnglishTexts.h"
#include "SessionChecks.h"
#include "files/ImageFile.h"
#include "files/ProjectFile.h"

namespace vem::test {
namespace {

namespace fs = std::filesystem;

// A session over a template with data sets 0 and 1, fields 1..3 of type "Daten" (up to 10
// cells) and a date of 8 cells, in a fresh working folder.
struct SessionTest : ::testing::Test {
    Session s;
    fs::path previous = fs::current_path();
    fs::path folder = fs::temp_directory_path() / ("vem-session-" + std::to_string(std::random_device{}()));

    void SetUp() override {
        fs::create_directories(folder);
        fs::current_path(folder);
        Project p;
        DeviceImage image;
        image.imageTemplateLoaded = true;
        for (int d = 0; d < 2; ++d) {
            p.dataSets[d].dataSetAvailable = 1;
            for (int i = 0; i < 3; ++i) {
                p.dataSets[d].fields[i].variableType = 0;
                p.dataSets[d].fields[i].length = 4;
                image.fieldRecord(d, i).length() = 10;
            }
        }
        p.sharedField(DateField).length = 8;
        p.sharedField(TimeField).length = 8;
        take(p, image);
        // The template the saved project names.
        std::vector<std::uint8_t> bytes(image.mainArea.begin(), image.mainArea.end());
        bytes.insert(bytes.end(), image.headerArea.begin(), image.headerArea.end());
        ASSERT_TRUE(writeFileReplacing(p.imageFileName, bytes));
    }
    void TearDown() override {
        fs::current_path(previous);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void take(const Project& p, const DeviceImage& image) {
        s.document().takeProject(p, image);
        ASSERT_EQ(brokenInvariant(s), "");
    }
    void saveAndOpen() {
        ASSERT_TRUE(s.document().saveProjectAs("p.qor").ok);
        ASSERT_TRUE(s.document().openProject("p.qor").ok);
        ASSERT_EQ(brokenInvariant(s), "");
    }
    int cells(int d, int tag) const { return cellCount(s.document().project(), d, tag); }
};

TEST_F(SessionTest, DeleteAndControlCharactersNeverEnterACell) {
    s.document().mousePress(41, MouseButton::Left);
    s.document().mouseRelease();
    for (unsigned char c : {0x7F, 0x08, 0x0D, 0x1B, 0x00}) s.document().keyPress(c);
    EXPECT_EQ(s.document().project().screenText[41], "");
    EXPECT_EQ(s.document().editor().cursor().cell, 41);
    s.document().keyPress('A');
    EXPECT_EQ(s.document().project().screenText[41], "A");
}

TEST_F(SessionTest, DateAndTimeCellsAreEqualInEveryDataSetThroughSaveAndOpen) {
    s.document().switchDataSet(1);
    s.document().clickFieldCheckBox(DateField);  // placed while data set 1 is active
    saveAndOpen();
    EXPECT_EQ(s.document().project().activeDataSet, 0);
    EXPECT_EQ(cells(0, DateField), 8);
    EXPECT_TRUE(s.document().editor().controls().fieldBoxTicked[DateField - 1]);

    s.document().switchDataSet(1);
    s.document().clickFieldCheckBox(DateField);  // switched off while data set 1 is active
    saveAndOpen();
    for (int d = 0; d < DataSetCount; ++d) EXPECT_EQ(cells(d, DateField), 0) << d;
}

TEST_F(SessionTest, ReadBackPlacesDateAndTimeFromTheSharedDefinitionOnly) {
    Project p = s.document().project();
    p.dataSets[2].fields[TimeField - 1].variableType = 5;  // a data set's own copy, kept for the file
    p.dataSets[1].fields[DateField - 1].variableType = -1;
    take(p, s.document().image());
    DeviceImage readBack = s.document().image();
    readBack.mainArea.fill(0xFF);
    readBack.mainArea[MainAt::DataSetAvailable] = 1;
    readBack.mainArea[MainAt::DataSetAvailable + 2] = 1;
    readBack.headerArea[HeaderAt::DateColumn] = 5;
    readBack.headerArea[HeaderAt::DateRow] = 2;
    readBack.headerArea[HeaderAt::TimeColumn] = 1;
    readBack.headerArea[HeaderAt::TimeRow] = 4;
    s.document().applyReadBack(readBack);
    EXPECT_EQ(brokenInvariant(s), "");
    for (int d = 0; d < DataSetCount; ++d) {
        EXPECT_EQ(s.document().project().dataSets[d].cellTags[44], DateField) << d;
        EXPECT_EQ(s.document().project().dataSets[d].cellTags[120], TimeField) << d;
    }
}

TEST_F(SessionTest, SwitchedOffDataFieldUnderTheDateIsFreedNotPlaced) {
    Project p = s.document().project();
    p.activeDataSet = 1;
    for (int n : {2, 3}) {  // field 2 switched on beside the date, field 3 switched off under it
        FieldDefinition& f = p.dataSets[1].fields[n - 1];
        f.enabled = n == 2 ? 1 : 0;
        f.placed = 1;
        f.startAt(n == 2 ? 20 : 6);
        for (int k = f.position - 1; k < f.position + 3; ++k) p.dataSets[1].cellTags[k] = n;
    }
    p.sharedField(DateField).enabled = 1;
    p.sharedField(DateField).placed = 1;
    p.sharedField(DateField).startAt(0);
    s.document().takeProject(p, s.document().image());
    const DataSet& set = s.document().project().dataSets[1];
    EXPECT_EQ(set.fields[1].position, 21);
    EXPECT_EQ(set.fields[2].placed, 0);
    EXPECT_EQ(cells(1, 3), 0);
    EXPECT_EQ(cells(1, DateField), 8);
    // The grid shows what changed.
    const auto& grid = s.document().editor().cells();
    EXPECT_EQ(grid[6].colour, CellColour::Field);
    EXPECT_EQ(grid[8].colour, CellColour::ButtonFace);
    EXPECT_EQ(brokenInvariant(s), "");
}

TEST_F(SessionTest, HoldTimesTheDeviceCannotHoldAreRefused) {
    const struct {
        const char* data;
        const char* relay;
        bool ok;
    } cases[] = {{"0", "255", true}, {"abc", "7", true}, {"256", "3", false}, {"3", "-1", false}, {"300", "300", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.data) + "/" + c.relay);
        const DeviceSettings before = s.document().project().device;
        const Outcome out = s.settings().acceptHoldTimes({c.data, c.relay});
        EXPECT_EQ(out.ok, c.ok);
        if (c.ok) continue;
        EXPECT_EQ(out.messages, std::vector<int>{Msg::HoldTimeOutOfRange});
        EXPECT_FALSE(s.messages().text(Msg::HoldTimeOutOfRange).empty());
        EXPECT_EQ(s.document().project().device.DataHoldSeconds, before.DataHoldSeconds);
    }
    // A value from a file stays as it is.
    Project p = s.document().project();
    p.device.DataHoldSeconds = 300;
    take(p, s.document().image());
    ASSERT_TRUE(s.document().saveProjectAs("p.qor").ok);
    speakEnglish(s);
    const Outcome asked = s.document().openProject("p.qor");
    EXPECT_TRUE(asked.question.has_value());
    EXPECT_EQ(asked.question->detail, (folder / "p.qor").string() + "\ndata hold time is 300, outside 0..255");
    ASSERT_TRUE(s.answer(true).ok);
    EXPECT_EQ(s.document().project().device.DataHoldSeconds, 300);
}

TEST_F(SessionTest, FieldDialogLengthNeverExceedsTheImageLimit) {
    FieldDialogValues v = s.document().fieldDialog(1);
    EXPECT_EQ(v.maxFieldLength, 10);
    v.lengthText = "25";
    s.document().closeFieldDialog(1, DialogClose::Accept, v);
    EXPECT_EQ(s.document().project().field(1).length, 10);
    EXPECT_EQ(cells(0, 1), 10);
}

// What each operation asks the window to refresh.
TEST_F(SessionTest, OutcomesNameWhatTheWindowRefreshes) {
    DeviceImage templ = s.document().image();
    templ.mainArea[MainAt::PosExtendedCapability] = 1;
    templ.mainArea[MainAt::DataSetAvailable] = 1;
    ASSERT_TRUE(writeFileReplacing("template.bin", imageFileBytes(templ)));  // the project's template
    Project p = s.document().project();
    p.imageFileName = "template.bin";
    take(p, s.document().image());
    ASSERT_TRUE(s.document().saveProjectAs("p.qor").ok);

    const auto none = std::nullopt;
    const struct {
        const char* what;
        std::function<Outcome()> run;
        bool ok, editor, caption, labels;
        std::optional<bool> extended;
    } cases[] = {
        {"open", [&] { return s.document().openProject("p.qor"); }, true, true, true, true, true},
        {"image file", [&] { return s.document().openImageFile("template.bin"); }, true, true, true, true, true},
        {"read-back", [&] { return s.document().applyReadBack(templ); }, true, true, true, true, none},
        {"take", [&] { return s.document().takeProject(p, templ); }, true, true, true, true, true},
        {"start without default.qor", [&] { return s.document().startUp(); }, false, true, true, true, none},
        {"hold times", [&] { return s.settings().acceptHoldTimes({"5", "6"}); }, true, false, false, true, none},
        {"serial line", [&] { return s.settings().acceptDeviceSerial({0, 1, 2}); }, true, false, false, true, none},
        {"save", [&] { return s.document().saveProjectAs("p.qor"); }, true, true, true, false, none},
        {"typing", [&] { return s.document().keyPress('x'); }, true, true, false, false, none},
        {"language", [&] { return s.takeLanguage(LanguageFile{}); }, true, true, true, false, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome out = c.run();
        EXPECT_EQ(out.ok, c.ok);
        EXPECT_EQ(out.refreshEditor, c.editor);
        EXPECT_EQ(out.refreshCaption, c.caption);
        EXPECT_EQ(out.refreshSettingLabels, c.labels);
        EXPECT_EQ(out.posExtendedEnabled, c.extended);
        EXPECT_EQ(brokenInvariant(s), "");
    }
    const Outcome address = s.settings().acceptIpAddress({{"10", "0", "0", "07"}, "8080"});
    ASSERT_TRUE(address.typedAddress);
    EXPECT_EQ(address.typedAddress->first, "10.0.0.07");
    EXPECT_EQ(s.document().image().headerArea[HeaderAt::PortHigh], 80);
}

// Which operations leave unsaved changes; each case starts from the project just opened.
TEST_F(SessionTest, OnlyOperationsThatChangeTheProjectMarkItModified) {
    EXPECT_FALSE(Session().document().modified());
    s.document().clickFieldCheckBox(1);  // placed: its dialog changes nothing unless told to
    ASSERT_GT(cells(0, 1), 0);
    ASSERT_TRUE(s.document().saveProjectAs("p.qor").ok);
    auto renamed = [&] {
        FieldDialogValues v = s.document().fieldDialog(1);
        v.description += "x";
        return v;
    };
    const struct {
        const char* what;
        std::function<void()> run;
        bool changed;
    } cases[] = {
        {"typing", [&] { s.document().keyPress('x'); }, true},
        {"field check box", [&] { s.document().clickFieldCheckBox(2); }, true},
        {"summer time box", [&] { s.document().clickSummerTimeCheckBox(); }, true},
        {"time check box", [&] { s.document().clickFieldCheckBox(TimeField); }, true},
        {"no such check box", [&] { s.document().clickFieldCheckBox(FieldCount + 1); s.document().clickFieldCheckBox(0); }, false},
        {"field dialog of no data field",
         [&] {
             s.document().closeFieldDialog(0, DialogClose::Accept, renamed());
             s.document().closeFieldDialog(DateField, DialogClose::Accept, renamed());
         },
         false},
        {"field dialog accepted with a change", [&] { s.document().closeFieldDialog(1, DialogClose::Accept, renamed()); }, true},
        {"other data set's content", [&] { s.document().switchDataSet(1); s.document().clickFieldCheckBox(2); }, true},
        {"hold times", [&] { s.settings().acceptHoldTimes({"5", "6"}); }, true},
        {"IP address", [&] { s.settings().acceptIpAddress({{"10", "0", "0", "7"}, "8080"}); }, true},
        {"switching data sets", [&] { s.document().switchDataSet(1); s.document().switchDataSet(0); s.document().switchDataSet(1); }, false},
        {"field dialog cancelled", [&] { s.document().closeFieldDialog(1, DialogClose::Cancel); }, false},
        {"field dialog closed", [&] { s.document().closeFieldDialog(1, DialogClose::CloseBox); }, false},
        {"field dialog accepted unchanged",
         [&] { s.document().closeFieldDialog(1, DialogClose::Accept, s.document().fieldDialog(1)); }, false},
        {"hold times refused", [&] { s.settings().acceptHoldTimes({"300", "6"}); }, false},
        {"image built", [&] { s.document().buildImage(LocalTime{}); }, false},
        {"typing, then saved", [&] { s.document().keyPress('x'); ASSERT_TRUE(s.document().saveProjectAs("q.qor").ok); }, false},
        {"typing, then opened", [&] { s.document().keyPress('x'); ASSERT_TRUE(s.document().openProject("p.qor").ok); }, false},
        {"typing, then read back", [&] { s.document().keyPress('x'); s.document().applyReadBack(s.document().image()); }, false},
        {"typing, save failed", [&] { s.document().keyPress('x'); EXPECT_FALSE(s.document().saveProjectAs("no/such/q.qor").ok); }, true},
        {"typing, open failed", [&] { s.document().keyPress('x'); EXPECT_FALSE(s.document().openProject("missing.qor").ok); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(s.document().openProject("p.qor").ok);
        ASSERT_FALSE(s.document().modified());
        c.run();
        EXPECT_EQ(s.document().modified(), c.changed);
        EXPECT_EQ(s.document().projectCaption().find('*') != std::string::npos, c.changed);
    }
}

}  // namespace
}  // namespace vem::test
