#include <gtest/gtest.h>
#include <sys/stat.h>

#include "EnglishTexts.h"
#include "FilesFixture.h"
#include "files/ImageBuild.h"
#include "files/ImageFile.h"
#include "files/ProjectFile.h"

namespace vem::test {
namespace {

const LocalTime Noon{24, 12, 2031, 12, 5};

// ---- decoding one field record ----

struct DecodeCase {
    std::uint8_t code;
    int variableType, enabled;
    bool takesBytes;
};

TEST(DeviceImage, FieldRecordTypeCodeDecidesTypeSwitchAndWhetherTheBytesAreTaken) {
    const DecodeCase cases[] = {
        {0x02, 2, 1, true},   {0x0E, 14, 1, true},  {0x83, 3, 0, true},  {0x9E, 30, 0, true},
        {0xFF, -1, 0, false}, {0x0F, 7, 1, true},   {0x20, 7, 1, true},  {0x7F, 7, 1, true},
        {0xA0, 7, 1, false},  {0x9F, 7, 1, false},  {0xFE, 7, 1, false},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        FieldDefinition f;
        f.variableType = 7;
        f.enabled = 1;
        f.placed = 1;
        f.position = 99;
        f.description = "kept";
        f.length = 50;
        const std::uint8_t record[8] = {12, 3, 200, c.code, 4, 33, 0xEE, 0xEE};
        decodeFieldRecord(record, f);
        EXPECT_EQ(f.variableType, c.variableType);
        EXPECT_EQ(f.enabled, c.enabled);
        if (c.takesBytes) {
            EXPECT_EQ(std::tie(f.length, f.conversion, f.offset, f.row, f.column),
                      std::make_tuple(12, 3, 200, 4, 33));
        } else {
            EXPECT_EQ(std::tie(f.length, f.conversion, f.offset, f.row, f.column),
                      std::make_tuple(0, -1, 0, 0, 0));
        }
        EXPECT_EQ(std::tie(f.placed, f.position, f.description), std::make_tuple(1, 99, std::string("kept")));
    }
}

// {offset, byte} pairs of an area.
using Bytes = std::vector<std::pair<std::size_t, int>>;

// `expected` with the bytes `area` holds at its offsets.
template <std::size_t N>
Bytes bytesAt(const std::array<std::uint8_t, N>& area, Bytes expected) {
    for (auto& [offset, value] : expected) value = area[offset];
    return expected;
}

// ---- building the image ----

using ImageBuild = FilesFixture;

TEST_F(ImageBuild, ScreenCellsBecomeDeviceCodesAndBlankCellsSpaces) {
    project.screenText[0] = "&&";
    project.screenText[1] = "\xDF";
    project.screenText[2] = "\xB0";
    project.screenText[3] = "\x80";
    project.screenText[4] = "A";
    project.screenText[5] = "\xE4";
    project.screenText[6] = "\xDC";
    buildDeviceImage(project, image, Noon);
    const std::uint8_t expected[] = {38, 137, 128, 130, 65, 131, 136};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(image.screenArea[k], expected[k]) << k;
    EXPECT_EQ(image.screenArea[7], 32);
    EXPECT_EQ(image.screenArea[639], 32);
    EXPECT_EQ(project.screenText[7], " ");  // blank cells stay spaces in the project
}

TEST_F(ImageBuild, HeaderCarriesSettingsNameClockAndPortAndKeepsTheTemplatesOtherBytes) {
    image.headerArea.fill(0x77);  // the template's own bytes
    project.summerTimeManual = 1;
    project.device = DeviceSettings{.DataHoldSeconds = 300, .RelayHoldSeconds = 9, .DeviceHandshake = 1,
                                    .DeviceDataFormat = 2, .DeviceBaudIndex = 8,
                                    .IpAddress = {192, 168, 1, 20}, .IpPort = 8080};
    project.field(DateField).column = 5;
    project.field(DateField).row = 2;
    project.field(TimeField).column = 30;
    project.field(TimeField).row = 11;
    project.pos = PosSettings{.RegisterNumber = 7, .FirstLine = 3, .LineCount = 4, .ScrollDirection = 0,
                              .BackgroundMode = 2, .Transparency = 5, .TextColour = 6};
    project.projectName = "abcdefghijklmnopqrstuvwxy";  // 25 characters
    buildDeviceImage(project, image, Noon);

    const auto& h = image.headerArea;
    const std::uint8_t settings[] = {'N', 1, 1, 44, 9, 2, 8, 5, 2, 30, 11, 1,
                                     7, 0, 3, 4, 2, 5, 6, 192, 168, 1, 20, 80, 80};
    for (std::size_t i = 0; i < sizeof settings; ++i) EXPECT_EQ(h[0x40 + i], settings[i]) << std::hex << 0x40 + i;
    EXPECT_EQ(std::string(h.begin() + 0x10, h.begin() + 0x24), "abcdefghijklmnopqrst");
    EXPECT_EQ(h[0x24], 0);
    const std::uint8_t clock[] = {24, 12, 31, 12, 5};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(h[0x30 + i], clock[i]);
    for (std::size_t i : {0x00, 0x0F, 0x25, 0x2F, 0x35, 0x3F, 0x59, 0x7F}) EXPECT_EQ(h[i], 0x77) << i;

    project.projectName = "kurz";
    project.device.IpPort = 25;
    buildDeviceImage(project, image, Noon);
    EXPECT_EQ(h[0x14], 0);
    EXPECT_EQ(h[0x15], 'f');  // the rest of the older name stays behind the end mark
    EXPECT_EQ(h[0x57], 0);
    EXPECT_EQ(h[0x58], 25);
}

TEST_F(ImageBuild, PortsAboveFourDigitsKeepTheirValue) {
    for (int port : {9999, 12345, 25599}) {
        project.device.IpPort = port;
        buildDeviceImage(project, image, Noon);
        EXPECT_EQ(image.headerArea[0x57] * 100 + image.headerArea[0x58], port);
    }
    project.device.IpPort = 65535;  // beyond what two bytes carry: the largest that fits
    buildDeviceImage(project, image, Noon);
    EXPECT_EQ(image.headerArea[0x57], 255);
    EXPECT_EQ(image.headerArea[0x58], 99);
}

TEST_F(ImageBuild, FieldRecordsAndForwardingAreWrittenOverTheTemplate) {
    image.mainArea.fill(0x11);
    image.fieldRecord(2, 4).typeCode() = 0xFF;  // field 5 does not exist in data set 2
    auto field = [](int enabled, int length, int variableType, int column, int row) {
        FieldDefinition f;
        f.enabled = enabled;
        f.length = length;
        f.variableType = variableType;
        f.column = column;
        f.row = row;
        return f;
    };
    project.dataSets[2].fields[4] = field(1, 9, 0, 1, 1);
    project.dataSets[1].fields[0] = field(0, 6, 2, 3, 4);
    project.dataSets[3].fields[15] = field(1, 300, 2, 40, 16);
    project.dataSets[0].fields[1] = field(1, 10, 1, 7, 8);
    project.device.ForwardEnabled = 1;
    project.device.ForwardBaudDigit = 53;
    project.device.ForwardPrefixCode = 2;
    project.device.ForwardSuffixCode = 3;
    buildDeviceImage(project, image, Noon);

    auto bytes = [&](int d, int i) {
        const std::uint8_t* r = image.fieldRecordBytes(d, i);
        return std::vector<int>(r, r + 8);
    };
    EXPECT_EQ(bytes(2, 4), (std::vector<int>{9, 0x11, 0x11, 0xFF, 1, 1, 0x11, 0x11}));
    EXPECT_EQ(bytes(1, 0), (std::vector<int>{6, 0x11, 0x11, 0x82, 4, 3, 0x11, 0x11}));
    EXPECT_EQ(bytes(3, 15), (std::vector<int>{44, 0x11, 0x11, 0x02, 16, 40, 0x11, 0x11}));
    EXPECT_EQ(bytes(0, 1), (std::vector<int>{10, 0x11, 0x11, 0x01, 8, 7, 0x11, 0x11}));
    EXPECT_EQ(image.mainArea[0x1C52], 0);  // field 1 of data set 0: no length
    EXPECT_EQ(image.mainArea[0x1C52 + 3], 0x7F);  // an undefined field that the template had
    EXPECT_EQ(image.mainArea[0x1C52 + 128], 0x11);  // between the data sets' records
    EXPECT_EQ((std::vector<int>(image.mainArea.begin() + 0x1B00, image.mainArea.begin() + 0x1B05)),
              (std::vector<int>{1, 53, 2, 3, 0x11}));
    for (int d = 0; d < 4; ++d) EXPECT_EQ(image.mainArea[0x1B30 + d], 0x11);  // never written
}

TEST_F(ImageBuild, PosExtendedOnlyWhenTheTemplateSupportsIt) {
    image.mainArea.fill(0x11);
    image.imageTemplateLoaded = true;
    project.posExtended.StartDefinition = "AB~C";
    project.posExtended.StartDefinitionLength = 4;
    buildDeviceImage(project, image, Noon);
    for (std::size_t i = 0x3E00; i < 0x3EE0; ++i) ASSERT_EQ(image.mainArea[i], 0x11) << i;

    image.mainArea[0x3E1F] = 1;
    auto& x = project.posExtended;
    x.LimitTo40 = 1;
    x.ShowHeader = 1;
    x.EndDefinition = "END";
    x.EndDefinitionLength = 2;  // shorter than the text: only its first two characters
    x.MaxSpaces = 20;
    x.SkipMode = 1;
    x.Keyword[0] = "RABATT";
    x.KeywordLength[0] = 6;
    x.KeywordAction[0] = 5;
    x.Keyword[9] = "~X";
    x.KeywordLength[9] = 2;
    x.KeywordAction[9] = 7;
    buildDeviceImage(project, image, Noon);
    // Keyword 2 is empty with action 0; keyword texts are carried as typed.
    const Bytes expected{{0x3E00, 4},    {0x3E01, 'A'},  {0x3E02, 'B'},  {0x3E03, 0},    {0x3E04, 'C'},  {0x3E05, 0},
                         {0x3E1C, 0},    {0x3E1D, 1},    {0x3E1E, 1},    {0x3E1F, 1},    {0x3E20, 2},    {0x3E21, 'E'},
                         {0x3E22, 'N'},  {0x3E23, 0},    {0x3E3D, 0x11}, {0x3E3E, 20},   {0x3E3F, 1},    {0x3E40, 6},
                         {0x3E41, 'R'},  {0x3E42, 'A'},  {0x3E43, 'B'},  {0x3E44, 'A'},  {0x3E45, 'T'},  {0x3E46, 'T'},
                         {0x3E4E, 0},    {0x3E4F, 5},    {0x3E50, 0},    {0x3E5F, 0},    {0x3ED0, 2},    {0x3ED1, '~'},
                         {0x3EDF, 7},    {0x3EE0, 0x11}};
    EXPECT_EQ(bytesAt(image.mainArea, expected), expected);
}

TEST_F(ImageBuild, OversizedPosLengthsStayInsideTheirFields) {
    image.mainArea.fill(0x11);
    image.imageTemplateLoaded = true;
    image.mainArea[0x3E1F] = 1;
    auto& x = project.posExtended;
    x.StartDefinition = std::string(40, 'S');
    x.StartDefinitionLength = 200;
    x.EndDefinition = "E";
    x.EndDefinitionLength = 28;  // above the text's length
    x.Keyword[0] = std::string(20, 'K');
    x.KeywordLength[0] = 255;
    x.KeywordAction[0] = 1;
    x.Keyword[1] = "kw";
    x.KeywordLength[1] = -4;
    buildDeviceImage(project, image, Noon);
    // After each text its end mark or the next field: LimitTo40, the keyword's action byte.
    const Bytes expected{{0x3E00, 28}, {0x3E1C, 'S'}, {0x3E1D, 0},   {0x3E20, 1},  {0x3E21, 'E'}, {0x3E22, 0},
                         {0x3E40, 14}, {0x3E4E, 'K'}, {0x3E4F, 1},   {0x3E50, 0},  {0x3E51, 0}};
    EXPECT_EQ(bytesAt(image.mainArea, expected), expected);
}

// ---- loading an image file ----

using ImageFile = FilesFixture;

std::vector<std::uint8_t> sampleImage() {
    auto bytes = FilesFixture::blankImage();
    bytes[0x1B30 + 1] = 1;
    bytes[0x1B30 + 2] = 1;
    bytes[0x1B30 + 3] = 2;
    std::uint8_t* r = FilesFixture::record(bytes, 1, 0);
    const std::uint8_t field1[8] = {12, 1, 4, 0x00, 3, 5, 0, 0};
    std::copy(field1, field1 + 8, r);
    r = FilesFixture::record(bytes, 2, 3);
    const std::uint8_t field4[8] = {6, 2, 0, 0x85, 0, 0, 0, 0};
    std::copy(field4, field4 + 8, r);
    bytes[0x3E1F] = 1;
    std::uint8_t* h = bytes.data() + MainAreaSize;
    const std::uint8_t header[] = {'N', 1, 1, 10, 20, 2, 12, 30, 11, 28, 12};
    std::copy(header, header + sizeof header, h + 0x40);
    h[0x10] = 'Z';
    return bytes;
}

TEST_F(ImageFile, ProjectsTemplateBringsItsRecordsAndOnlyHeaderValuesWithinBounds) {
    writeImage("t.bin", sampleImage());
    project.imageFileName = "t.bin";
    project.sharedField(DateField).column = 4;
    project.sharedField(TimeField).row = 6;
    const FileResult result = loadImageFile(project, image, {});
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_TRUE(image.imageTemplateLoaded);
    EXPECT_TRUE(image.posExtendedSupported());
    EXPECT_EQ(image.headerArea[0x10], 'Z');
    // Header settings within their bounds only.
    EXPECT_EQ(project.summerTimeManual, 1);
    EXPECT_EQ(project.device.DeviceHandshake, 1);
    EXPECT_EQ(project.device.DataHoldSeconds, 10);
    EXPECT_EQ(project.device.RelayHoldSeconds, 20);
    EXPECT_EQ(project.device.DeviceDataFormat, 2);
    EXPECT_EQ(project.device.DeviceBaudIndex, 3);   // 12 refused
    EXPECT_EQ(project.field(DateField).column, 4);  // 30 refused
    EXPECT_EQ(project.field(DateField).row, 11);
    EXPECT_EQ(project.field(TimeField).column, 28);
    EXPECT_EQ(project.field(TimeField).row, 6);  // 12 refused
    // Data sets and records.
    EXPECT_EQ(project.dataSets[1].dataSetAvailable, 1);
    EXPECT_EQ(project.dataSets[3].dataSetAvailable, 2);
    EXPECT_EQ(firstAvailableDataSet(project), 1);
    const FieldDefinition& f = project.dataSets[1].fields[0];
    EXPECT_EQ(std::tie(f.variableType, f.enabled, f.length, f.conversion, f.offset, f.row, f.column),
              std::make_tuple(0, 1, 12, 1, 4, 3, 5));
    EXPECT_EQ(project.dataSets[2].fields[3].variableType, 5);
    EXPECT_EQ(project.dataSets[2].fields[3].enabled, 0);
    EXPECT_EQ(project.dataSets[0].fields[0].variableType, -1);
}

// A project's template that cannot serve leaves the project with none: nothing of the previous
// one stays to be programmed.
TEST_F(ImageFile, TemplateThatCannotServeIsNamedAndLeavesNone) {
    const std::string here = folder.string() + "/";
    writeImage("short.bin", std::vector<std::uint8_t>(ImageFileSize - 1, 0x00));
    writeImage("long.bin", std::vector<std::uint8_t>(ImageFileSize + 1, 0x00));
    ASSERT_EQ(::mkfifo("fifo.bin", 0600), 0);
    std::filesystem::create_directory("folder.bin");
    const struct {
        const char* name;
        int slot;
        std::string detail;
    } cases[] = {
        {"short.bin", Msg::ImageWrongSize, here + "short.bin: has 16511 bytes, 16512 expected"},
        {"long.bin", Msg::ImageWrongSize, here + "long.bin: has 16513 bytes, 16512 expected"},
        {"nowhere.bin", Msg::TemplateUnreadable, here + "nowhere.bin: does not exist"},
        {"fifo.bin", Msg::TemplateUnreadable, here + "fifo.bin: is a FIFO"},
        {"folder.bin", Msg::TemplateUnreadable, here + "folder.bin: is a folder"},
        {"/dev/zero", Msg::TemplateUnreadable, "/dev/zero: is not a regular file"},
    };
    writeImage("t.bin", sampleImage());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        project.imageFileName = "t.bin";
        ASSERT_TRUE(loadImageFile(project, image, {}).ok);
        project.imageFileName = c.name;
        const FileResult result = loadImageFile(project, image, {});
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.messages, std::vector<int>{c.slot});
        EXPECT_EQ(inEnglish(result.detail), c.detail);
        EXPECT_FALSE(image.imageTemplateLoaded);
        EXPECT_EQ(image.mainArea, DeviceImage().mainArea);
        EXPECT_EQ(image.headerArea, DeviceImage().headerArea);
        EXPECT_EQ(firstAvailableDataSet(project), -1);
        EXPECT_EQ(project.dataSets[1].fields[0].variableType, -1);
        EXPECT_EQ(project.dataSets[1].fields[0].offset, 0);
        EXPECT_EQ(project.dataSets[1].fields[0].conversion, -1);
    }
}

