#include "files/ImageFile.h"

#include <algorithm>

#include "editor/Editor.h"
#include "model/DeviceImage.h"
#include "files/ProjectFile.h"

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
    take(p.field(DateField).column, h[HeaderAt::DateColumn], 29);
    take(p.field(DateField).row, h[HeaderAt::DateRow], 12);
    take(p.field(TimeField).column, h[HeaderAt::TimeColumn], 29);
    take(p.field(TimeField).row, h[HeaderAt::TimeRow], 12);
}

namespace {

void clearFieldCaptions(Editor& editor) {
    for (auto& caption : editor.controls.fieldBoxCaption) caption.clear();
}

// The image bytes become the template; the header's settings are taken, within their limits
// when `bounded`.
FileOutcome takeTemplate(Editor& editor, std::span<const std::uint8_t> bytes, bool bounded) {
    DeviceImage& image = editor.image;
    std::copy_n(bytes.begin(), MainAreaSize, image.mainArea.begin());
    std::copy_n(bytes.begin() + MainAreaSize, HeaderAreaSize, image.headerArea.begin());
    image.imageTemplateLoaded = true;
    showProjectName(editor.project, editor.messages);
    takeHeaderSettings(editor.project, image, bounded);
    FileOutcome outcome;
    outcome.refreshCaption = true;
    outcome.refreshSettingLabels = true;
    return outcome;
}

}  // namespace

int takeDataSetFlags(Editor& editor) {
    int firstAvailable = -1;
    for (int d = 0; d < DataSetCount; ++d) {
        const std::uint8_t flag = editor.image.mainArea[MainAt::DataSetAvailable + d];
        editor.project.dataSets[d].dataSetAvailable = flag;
        editor.controls.dataSetButtonEnabled[d] = flag == 1;
        if (flag == 1 && firstAvailable < 0) firstAvailable = d;
    }
    return firstAvailable;
}

void activateDataSet(Editor& editor, int dataSet) {
    editor.project.activeDataSet = dataSet;
    editor.project.loadWorkingFields(dataSet, false);
    clearFieldCaptions(editor);
    editor.showDataFieldControls(true);
}

FileOutcome loadImageBytes(Editor& editor, std::span<const std::uint8_t> bytes) {
    if (bytes.size() != ImageFileSize) {
        // The previous template stays whole: programming never sends a half-reset image.
        FileOutcome refused;
        refused.ok = false;
        refused.messages.push_back(Msg::ImageWrongSize);
        return refused;
    }
    FileOutcome outcome = takeTemplate(editor, bytes, true);
    const int firstAvailable = takeDataSetFlags(editor);
    for (int d = 0; d < DataSetCount; ++d)
        for (int i = 0; i < DataFieldCount; ++i)
            decodeFieldRecord(editor.image.fieldRecordBytes(d, i), editor.project.dataSets[d].fields[i]);
    if (firstAvailable >= 0) activateDataSet(editor, firstAvailable);
    outcome.posExtendedEnabled = editor.image.posExtendedSupported();
    return outcome;
}

FileOutcome loadImageFile(Editor& editor) {
    const auto bytes = readFileBytes(editor.project.imageFileName, ImageFileSize + 1);
    if (!bytes) {
        FileOutcome nothing;
        nothing.ok = false;
        return nothing;
    }
    return loadImageBytes(editor, *bytes);
}

FileOutcome openImageFile(Editor& editor, const std::string& chosen) {
    FileOutcome outcome;
    const auto bytes = readFileBytes(chosen, ImageFileSize + 1);
    if (!bytes) {
        outcome.ok = false;
        return outcome;
    }
    if (bytes->size() != ImageFileSize) {
        outcome.ok = false;
        outcome.messages.push_back(Msg::BinFileWrongSize);
        return outcome;
    }
    editor.project.imageFileName = chosen;
    outcome = takeTemplate(editor, *bytes, false);
    for (int i = 0; i < DataFieldCount; ++i)
        decodeFieldRecord(editor.image.fieldRecordBytes(0, i), editor.project.fields[i]);
    clearFieldCaptions(editor);
    editor.showDataFieldControls(false);
    return outcome;
}

bool writeReadoutImage(const DeviceImage& image) {
    std::vector<std::uint8_t> bytes(image.mainArea.begin(), image.mainArea.end());
    bytes.insert(bytes.end(), image.headerArea.begin(), image.headerArea.end());
    return writeFileReplacing(ReadoutFileName, bytes);
}

}  // namespace vem
