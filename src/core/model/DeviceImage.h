#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vem {

struct FieldDefinition;

// The low 8 bits of a value, as a byte of the image keeps it.
constexpr std::uint8_t low8(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

constexpr std::size_t MainAreaSize = 16384;
constexpr std::size_t HeaderAreaSize = 128;
constexpr std::size_t ScreenAreaSize = 640;
constexpr std::size_t ImageFileSize = MainAreaSize + HeaderAreaSize;  // 16512
// The video signal settings the device takes in one block (zeros after them).
constexpr std::size_t VideoSettingsSize = 11;

constexpr std::size_t FieldRecordBase = 0x1C52;
constexpr std::size_t FieldRecordSize = 8;
constexpr std::size_t DataSetRecordStride = 256;

// Known places in the main area.
namespace MainAt {
constexpr std::size_t ForwardEnabled = 0x1B00;
constexpr std::size_t ForwardBaudDigit = 0x1B01;
constexpr std::size_t ForwardPrefixCode = 0x1B02;
constexpr std::size_t ForwardSuffixCode = 0x1B03;
constexpr std::size_t DataSetAvailable = 0x1B30;  // + data set 0..3
// POS extended block, 224 bytes.
constexpr std::size_t PosExtended = 0x3E00;
constexpr std::size_t PosExtendedSize = 224;
constexpr std::size_t StartDefinitionLength = 0x3E00;
constexpr std::size_t StartDefinition = 0x3E01;
constexpr std::size_t DefinitionWidth = 28;
constexpr std::size_t LimitTo40 = 0x3E1D;
constexpr std::size_t ShowHeader = 0x3E1E;
constexpr std::size_t PosExtendedCapability = 0x3E1F;
constexpr std::size_t EndDefinitionLength = 0x3E20;
constexpr std::size_t EndDefinition = 0x3E21;
constexpr std::size_t MaxSpaces = 0x3E3E;
constexpr std::size_t SkipMode = 0x3E3F;
constexpr std::size_t Keywords = 0x3E40;  // + 16 * keyword 0..9
constexpr std::size_t KeywordStride = 16;
constexpr std::size_t KeywordWidth = 14;
}  // namespace MainAt

// Known places in the header area.
namespace HeaderAt {
constexpr std::size_t ProjectName = 0x10;
constexpr std::size_t ProjectNameMax = 20;
constexpr std::size_t ProgramDay = 0x30;
constexpr std::size_t ProgramMonth = 0x31;
constexpr std::size_t ProgramYear = 0x32;
constexpr std::size_t ProgramHour = 0x33;
constexpr std::size_t ProgramMinute = 0x34;
constexpr std::size_t Marker = 0x40;  // always 'N'
constexpr std::size_t SummerTimeManual = 0x41;
constexpr std::size_t Handshake = 0x42;
constexpr std::size_t DataHold = 0x43;
constexpr std::size_t RelayHold = 0x44;
constexpr std::size_t DataFormat = 0x45;
constexpr std::size_t BaudIndex = 0x46;
constexpr std::size_t DateColumn = 0x47;
constexpr std::size_t DateRow = 0x48;
constexpr std::size_t TimeColumn = 0x49;
constexpr std::size_t TimeRow = 0x4A;
constexpr std::size_t One = 0x4B;  // always 1
// POS settings in the device's order.
constexpr std::size_t RegisterNumber = 0x4C;
constexpr std::size_t ScrollDirection = 0x4D;
constexpr std::size_t FirstLine = 0x4E;
constexpr std::size_t LineCount = 0x4F;
constexpr std::size_t BackgroundMode = 0x50;
constexpr std::size_t Transparency = 0x51;
constexpr std::size_t TextColour = 0x52;
constexpr std::size_t IpAddress = 0x53;  // four octets
constexpr std::size_t PortHigh = 0x57;
constexpr std::size_t PortLow = 0x58;
}  // namespace HeaderAt

// One field's 8-byte record inside the main area.
struct FieldRecord {
    std::uint8_t* bytes;
    std::uint8_t& length() const { return bytes[0]; }
    std::uint8_t& conversion() const { return bytes[1]; }
    std::uint8_t& offset() const { return bytes[2]; }
    std::uint8_t& typeCode() const { return bytes[3]; }
    std::uint8_t& row() const { return bytes[4]; }
    std::uint8_t& column() const { return bytes[5]; }
};

// The device's configuration as it is programmed and read back, held once for the whole run.
struct DeviceImage {
    std::array<std::uint8_t, MainAreaSize> mainArea{};
    std::array<std::uint8_t, HeaderAreaSize> headerArea{};
    std::array<std::uint8_t, ScreenAreaSize> screenArea{};
    bool imageTemplateLoaded = false;

    // Record of data field `fieldIndex` (0..15) in data set `dataSet` (0..3).
    FieldRecord fieldRecord(int dataSet, int fieldIndex) {
        return {mainArea.data() + FieldRecordBase + DataSetRecordStride * dataSet +
                FieldRecordSize * fieldIndex};
    }
    const std::uint8_t* fieldRecordBytes(int dataSet, int fieldIndex) const {
        return mainArea.data() + FieldRecordBase + DataSetRecordStride * dataSet +
               FieldRecordSize * fieldIndex;
    }
    std::uint8_t maxFieldLength(int dataSet, int fieldNumber) const {
        return fieldRecordBytes(dataSet, fieldNumber - 1)[0];
    }
    // Writes the network port into the two header bytes the device reads it from.
    void storePortSplit(int port);
    // True when a loaded template says the device takes the POS extended settings.
    bool posExtendedSupported() const {
        return imageTemplateLoaded && mainArea[MainAt::PosExtendedCapability] == 1;
    }
};

// The three areas as the device holds them, each with its name and the file it is kept in when
// the areas are kept one file each (a build's output, the simulated device's memory).
struct ImageArea {
    const char* name;
    const char* fileName;
    std::span<const std::uint8_t> bytes;
};
inline std::array<ImageArea, 3> imageAreas(const DeviceImage& image) {
    return {{{"main", "main.bin", image.mainArea},
             {"header", "header.bin", image.headerArea},
             {"screen", "screen.bin", image.screenArea}}};
}

struct PortBytes {
    std::uint8_t high;  // port div 100
    std::uint8_t low;   // port mod 100
};

// The port as the device stores it: its decimal value div 100 and mod 100, so the device
// reads back high * 100 + low. Ports below 0 give 0 and 0; ports above 25599, which two bytes
// cannot carry, are stored as 25599.
PortBytes splitPort(int port);

// Turns one 8-byte field record into the members of one data field. The type code (byte 3)
// decides: below 0x0F a switched-on field of that type, 0x80..0x9E a switched-off one, 0xFF no
// field; any other code keeps type and switch. Codes up to 0x9E take length, conversion,
// offset, row and column from the record, higher codes clear them. `placed`, `position` and
// `description` are never touched.
void decodeFieldRecord(const std::uint8_t* record, FieldDefinition& target);

}  // namespace vem
