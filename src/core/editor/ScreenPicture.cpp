#include "editor/ScreenPicture.h"

#include <set>

namespace vem {
namespace {

constexpr const char* FieldMarkers = "123456789ABCDEFGdt";
constexpr const char* Margin = "    ";

// The character a cell shows, as the device shows it.
char shownCellCharacter(const std::string& text) {
    return text.empty() ? ' ' : shownCharacter(static_cast<unsigned char>(text[0]));
}

std::string frameLine() { return std::string(Margin) + "+" + std::string(ScreenColumns, '-') + "+\n"; }

std::string ruler() {
    std::string tens = Margin, units = Margin;
    tens += ' ';
    units += ' ';
    for (int c = 1; c <= ScreenColumns; ++c) {
        tens += c % 10 == 0 ? static_cast<char>('0' + c / 10) : ' ';
        units += static_cast<char>('0' + c % 10);
    }
    return tens + "\n" + units + "\n";
}

std::string legendLine(const Project& project, int dataSet, int n) {
    const bool dateOrTime = n > DataFieldCount;
    const FieldDefinition& f = project.dataSets[dateOrTime ? 0 : dataSet].fields[n - 1];
    std::string line = Margin;
    line += fieldMarker(n);
    line += "  ";
    line += fieldName(n) + ": row " + std::to_string(f.row) + ", column " + std::to_string(f.column) +
            ", length " + std::to_string(f.length);
    if (!dateOrTime && !f.description.empty()) line += "  \"" + f.description + "\"";
    return line + "\n";
}

}  // namespace

char shownCharacter(unsigned char c) {
    // Windows-1252 leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D unassigned.
    const bool unassigned = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    return c < 0x20 || c == 0x7F || unassigned ? '.' : static_cast<char>(c);
}

char fieldMarker(int field) { return FieldMarkers[field - 1]; }

std::string screenPicture(const Project& project, int dataSet) {
    const CellTags& tags = project.dataSets[dataSet].cellTags;
    std::set<int> owners;
    std::string out = ruler() + frameLine();
    for (int r = 0; r < ScreenRows; ++r) {
        const std::string number = std::to_string(r + 1);
        out += std::string(3 - number.size(), ' ') + number + " |";
        for (int c = 0; c < ScreenColumns; ++c) {
            const int k = cellIndex(r, c);
            if (tags[k] >= 1 && tags[k] <= FieldCount) {
                owners.insert(tags[k]);
                out += fieldMarker(tags[k]);
            } else {
                out += shownCellCharacter(project.screenText[k]);
            }
        }
        out += "|\n";
    }
    out += frameLine();
    for (int n : owners) out += legendLine(project, dataSet, n);
    return out;
}

}  // namespace vem
