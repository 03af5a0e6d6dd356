#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "model/DeviceImage.h"

namespace vem::test {

// A fixture `Base` working in a fresh folder that is the current working folder for the test.
template <class Base>
struct InFreshFolder : Base {
    std::filesystem::path previousFolder;
    std::filesystem::path folder;

    void SetUp() override {
        previousFolder = std::filesystem::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("vem-files-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                  std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    void TearDown() override {
        std::filesystem::current_path(previousFolder);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    static void writeFile(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // A 16512-byte image: main area `mainFill`, header zeros, no data set, no fields.
    static std::vector<std::uint8_t> blankImage(std::uint8_t mainFill = 0xFF) {
        std::vector<std::uint8_t> bytes(ImageFileSize, 0);
        std::fill_n(bytes.begin(), MainAreaSize, mainFill);
        return bytes;
    }
    static void writeImage(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
        writeFile(path, std::string(bytes.begin(), bytes.end()));
    }
    static std::uint8_t* record(std::vector<std::uint8_t>& bytes, int d, int i) {
        return bytes.data() + FieldRecordBase + DataSetRecordStride * d + FieldRecordSize * i;
    }
};

// A project, image and standalone editor in a fresh working folder, for the file functions.
using FilesFixture = InFreshFolder<EditorFixture>;
// A session in a fresh working folder, for the file operations the window runs.
using SessionFilesFixture = InFreshFolder<SessionFixture>;

}  // namespace vem::test

namespace vem::test {

// A project with every member the file carries set at random, texts from the characters the
// file can hold.
inline Project randomProject(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto text = [&](int maxLength) {
        std::string t;
        const int n = pick(0, maxLength);
        for (int i = 0; i < n; ++i) {
            int c = pick(0x20, 0xFF);
            if (c == 0x7F) c = ',';  // commas are fine outside cells
            t += static_cast<char>(c);
        }
        return t;
    };
    static const std::string cellChars = "AZaz09 .-:/!?()\x80\xB0\xC4\xD6\xDC\xDF\xE4\xF6\xFC";
    Project p;
    p.imageFileName = pick(0, 1) ? "default.bin" : "sub dir/" + text(6) + ".bin";
    for (auto& cell : p.screenText) {
        const int kind = pick(0, 9);
        if (kind < 4) cell.clear();
        else if (kind == 4) cell = "&&";
        else cell = std::string(1, cellChars[pick(0, static_cast<int>(cellChars.size()) - 1)]);
    }
    for (auto& set : p.dataSets) {
        for (auto& tag : set.cellTags) tag = pick(0, 3) == 0 ? pick(0, 18) : 0;
        for (int i = 0; i < FieldCount; ++i) {
            FieldDefinition& f = set.fields[i];
            f.enabled = pick(0, 1);
            f.placed = pick(0, 1);
            f.length = pick(0, 255);
            f.offset = pick(-5, 255);
            f.conversion = pick(-1, 4);
            f.variableType = pick(-1, 14);
            f.column = pick(0, 40);
            f.row = pick(0, 16);
            f.position = pick(-1000, 1000000);
            if (i < DataFieldCount) f.description = text(30);
        }
    }
    p.summerTimeManual = pick(0, 1);
    p.device.DataHoldSeconds = pick(0, 300);
    p.device.RelayHoldSeconds = pick(-3, 99);
    p.device.DeviceHandshake = pick(-1, 1);
    p.device.DeviceDataFormat = pick(-1, 4);
    p.device.DeviceBaudIndex = pick(-1, 9);
    for (auto& octet : p.device.IpAddress) octet = pick(0, 300);
    p.device.IpPort = pick(0, 70000);
    p.spareValue1 = pick(-100000, 100000);
    p.spareValue2 = pick(-100000, 100000);
    for (std::uint8_t* b : {&p.pos.RegisterNumber, &p.pos.FirstLine, &p.pos.LineCount,
                            &p.pos.ScrollDirection, &p.pos.BackgroundMode, &p.pos.Transparency,
                            &p.pos.TextColour})
        *b = static_cast<std::uint8_t>(pick(0, 255));
    p.device.ForwardEnabled = pick(0, 1);
    p.device.ForwardBaudDigit = pick(48, 57);
    p.device.ForwardPrefixCode = pick(0, 255);
    p.device.ForwardSuffixCode = pick(0, 255);
    auto& x = p.posExtended;
    x.LimitTo40 = pick(0, 1);
    x.StartDefinition = text(28);
    x.StartDefinitionLength = pick(0, 3) ? static_cast<int>(x.StartDefinition.size()) : pick(-2, 60);
    x.ShowHeader = pick(0, 1);
    x.EndDefinition = text(28);
    x.EndDefinitionLength = static_cast<int>(x.EndDefinition.size());
    for (int k = 0; k < KeywordCount; ++k) {
        x.Keyword[k] = text(14);
        x.KeywordLength[k] = static_cast<int>(x.Keyword[k].size());
        x.KeywordAction[k] = pick(0, 7);
    }
    x.MaxSpaces = pick(0, 20);
    x.SkipMode = pick(0, 1);
    return p;
}

// Every member the project file carries back (so not offset, conversion and type of fields
// 1..16, nor the working copy).
inline void expectSameFileContent(const Project& a, const Project& b) {
    EXPECT_EQ(a.imageFileName, b.imageFileName);
    EXPECT_EQ(a.screenText, b.screenText);
    for (int d = 0; d < DataSetCount; ++d) {
        SCOPED_TRACE("data set " + std::to_string(d));
        EXPECT_EQ(a.dataSets[d].cellTags, b.dataSets[d].cellTags);
        for (int i = 0; i < FieldCount; ++i) {
            SCOPED_TRACE("field " + std::to_string(i + 1));
            const FieldDefinition& f = a.dataSets[d].fields[i];
            const FieldDefinition& g = b.dataSets[d].fields[i];
            EXPECT_EQ(f.enabled, g.enabled);
            EXPECT_EQ(f.placed, g.placed);
            EXPECT_EQ(f.length, g.length);
            EXPECT_EQ(f.column, g.column);
            EXPECT_EQ(f.row, g.row);
            EXPECT_EQ(f.position, g.position);
            EXPECT_EQ(f.description, g.description);
            if (i >= DataFieldCount) {
                EXPECT_EQ(f.variableType, g.variableType);
            }
        }
    }
    EXPECT_EQ(a.summerTimeManual, b.summerTimeManual);
    const DeviceSettings &d = a.device, &e = b.device;
    EXPECT_EQ(std::tie(d.DataHoldSeconds, d.RelayHoldSeconds, d.DeviceHandshake, d.DeviceDataFormat,
                       d.DeviceBaudIndex, d.IpAddress, d.IpPort, d.ForwardEnabled, d.ForwardBaudDigit,
                       d.ForwardPrefixCode, d.ForwardSuffixCode),
              std::tie(e.DataHoldSeconds, e.RelayHoldSeconds, e.DeviceHandshake, e.DeviceDataFormat,
                       e.DeviceBaudIndex, e.IpAddress, e.IpPort, e.ForwardEnabled, e.ForwardBaudDigit,
                       e.ForwardPrefixCode, e.ForwardSuffixCode));
    EXPECT_EQ(a.spareValue1, b.spareValue1);
    EXPECT_EQ(a.spareValue2, b.spareValue2);
    const PosSettings &p = a.pos, &q = b.pos;
    EXPECT_EQ(std::tie(p.RegisterNumber, p.FirstLine, p.LineCount, p.ScrollDirection, p.BackgroundMode,
                       p.Transparency, p.TextColour),
              std::tie(q.RegisterNumber, q.FirstLine, q.LineCount, q.ScrollDirection, q.BackgroundMode,
                       q.Transparency, q.TextColour));
    const PosExtendedSettings &x = a.posExtended, &y = b.posExtended;
    EXPECT_EQ(std::tie(x.LimitTo40, x.StartDefinitionLength, x.StartDefinition, x.ShowHeader,
                       x.EndDefinitionLength, x.EndDefinition, x.KeywordLength, x.Keyword,
                       x.KeywordAction, x.MaxSpaces, x.SkipMode),
              std::tie(y.LimitTo40, y.StartDefinitionLength, y.StartDefinition, y.ShowHeader,
                       y.EndDefinitionLength, y.EndDefinition, y.KeywordLength, y.Keyword,
                       y.KeywordAction, y.MaxSpaces, y.SkipMode));
}

}  // namespace vem::test
