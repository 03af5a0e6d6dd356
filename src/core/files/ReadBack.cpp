#include "files/ReadBack.h"

#include "files/ImageFile.h"
#include "model/CharCodes.h"
#include "model/DeviceImage.h"
#include "model/FieldCells.h"

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
    const int s = cellIndex(f.row - 1, f.column - 1);
    if (f.row < 1 || f.column < 1 || f.length <= 0 || s < 0 || s + f.length > CellCount) return -1;
    return s;
}

bool runIsFree(const CellTags& tags, int s, int length) {
    for (int c = s; c < s + length; ++c)
        if (tags[c] != 0) return false;
    return true;
}

void takeSettings(Project& p, const DeviceImage& image) {
    const auto& h = image.headerArea;
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
}

// Date and time are on exactly when they have a row, eight cells long when they have a column,
// and placed where the header puts them when they are of type "Daten". Every data set's own
// copy (kept for the file) takes the same column, row, switch and length.
void takeDateAndTime(Project& p) {
    for (int n : {DateField, TimeField}) {
        FieldDefinition& f = p.sharedField(n);
        f.enabled = f.row > 0 ? 1 : 0;
        if (f.column > 0) f.length = 8;
        const int s = runStart(f);
        const bool placed = f.enabled == 1 && f.variableType == 0 && s >= 0;
        f.placed = placed ? 1 : 0;
        f.position = placed ? s + 1 : 0;
        for (DataSet& set : p.dataSets) {
            FieldDefinition& copy = set.fields[n - 1];
            copy.column = f.column;
            copy.row = f.row;
            copy.enabled = f.enabled;
            if (copy.column > 0) copy.length = 8;
        }
    }
}

// Availability, field records and cleared cells of every data set; the image holds no
// descriptions. Returns the first available data set, or -1.
int takeDataSets(Project& p, const DeviceImage& image) {
    int first = -1;
    for (int d = 0; d < DataSetCount; ++d) {
        DataSet& set = p.dataSets[d];
        set.dataSetAvailable = image.mainArea[MainAt::DataSetAvailable + d];
        if (set.dataSetAvailable == 1 && first < 0) first = d;
        for (int i = 0; i < DataFieldCount; ++i) {
            decodeFieldRecord(image.fieldRecordBytes(d, i), set.fields[i]);
            set.fields[i].description.clear();
        }
        set.cellTags.fill(0);
    }
    for (auto& f : p.fields) f.description.clear();
    return first;
}

// A switched-on "Daten" field of an available data set gets the cells the image gives it, when
// they are still free; a field whose run is taken gets none rather than a part of them.
void placeDataFields(Project& p) {
    for (DataSet& set : p.dataSets) {
        for (int n = 1; n <= DataFieldCount; ++n) {
            FieldDefinition& f = set.fields[n - 1];
            const int s = runStart(f);
            const bool placed = set.dataSetAvailable == 1 && f.enabled == 1 && f.variableType == 0 &&
                                s >= 0 && runIsFree(set.cellTags, s, f.length);
            for (int c = s; placed && c < s + f.length; ++c) set.cellTags[c] = n;
            f.placed = placed ? 1 : 0;
            f.position = placed ? s + 1 : 0;
        }
    }
}

}  // namespace

int applyDeviceImage(Project& p, const DeviceImage& image) {
    takeSettings(p, image);
    p.projectName = headerProjectName(image);
    for (int k = 0; k < CellCount; ++k) p.screenText[k] = cellTextForDeviceCode(image.screenArea[k]);
    const int first = takeDataSets(p, image);
    // Date and time first, so that they hold the same cells in every data set.
    takeDateAndTime(p);
    shareDateTimeCells(p);
    placeDataFields(p);
    return first;
}

}  // namespace vem