TEST_F(ImageFile, ImageFileIsTheTwoAreas) {
    image.mainArea.fill(1);
    image.headerArea.fill(2);
    const std::vector<std::uint8_t> bytes = imageFileBytes(image);
    ASSERT_EQ(bytes.size(), ImageFileSize);
    EXPECT_EQ(std::find(bytes.begin(), bytes.end(), 2) - bytes.begin(), MainAreaSize);
}

// ---- the same through the session, as the window runs it ----

using SessionImageFile = SessionFilesFixture;

// A project file saved over the template of sampleImage, naming it in line 1.
void writeProjectOverSample(const std::string& name, const std::string& imageName) {
    Project saved;
    saved.imageFileName = imageName;
    FieldDefinition& f = saved.dataSets[1].fields[0];
    f.enabled = 1;
    f.length = 12;
    f.column = 5;
    f.row = 3;
    const std::string text = writeProjectText(saved);
    SessionFilesFixture::writeFile(name, text);
}

TEST_F(SessionImageFile, OpenedProjectShowsItsTemplatesDataSets) {
    writeImage("t.bin", sampleImage());
    writeProjectOverSample("p.qor", "t.bin");
    const Outcome outcome = session.document().openProject("p.qor", "C:\\x\\p.qor");
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_TRUE(outcome.refreshCaption);
    EXPECT_TRUE(session.document().image().imageTemplateLoaded);
    EXPECT_EQ(outcome.posExtendedEnabled, std::optional<bool>(true));
    session.document().projectCaption();
    EXPECT_EQ(held().projectName, "p.qor");
    EXPECT_EQ(controls().dataSetButtonEnabled, (std::array<bool, 4>{false, true, true, false}));
    EXPECT_EQ(held().activeDataSet, 1);
    const FieldDefinition& f = held().dataSets[1].fields[0];
    EXPECT_EQ(std::tie(f.variableType, f.enabled, f.length, f.conversion, f.offset, f.row, f.column),
              std::make_tuple(0, 1, 12, 1, 4, 3, 5));
    EXPECT_EQ(held().dataSets[2].fields[3].variableType, 5);
    EXPECT_EQ(held().dataSets[2].fields[3].enabled, 0);
    EXPECT_EQ(held().dataSets[0].fields[0].variableType, -1);
    EXPECT_EQ(held().field(1).length, 12);  // working copy from data set 1
    EXPECT_TRUE(controls().fieldButtonEnabled[0]);
    EXPECT_FALSE(controls().fieldButtonEnabled[1]);
}

