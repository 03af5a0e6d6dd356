#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "model/DeviceSettings.h"
#include "model/PosSettings.h"

namespace vem {

constexpr int ScreenRows = 16;
constexpr int ScreenColumns = 40;
constexpr int CellCount = ScreenRows * ScreenColumns;  // 640
constexpr int DataFieldCount = 16;
constexpr int FieldCount = 18;  // 16 data fields, 17 = date, 18 = time
constexpr int DateField = 17;
constexpr int TimeField = 18;
constexpr int DataSetCount = 4;

// A cell index is row * 40 + column, both counted from 0.
constexpr int cellIndex(int row, int column) { return row * ScreenColumns + column; }
constexpr int rowOf(int cell) { return cell / ScreenColumns; }
constexpr int columnOf(int cell) { return cell % ScreenColumns; }

// Field n (1..18) as reports and text pictures name it: "field 5", "date", "time".
inline std::string fieldName(int n) {
    if (n == DateField) return "date";
    if (n == TimeField) return "time";
    return "field " + std::to_string(n);
}

// One field's definition; positions count from 1, 0 = none.
struct FieldDefinition {
    std::int32_t enabled = 0;
    std::int32_t placed = 0;
    std::int32_t length = 0;
    std::int32_t offset = 0;
    std::int32_t conversion = -1;
    std::int32_t variableType = -1;  // -1 = not defined in this data set
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::int32_t position = 0;
    std::string description;

    bool isDefined() const { return variableType >= 0 && variableType <= 14; }
    // The field's first cell becomes `cell` (0..639).
    void startAt(int cell) {
        position = cell + 1;
        row = rowOf(cell) + 1;
        column = columnOf(cell) + 1;
    }
    static FieldDefinition dateOrTime() {
        FieldDefinition f;
        f.variableType = 0;
        return f;
    }
};

using CellTags = std::array<std::int32_t, CellCount>;
using FieldArray = std::array<FieldDefinition, FieldCount>;

inline FieldArray newFieldArray() {
    FieldArray fields;
    fields[DateField - 1] = FieldDefinition::dateOrTime();
    fields[TimeField - 1] = FieldDefinition::dateOrTime();
    return fields;
}

// The stored copy of one data set. Entries 17 and 18 of `fields` are the shared date and
// time definitions in data set 0; in data sets 1..3 they are a copy kept only for the file.
struct DataSet {
    FieldArray fields = newFieldArray();
    CellTags cellTags{};
    std::int32_t dataSetAvailable = 0;
};

// Everything the operator edits: one screen of text, four data sets of fields, settings.
struct Project {
    std::array<std::string, CellCount> screenText;  // Windows-1252; "&&" holds one ampersand
    // Working copy of the active data set's sixteen data fields.
    std::array<FieldDefinition, DataFieldCount> fields;
    std::array<DataSet, DataSetCount> dataSets;
    int activeDataSet = 0;
    std::int32_t summerTimeManual = 0;  // 0 = the device switches summer/winter time itself

    DeviceSettings device;
    PosSettings pos;
    PosExtendedSettings posExtended;

    std::string imageFileName = "default.bin";
    std::string projectName = "default.bin";
    std::int32_t spareValue1 = 0;
    std::int32_t spareValue2 = 0;
    bool openDefaultProject = false;
    bool writeReadoutOnSave = false;
    // Where the template named by imageFileName was loaded from (absolute), so a save elsewhere
    // still names it; empty while none is loaded.
    std::string templatePath;

    // Field n (1..18) as the editor works on it: data fields from the working copy, date and
    // time from the definitions all data sets share.
    FieldDefinition& field(int n) { return n > DataFieldCount ? sharedField(n) : fields[n - 1]; }
    const FieldDefinition& field(int n) const {
        return n > DataFieldCount ? dataSets[0].fields[n - 1] : fields[n - 1];
    }
    // The date and time definitions that all data sets share (n = 17 or 18).
    FieldDefinition& sharedField(int n) { return dataSets[0].fields[n - 1]; }

    // Copies the sixteen data fields of the working copy into the active data set.
    void storeWorkingFields();
    // Copies the sixteen data fields of data set `d` into the working copy;
    // `withDescriptions` also takes the description texts.
    void loadWorkingFields(int d, bool withDescriptions);
};

}  // namespace vem
