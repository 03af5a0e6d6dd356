#include "preview/PreviewPicture.h"

#include <algorithm>

#include "editor/ScreenPicture.h"
#include "model/CharCodes.h"
#include "model/LayoutCheck.h"
#include "preview/FieldSamples.h"

namespace vem {
namespace {

enum BackgroundMode { Everything = 2, OnlyCharacters = 3, OnlyWrittenRows = 4 };

char shown(char c) { return shownCharacter(static_cast<unsigned char>(c)); }

SlotMessage itemName(int n) {
    if (n == DateField) return {Msg::NameDate, {}};
    if (n == TimeField) return {Msg::NameTime, {}};
    return {Msg::NameField, {std::to_string(n)}};
}

class PictureBuilder {
public:
    PictureBuilder(const Project& p, const PreviewInput& in) : p_(p), in_(in) {}

    PreviewPicture build() {
        picture_.problems = layoutProblems(p_, nullptr);
        backgroundText();
        for (int n = 1; n <= FieldCount; ++n) field(n);
        posArea();
        fill();
        const int level = std::clamp<int>(p_.pos.Transparency, 1, 7);
        picture_.fillOpacity = level * 32;
        return std::move(picture_);
    }

private:
    const FieldDefinition& definition(int n) const {
        if (n > DataFieldCount) return p_.dataSets[0].fields[n - 1];
        return in_.dataSet == p_.activeDataSet ? p_.fields[n - 1] : p_.dataSets[in_.dataSet].fields[n - 1];
    }

    void backgroundText() {
        for (int k = 0; k < CellCount; ++k) {
            const std::string& text = p_.screenText[k];
            if (text.empty()) continue;
            PreviewCell& cell = picture_.cells[k];
            // What the device shows: a character without a device code of its own shows as the
            // one that code stands for ("&" alone and "&&" are both the ampersand).
            const std::string own(1, text[0]);
            const std::string onDevice = text[0] == '&' ? own : cellTextForDeviceCode(deviceCodeForCell(own));
            cell.character = onDevice.empty() ? ' ' : shown(onDevice[0]);
            cell.item = CellItem::Background;
            cell.problem = onDevice != own || (cell.character == '.' && text[0] != '.');
        }
    }

    void field(int n) {
        const FieldDefinition& f = definition(n);
        if (f.enabled != 1 || f.placed != 1 || f.length <= 0) return;
        const std::string sample = fieldSample(n, f, in_.time);
        // A field longer than the screen (a damaged file) runs off it anyway.
        const int length = std::min(f.length, CellCount + 1);
        const int first = std::clamp(f.position, -CellCount, CellCount + 1) - 1;
        const bool runsOff = first < 0 || first + length > CellCount;
        const CellItem item = n == DateField ? CellItem::Date : n == TimeField ? CellItem::Time : CellItem::Field;
        for (int i = 0; i < length; ++i) {
            const int k = first + i;
            if (k < 0 || k >= CellCount) continue;
            PreviewCell& cell = picture_.cells[k];
            const bool taken = cell.item == CellItem::Field || cell.item == CellItem::Date || cell.item == CellItem::Time;
            cell.problem = cell.problem || taken || runsOff;
            cell.character = shown(sample[i]);
            cell.item = item;
            cell.itemNumber = item == CellItem::Field ? n : 0;
            owner_[k] = n;
        }
    }

    void posArea() {
        const PosSettings& pos = p_.pos;
        if (pos.FirstLine < 1 || pos.FirstLine > ScreenRows) return;
        const int first = pos.FirstLine - 1;
        const int rows = std::clamp<int>(pos.LineCount, 1, ScreenRows - first);
        picture_.posFirstRow = first;
        picture_.posRows = rows;
        std::vector<int> covered;
        for (int r = first; r < first + rows; ++r)
            for (int c = 0; c < ScreenColumns; ++c)
                if (const int n = owner_[cellIndex(r, c)]; n > 0) {
                    picture_.cells[cellIndex(r, c)].problem = true;
                    if (std::find(covered.begin(), covered.end(), n) == covered.end()) covered.push_back(n);
                }
        for (int n : covered)
            picture_.problems.push_back({Msg::PosAreaOverItem, {std::to_string(first + 1), std::to_string(first + rows), itemName(n)}});
        if (!in_.posRows) return;
        const std::deque<PosLine>& lines = *in_.posRows;
        const int shownLines = std::min<int>(rows, static_cast<int>(lines.size()));
        for (int i = 0; i < shownLines; ++i) {
            const PosLine& line = lines[lines.size() - 1 - i];  // i = 0: the newest
            const int row = pos.ScrollDirection == 0 ? first + rows - 1 - i : first + i;
            posRow(row, line, i + 1);
        }
    }

    void posRow(int row, const PosLine& line, int number) {
        const auto colour = line.colour.value_or(static_cast<DeviceColour>(std::min<int>(p_.pos.TextColour, 7)));
        for (int c = 0; c < ScreenColumns; ++c) {
            PreviewCell& cell = picture_.cells[cellIndex(row, c)];
            cell.character = c < static_cast<int>(line.text.size()) ? shown(line.text[c]) : ' ';
            cell.colour = colour;
            cell.item = CellItem::PosLine;
            cell.itemNumber = number;
        }
    }

    void fill() {
        const int mode = p_.pos.BackgroundMode;
        for (int r = 0; r < ScreenRows; ++r) {
            bool written = false;
            for (int c = 0; c < ScreenColumns; ++c) written = written || picture_.at(r, c).character != ' ';
            for (int c = 0; c < ScreenColumns; ++c) {
                PreviewCell& cell = picture_.cells[cellIndex(r, c)];
                cell.filled = mode == Everything || (mode == OnlyCharacters && cell.character != ' ') ||
                              (mode == OnlyWrittenRows && written);
            }
        }
    }

    const Project& p_;
    const PreviewInput& in_;
    PreviewPicture picture_;
    std::array<int, CellCount> owner_{};
};

}  // namespace

Rgb rgbOf(DeviceColour colour) {
    switch (colour) {
    case DeviceColour::White: return {255, 255, 255};
    case DeviceColour::LightGrey: return {192, 192, 192};
    case DeviceColour::Red: return {255, 0, 0};
    case DeviceColour::Yellow: return {255, 255, 0};
    case DeviceColour::Blue: return {0, 0, 255};
    case DeviceColour::Green: return {0, 255, 0};
    case DeviceColour::Grey: return {128, 128, 128};
    case DeviceColour::Black: return {0, 0, 0};
    }
    return {255, 255, 255};
}

PreviewPicture buildPreview(const Project& project, const PreviewInput& input) {
    return PictureBuilder(project, input).build();
}

}  // namespace vem
