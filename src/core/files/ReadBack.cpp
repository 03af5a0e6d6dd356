#include "files/ReadBack.h"

#include "model/CharCodes.h"
#include "editor/Editor.h"
#include "model/DeviceImage.h"
#include "files/ImageFile.h"

namespace vem {

std::string headerProjectName(const DeviceImage& image) {
    const auto* name = image.headerArea.data() + HeaderAt::ProjectName;
    for (std::size_t i = 0; i < HeaderAt::ProjectNameMax; ++i)
        if (name[i] == 0) return std::string(name, name + i);
    return std::string(name, name + 18);
}

namespace {

// First cell of a field's run, or -1 when the run does not lie wholly on the screen.
int runStart(const FieldDefinition& f) {
    const int s = (f.row - 1) * ScreenColumns + (f.column - 1);
    if (f.row < 1 || f.column < 1 || f.length <= 0 || s < 0 || s + f.length > CellCount) return -1;
    return s;
}

bool runIsFree(const CellTags& tags, int s, int length) {
    for (int c = s; c < s + length; ++c)
        if (tags[c] != 0) return false;
    return true;
}

}  // namespace

FileOutcome applyDeviceImage(Editor& editor) {
    Project& p = editor.project;
    const DeviceImage& image = editor.image;
    const auto& h = image.headerArea;
    FileOutcome outcome;

    // 1. Settings from the header, each only within its bounds.
    takeHeaderSettings(p, image, true);
    for (int i = 0; i < 4; ++i) p.device.IpAddress[i] = h[HeaderAt::IpAddress + i];
    p.device.IpPort = h[HeaderAt::PortHigh] * 100 + h[HeaderAt::PortLow];
    p.pos.RegisterNumber = h[HeaderAt::RegisterNumber];
    p.pos.ScrollDirection = h[HeaderAt::ScrollDirection];
    p.pos.FirstLine = h[HeaderAt::FirstLine];
    p.pos.LineCount = h[HeaderAt::LineCount];
    p.pos.BackgroundMode = h[HeaderAt::BackgroundMode];
    p.pos.Transparency = h[HeaderAt::Transparency];
    p.pos.TextColour = h[HeaderAt::TextColour];

    // 2. Date and time are on exactly when they have a row. The boxes show the image's state
    // without running their placement handler: the cells come from the image (step 9).
    struct ClockField {
        int column, row, enabled;
    };
    ClockField clock[2];
    for (int j = 0; j < 2; ++j) {
        const int n = DateField + j;
        FieldDefinition& f = p.field(n);
        const bool on = f.row > 0;
        clock[j] = {f.column, f.row, on ? 1 : 0};
        editor.controls.fieldBoxTicked[n - 1] = on;
        f.enabled = clock[j].enabled;
    }

    // 3. Hold time and interface labels.
    outcome.refreshSettingLabels = true;

    // 4. Project name.
    p.projectName = headerProjectName(image);
    outcome.refreshCaption = true;

    // 5. Screen text.
    for (int k = 0; k < CellCount; ++k) p.screenText[k] = cellTextForDeviceCode(image.screenArea[k]);

    // 6. Available data sets.
    const int first = takeDataSetFlags(editor);

    // 7. Field records.
    for (int d = 0; d < DataSetCount; ++d)
        for (int i = 0; i < DataFieldCount; ++i)
            decodeFieldRecord(image.fieldRecordBytes(d, i), p.dataSets[d].fields[i]);

    // 8. The image holds no descriptions.
    for (int i = 0; i < DataFieldCount; ++i) {
        p.fields[i].description.clear();
        for (auto& set : p.dataSets) set.fields[i].description.clear();
    }

    // 9. Cells of every field the image places. Date and time come first so that they hold
    // the same cells in every data set; a data field whose run is already taken gets no cells
    // rather than a part of them. Every field records whether it got its cells.
    for (int j = 0; j < 2; ++j) {
        FieldDefinition& working = p.field(DateField + j);
        working.column = clock[j].column;
        working.row = clock[j].row;
        working.enabled = clock[j].enabled;
        if (working.column > 0) working.length = 8;
    }
    for (int d = 0; d < DataSetCount; ++d) {
        DataSet& set = p.dataSets[d];
        for (int j = 0; j < 2; ++j) {
            FieldDefinition& f = set.fields[DateField - 1 + j];
            f.column = clock[j].column;
            f.row = clock[j].row;
            f.enabled = clock[j].enabled;
            if (f.column > 0) f.length = 8;
        }
        set.cellTags.fill(0);
        const bool available = set.dataSetAvailable == 1;
        auto place = [&](int n) {
            FieldDefinition& f = set.fields[n - 1];
            const int s = runStart(f);
            // Date and time are shared: their place does not depend on this data set.
            const bool shared = n > DataFieldCount;
            if (f.enabled == 1 && f.variableType == 0 && s >= 0 && (shared || available) &&
                runIsFree(set.cellTags, s, f.length)) {
                if (available)
                    for (int c = s; c < s + f.length; ++c) set.cellTags[c] = n;
                f.placed = 1;
                f.position = s + 1;
            } else {
                f.placed = 0;
                f.position = 0;
            }
        };
        place(DateField);
        place(TimeField);
        for (int n = 1; n <= DataFieldCount; ++n) place(n);
    }
    // The shared definitions keep their place in the window's working copy too.
    for (int n : {DateField, TimeField}) {
        p.field(n).placed = p.sharedField(n).placed;
        p.field(n).position = p.sharedField(n).position;
    }

    // 10. The first available data set becomes the active one. As for date and time, the boxes
    // take the image's switch states directly, so no placement handler runs on the grid of the
    // data set shown before: every field has exactly the cells step 9 gave it (a switched-on
    // "Datenzähler" none, until its box places it).
    if (first >= 0) {
        for (int i = 0; i < DataFieldCount; ++i) {
            const FieldDefinition& f = p.dataSets[first].fields[i];
            editor.controls.fieldBoxTicked[i] = f.isDefined() && f.enabled == 1;
        }
        activateDataSet(editor, first);
    }

    // 11.
    editor.refreshWindowFromProject();
    return outcome;
}

}  // namespace vem
