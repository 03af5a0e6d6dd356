#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "i18n/MessageTable.h"
#include "model/LocalTime.h"
#include "model/Project.h"
#include "preview/ReceiptPlayer.h"

namespace vem {

// What a cell of the device's screen belongs to.
enum class CellItem : std::uint8_t { None, Background, Field, Date, Time, PosLine };

struct PreviewCell {
    char character = ' ';  // Windows-1252, as the device shows it; a control character is '.'
    DeviceColour colour = DeviceColour::White;
    bool filled = false;   // the background box is drawn behind the cell
    CellItem item = CellItem::None;
    int itemNumber = 0;    // the field 1..16, or the row of the POS area from 1
    bool problem = false;  // the project checks found a problem in this cell
};

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

Rgb rgbOf(DeviceColour colour);

// The device's screen as the preview shows it. The background mode and the transparency of the
// POS settings apply to the whole screen, the text colour to the POS area; background text,
// fields, date and time are white.
struct PreviewPicture {
    std::array<PreviewCell, CellCount> cells;
    // How dark the box behind a filled cell is: 0 (see-through) .. 255 (black), from the
    // transparency "1 (hell)" to "7 (dunkel)"; no transparency chosen counts as 1.
    int fillOpacity = 0;
    int posFirstRow = -1;  // the POS area's first row from 0, -1 when none is chosen
    int posRows = 0;
    // Every problem the project checks find, and where the preview sees the POS area over a
    // field; the cells they concern are marked.
    std::vector<SlotMessage> problems;

    const PreviewCell& at(int row, int column) const { return cells[cellIndex(row, column)]; }
};

struct PreviewInput {
    int dataSet = 0;  // 0..3
    LocalTime time;
    // The rows the receipt player output, oldest first.
    const std::deque<PosLine>* posRows = nullptr;
};

// What the device's screen holds for `project`:
// - the background text; fields, date and time switched on and placed show their samples
//   (FieldSamples) over it, cut at the screen's end;
// - the POS area (first line, line count) shows the last rows of the receipt: with "auf" the
//   newest at its bottom, older ones above; with "ab" the newest at its top, older ones below;
//   a row the receipt has not reached yet shows what lies under it;
// - background mode "Kein" (and the reserved entry) fills nothing, "Alles" every cell, "nur
//   Zeichen" the cells that show a character, "nur in beschr. Zeilen" every cell of a row that
//   shows one.
PreviewPicture buildPreview(const Project& project, const PreviewInput& input);

}  // namespace vem
