#include "preview/FieldSamples.h"

#include <algorithm>
#include <cstdio>

namespace vem {
namespace {

std::string twoDigits(int value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02d", ((value % 100) + 100) % 100);
    return text;
}

std::string fitted(std::string text, int length) {
    text.resize(static_cast<std::size_t>(length), ' ');
    return text;
}

// The sample of a data field's variable type 2..11, as the type's name shows it.
std::string clockSample(int type, const LocalTime& t) {
    const std::string dd = twoDigits(t.day), mm = twoDigits(t.month), yy = twoDigits(t.year);
    switch (type) {
    case 2: return dd + "/" + mm + "/" + yy;
    case 3: return yy + "/" + mm + "/" + dd;
    case 4: return mm + "/" + dd + "/" + yy;
    case 5: return dd;
    case 6: return mm;
    case 7: return yy;
    case 8: return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
    case 9: return twoDigits(t.hour);
    case 10: return twoDigits(t.minute);
    default: return twoDigits(t.second);
    }
}

}  // namespace

std::string fieldSample(int n, const FieldDefinition& f, const LocalTime& time) {
    const int length = std::clamp(f.length, 0, CellCount + 1);  // more never shows
    if (n == DateField) return fitted(twoDigits(time.day) + "." + twoDigits(time.month) + "." + twoDigits(time.year), length);
    if (n == TimeField)
        return fitted(twoDigits(time.hour) + ":" + twoDigits(time.minute) + ":" + twoDigits(time.second), length);
    if (f.variableType >= 2 && f.variableType <= 11) return fitted(clockSample(f.variableType, time), length);
    if (f.variableType == 1) return std::string(static_cast<std::size_t>(length), '9');
    if (!f.description.empty() && static_cast<int>(f.description.size()) <= length) {
        std::string text = f.description;
        text.resize(static_cast<std::size_t>(length), '_');
        return text;
    }
    std::string digits;
    for (int i = 0; i < length; ++i) digits += static_cast<char>('0' + (i + 1) % 10);
    return digits;
}

}  // namespace vem
