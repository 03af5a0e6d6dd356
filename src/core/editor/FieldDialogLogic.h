#pragma once
#include <cstdint>
#include <string>

#include "model/Project.h"

namespace vem {

// What the field dialog shows and what it hands back on "übernehmen".
struct FieldDialogValues {
    std::string lengthText;
    std::string offsetText;
    int conversionIndex = -1;    // -1 = no entry selected
    int variableTypeIndex = -1;  // -1 = no entry selected
    std::string description;
    int column = 0;
    int row = 0;
    bool lengthEditable = false;
    std::uint8_t maxFieldLength = 0;  // the longest length the device image allows
};

constexpr int ConversionTypeCount = 5;
constexpr int VariableTypeCount = 12;

// The dialog filled for field `f`.
FieldDialogValues fillFieldDialog(const FieldDefinition& f);

// The length edit after the operator changed it: a number above `maxFieldLength` is replaced.
std::string clampLengthText(const std::string& text, std::uint8_t maxFieldLength);

}  // namespace vem
