#include "files/ImageBuild.h"

#include <algorithm>
#include <ctime>

#include "model/CharCodes.h"
#include "model/DeviceImage.h"
#include "model/Project.h"

namespace vem {

LocalTime currentLocalTime() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return {tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900, tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59)};
}

namespace {

// One text field of the POS extended block: the length byte and at most `width` characters.
// The length byte holds the number of characters actually written, so neither a length above
// the field's width nor one above the text's own length can reach past the field or the text.
// With `tildeAsZero` each "~" is stored as 0x00.
void writeTextField(std::uint8_t* lengthByte, std::uint8_t* field, std::size_t width, int length,
                    const std::string& text, bool tildeAsZero) {
    std::fill_n(field, width, 0);
    const std::size_t n =
        std::min({static_cast<std::size_t>(std::max(length, 0)), width, text.size()});
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        field[i] = (tildeAsZero && c == '~') ? 0 : c;
    }
    *lengthByte = static_cast<std::uint8_t>(n);
}

void writePosExtended(DeviceImage& image, const PosExtendedSettings& x) {
    auto& m = image.mainArea;
    writeTextField(&m[MainAt::StartDefinitionLength], &m[MainAt::StartDefinition],
                   MainAt::DefinitionWidth, x.StartDefinitionLength, x.StartDefinition, true);
    m[MainAt::LimitTo40] = low8(x.LimitTo40);
    m[MainAt::ShowHeader] = low8(x.ShowHeader);
    writeTextField(&m[MainAt::EndDefinitionLength], &m[MainAt::EndDefinition],
                   MainAt::DefinitionWidth, x.EndDefinitionLength, x.EndDefinition, true);
    m[MainAt::MaxSpaces] = low8(x.MaxSpaces);
    m[MainAt::SkipMode] = low8(x.SkipMode);
    for (int k = 0; k < KeywordCount; ++k) {
        std::uint8_t* entry = &m[MainAt::Keywords + MainAt::KeywordStride * k];
        writeTextField(&entry[0], &entry[1], MainAt::KeywordWidth, x.KeywordLength[k], x.Keyword[k],
                       false);
        entry[15] = low8(x.KeywordAction[k]);
    }
}

}  // namespace

void buildDeviceImage(Project& p, DeviceImage& image, const LocalTime& now) {
    for (auto& text : p.screenText)
        if (text.empty()) text = " ";
    for (int k = 0; k < CellCount; ++k) image.screenArea[k] = deviceCodeForCell(p.screenText[k]);

    auto& h = image.headerArea;
    const DeviceSettings& dev = p.device;
    h[HeaderAt::Marker] = 'N';
    h[HeaderAt::SummerTimeManual] = low8(p.summerTimeManual);
    h[HeaderAt::Handshake] = low8(dev.DeviceHandshake);
    h[HeaderAt::DataHold] = low8(dev.DataHoldSeconds);
    h[HeaderAt::RelayHold] = low8(dev.RelayHoldSeconds);
    h[HeaderAt::DataFormat] = low8(dev.DeviceDataFormat);
    h[HeaderAt::BaudIndex] = low8(dev.DeviceBaudIndex);
    h[HeaderAt::DateColumn] = low8(p.field(DateField).column);
    h[HeaderAt::DateRow] = low8(p.field(DateField).row);
    h[HeaderAt::TimeColumn] = low8(p.field(TimeField).column);
    h[HeaderAt::TimeRow] = low8(p.field(TimeField).row);
    h[HeaderAt::One] = 0x01;
    h[HeaderAt::RegisterNumber] = p.pos.RegisterNumber;
    h[HeaderAt::ScrollDirection] = p.pos.ScrollDirection;
    h[HeaderAt::FirstLine] = p.pos.FirstLine;
    h[HeaderAt::LineCount] = p.pos.LineCount;
    h[HeaderAt::BackgroundMode] = p.pos.BackgroundMode;
    h[HeaderAt::Transparency] = p.pos.Transparency;
    h[HeaderAt::TextColour] = p.pos.TextColour;
    for (int i = 0; i < 4; ++i) h[HeaderAt::IpAddress + i] = low8(dev.IpAddress[i]);
    image.storePortSplit(dev.IpPort);

    const std::size_t n = std::min(HeaderAt::ProjectNameMax, p.projectName.size());
    std::copy_n(p.projectName.begin(), n, h.begin() + HeaderAt::ProjectName);
    h[HeaderAt::ProjectName + n] = 0x00;

    h[HeaderAt::ProgramDay] = low8(now.day);
    h[HeaderAt::ProgramMonth] = low8(now.month);
    h[HeaderAt::ProgramYear] = low8(((now.year % 100) + 100) % 100);
    h[HeaderAt::ProgramHour] = low8(now.hour);
    h[HeaderAt::ProgramMinute] = low8(now.minute);

    for (int d = 0; d < DataSetCount; ++d) {
        for (int i = 0; i < DataFieldCount; ++i) {
            const FieldDefinition& f = p.dataSets[d].fields[i];
            FieldRecord r = image.fieldRecord(d, i);
            r.length() = low8(f.length);
            if (r.typeCode() != 0xFF) r.typeCode() = low8(f.enabled == 1 ? f.variableType : f.variableType + 0x80);
            r.row() = low8(f.row);
            r.column() = low8(f.column);
        }
    }

    auto& m = image.mainArea;
    m[MainAt::ForwardEnabled] = low8(dev.ForwardEnabled);
    m[MainAt::ForwardBaudDigit] = low8(dev.ForwardBaudDigit);
    m[MainAt::ForwardPrefixCode] = low8(dev.ForwardPrefixCode);
    m[MainAt::ForwardSuffixCode] = low8(dev.ForwardSuffixCode);

    if (image.posExtendedSupported()) writePosExtended(image, p.posExtended);
}

}  // namespace vem
