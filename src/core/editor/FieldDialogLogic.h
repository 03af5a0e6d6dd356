#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "i18n/MessageTable.h"
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

// The length edit after it changed: a number above `maxFieldLength` is replaced by it, and the
// message that says the limit comes with it.
struct LengthText {
    std::string text;
    std::optional<SlotMessage> limit;  // set when the text was cut
};
LengthText limitLengthText(const std::string& text, std::uint8_t maxFieldLength);

// "übernehmen" in the field dialog.
struct FieldDialogAccepted {
    int tag = 0;  // the field number, or 0 when the accepted length is 0 (taken as cancelled)
    // Set when a placed field was shortened to the free cells at its place.
    std::optional<SlotMessage> limit;
};

}  // namespace vem