TEST_F(SessionImageFile, BinFileOfTheWrongSizeKeepsTheTemplateAndTheExtendedButton) {
    writeImage("t.bin", sampleImage());
    writeProjectOverSample("p.qor", "t.bin");
    ASSERT_TRUE(session.document().openProject("p.qor").ok);
    const DeviceImage before = session.document().image();
    const std::array<bool, 4> buttonsBefore = controls().dataSetButtonEnabled;
    writeImage("short.bin", std::vector<std::uint8_t>(ImageFileSize - 1, 0x00));
    writeImage("long.bin", std::vector<std::uint8_t>(ImageFileSize + 1, 0x00));
    writeImage("empty.bin", {});
    std::filesystem::create_directory("folder.bin");
    for (const std::string name : {"short.bin", "long.bin", "empty.bin", "folder.bin"}) {
        SCOPED_TRACE(name);
        const bool isFile = name != "folder.bin";
        const Outcome bin = session.document().openImageFile(name);
        EXPECT_FALSE(bin.ok);
        EXPECT_EQ(bin.messages, isFile ? std::vector<int>{Msg::BinFileWrongSize} : std::vector<int>{});
        EXPECT_FALSE(bin.posExtendedEnabled.has_value());
        EXPECT_EQ(session.document().image().mainArea, before.mainArea);
        EXPECT_EQ(session.document().image().headerArea, before.headerArea);
        EXPECT_TRUE(session.document().image().imageTemplateLoaded);
        EXPECT_EQ(controls().dataSetButtonEnabled, buttonsBefore);
    }
}

