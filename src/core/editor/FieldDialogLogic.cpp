#include "editor/FieldDialogLogic.h"

#include <cerrno>
#include <cstdlib>

namespace vem {

std::optional<int> parseInteger(const std::string& text) {
    std::size_t b = text.find_first_not_of(" \t");
    std::size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return std::nullopt;
    const std::string t = text.substr(b, e - b + 1);
    std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size()) return std::nullopt;
    for (std::size_t k = i; k < t.size(); ++k)
        if (t[k] < '0' || t[k] > '9') return std::nullopt;
    errno = 0;
    const long long v = std::strtoll(t.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int>(v);
}

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

std::string clampLengthText(const std::string& text, std::uint8_t maxFieldLength) {
    if (parseInteger(text).value_or(0) > maxFieldLength) return std::to_string(maxFieldLength);
    return text;
}

}  // namespace vem
