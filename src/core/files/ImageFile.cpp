#include "files/ImageFile.h"

#include <algorithm>
#include <filesystem>

#include "i18n/MessageTable.h"
#include "model/DeviceImage.h"
#include "model/Project.h"

namespace vem {

void takeHeaderSettings(Project& p, const DeviceImage& image, bool bounded) {
    const auto& h = image.headerArea;
    auto take = [bounded](std::int32_t& member, std::uint8_t value, int below) {
        if (!bounded || below == 0 || value < below) member = value;
    };
    take(p.summerTimeManual, h[HeaderAt::SummerTimeManual], 2);
    take(p.device.DeviceHandshake, h[HeaderAt::Handshake], 2);
    take(p.device.DataHoldSeconds, h[HeaderAt::DataHold], 0);
    take(p.device.RelayHoldSeconds, h[HeaderAt::RelayHold], 0);
    take(p.device.DeviceDataFormat, h[HeaderAt::DataFormat], 3);
    take(p.device.DeviceBaudIndex, h[HeaderAt::BaudIndex], 10);
    take(p.sharedField(DateField).column, h[HeaderAt::DateColumn], 29);
    take(p.sharedField(DateField).row, h[HeaderAt::DateRow], 12);
    take(p.sharedField(TimeField).column, h[HeaderAt::TimeColumn], 29);
    take(p.sharedField(TimeField).row, h[HeaderAt::TimeRow], 12);
}

int firstAvailableDataSet(const Project& p) {
    for (int d = 0; d < DataSetCount; ++d)
        if (p.dataSets[d].dataSetAvailable == 1) return d;
    return -1;
}

namespace {

// The image bytes become the template; the header's settings are taken, within their limits
// when `bounded`.
void takeTemplate(Project& p, DeviceImage& image, std::span<const std::uint8_t> bytes, bool bounded) {
    std::copy_n(bytes.begin(), MainAreaSize, image.mainArea.begin());
    std::copy_n(bytes.begin() + MainAreaSize, HeaderAreaSize, image.headerArea.begin());
    image.imageTemplateLoaded = true;
    takeHeaderSettings(p, image, bounded);
}

FileResult failed(int slot = -1) {
    FileResult r;
    r.ok = false;
    if (slot >= 0) r.messages.push_back(slot);
    return r;
}

}  // namespace

FileResult loadImageBytes(Project& p, DeviceImage& image, std::span<const std::uint8_t> bytes) {
    // The previous template stays whole: programming never sends a half-reset image.
    if (bytes.size() != ImageFileSize) return failed(Msg::ImageWrongSize);
    takeTemplate(p, image, bytes, true);
    for (int d = 0; d < DataSetCount; ++d) {
        p.dataSets[d].dataSetAvailable = image.mainArea[MainAt::DataSetAvailable + d];
        for (int i = 0; i < DataFieldCount; ++i)
            decodeFieldRecord(image.fieldRecordBytes(d, i), p.dataSets[d].fields[i]);
    }
    return {};
}

FileResult loadImageFile(Project& p, DeviceImage& image, const std::filesystem::path& folder) {
    const std::string name = absoluteName(nameFrom(folder, p.imageFileName));
    const FileRead file = readRegularFile(name, ImageFileSize);
    if (file.ok() && file.size == ImageFileSize) {
        p.templatePath = name;
        return loadImageBytes(p, image, file.bytes);
    }
    clearTemplate(p, image);
    p.templatePath.clear();
    const bool wrongSize = file.ok() || file.fault == FileFault::TooLarge;
    FileResult result = failed(wrongSize ? Msg::ImageWrongSize : Msg::TemplateUnreadable);
    result.detail = wrongSize ? SlotMessage{Msg::FileWrongSize, {name, std::to_string(file.size), std::to_string(ImageFileSize)}}
                              : fileFaultMessage(file.fault, name, ImageFileSize);
    return result;
}

void clearTemplate(Project& p, DeviceImage& image) {
    image = DeviceImage{};
    const FieldDefinition none;
    for (DataSet& set : p.dataSets) {
        set.dataSetAvailable = 0;
        for (int i = 0; i < DataFieldCount; ++i) {
            set.fields[i].variableType = none.variableType;
            set.fields[i].offset = none.offset;
            set.fields[i].conversion = none.conversion;
        }
    }
}

FileResult openImageFile(Project& p, DeviceImage& image, const std::string& chosen) {
    const auto bytes = readFileBytes(chosen, ImageFileSize + 1);
    if (!bytes) return failed();
    if (bytes->size() != ImageFileSize) return failed(Msg::BinFileWrongSize);
    p.imageFileName = chosen;
    p.templatePath = absoluteName(chosen);
    takeTemplate(p, image, *bytes, false);
    for (int i = 0; i < DataFieldCount; ++i) decodeFieldRecord(image.fieldRecordBytes(0, i), p.fields[i]);
    return {};
}

std::vector<std::uint8_t> imageFileBytes(const DeviceImage& image) {
    std::vector<std::uint8_t> bytes(image.mainArea.begin(), image.mainArea.end());
    bytes.insert(bytes.end(), image.headerArea.begin(), image.headerArea.end());
    return bytes;
}

}  // namespace vem