// The project opened after one with a template, whose own cannot serve, is said with the
// template's full path, keeps nothing of the other's, and is not programmed until it has one.
TEST_F(SessionImageFile, ProjectWithoutUsableTemplateKeepsNothingOfThePreviousOne) {
    writeImage("t.bin", sampleImage());
    writeImage("short.bin", std::vector<std::uint8_t>(ImageFileSize - 1, 0x00));
    writeProjectOverSample("p.qor", "t.bin");
    for (const char* name : {"short.bin", "missing.bin"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(session.document().openProject("p.qor").ok);
        writeProjectOverSample("other.qor", name);
        const Outcome opened = session.document().openProject("other.qor");
        EXPECT_TRUE(opened.ok);
        const int slot = name == std::string("short.bin") ? Msg::ImageWrongSize : Msg::TemplateUnreadable;
        EXPECT_EQ(opened.messages, std::vector<int>{slot});
        EXPECT_EQ(opened.detail.rfind((folder / name).string() + ": ", 0), 0u) << opened.detail;
        EXPECT_EQ(opened.posExtendedEnabled, std::optional<bool>(false));
        EXPECT_FALSE(session.document().image().imageTemplateLoaded);
        EXPECT_EQ(session.document().image().mainArea, DeviceImage().mainArea);
        EXPECT_EQ(session.document().image().headerArea, DeviceImage().headerArea);
        EXPECT_EQ(controls().dataSetButtonEnabled, (std::array<bool, 4>{}));
        EXPECT_EQ(controls().fieldButtonEnabled[0], false);
        EXPECT_EQ(held().dataSets[2].fields[3].variableType, -1);

        const Outcome program = session.device().startProgramming("pty", Noon);
        EXPECT_FALSE(program.ok);
        EXPECT_FALSE(program.link.openPort);
        EXPECT_EQ(program.messages, std::vector<int>{Msg::TemplateNotLoaded});
        EXPECT_EQ(program.detail, opened.detail);
    }
}

// The menu takes data set 0's records into the working copy and the header without bounds;
// the stored data sets, their availability and the active one stay.
TEST_F(SessionImageFile, BinFileMenuDecodesDataSetZeroIntoTheWorkingCopyOnly) {
    writeImage("t.bin", sampleImage());
    writeProjectOverSample("p.qor", "t.bin");
    ASSERT_TRUE(session.document().openProject("p.qor").ok);  // data set 1 active, buttons 1 and 2
    auto bytes = sampleImage();
    bytes[0x1B30 + 3] = 1;  // another availability the menu does not take
    const std::uint8_t field3[8] = {8, 0, 0, 0x81, 2, 2, 0, 0};
    std::copy(field3, field3 + 8, record(bytes, 0, 2));
    writeImage("menu.bin", bytes);
    const std::string menuFile = (folder / "menu.bin").string();
    const Outcome outcome = session.document().openImageFile(menuFile);
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(session.document().image().imageTemplateLoaded);
    EXPECT_EQ(held().imageFileName, menuFile);
    EXPECT_EQ(held().device.DeviceBaudIndex, 12);
    EXPECT_EQ(held().field(DateField).column, 30);
    EXPECT_EQ(controls().dataSetButtonEnabled, (std::array<bool, 4>{false, true, true, false}));
    EXPECT_EQ(held().activeDataSet, 1);
    EXPECT_EQ(held().dataSets[3].dataSetAvailable, 2);
    EXPECT_EQ(held().field(3).variableType, 1);
    EXPECT_EQ(held().field(3).length, 8);
    EXPECT_EQ(held().dataSets[0].fields[2].variableType, -1);
}

}  // namespace
}  // namespace vem::test
