#include "editor/FieldDialogLogic.h"

#include "model/TypedNumber.h"

namespace vem {

FieldDialogValues fillFieldDialog(const FieldDefinition& f) {
    FieldDialogValues v;
    v.lengthText = std::to_string(f.length);
    v.offsetText = std::to_string(f.offset);
    v.conversionIndex = (f.conversion >= 0 && f.conversion < ConversionTypeCount) ? f.conversion : -1;
    v.variableTypeIndex = (f.variableType >= 0 && f.variableType < VariableTypeCount) ? f.variableType : -1;
    v.description = f.description;
    v.column = f.column;
    v.row = f.row;
    v.lengthEditable = f.variableType == 0 || f.variableType == 1;
    return v;
}

LengthText limitLengthText(const std::string& text, std::uint8_t maxFieldLength) {
    if (readNumber(text, 0) <= maxFieldLength) return {text, std::nullopt};
    const std::string limit = std::to_string(maxFieldLength);
    return {limit, SlotMessage{Msg::FieldLengthAtMost, {limit}}};
}

}  // namespace vem
