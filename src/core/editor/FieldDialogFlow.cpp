#include "editor/Editor.h"
#include "model/TypedNumber.h"

namespace vem {

FieldDialogAccepted Editor::acceptFieldDialog(int n, const FieldDialogValues& v, std::uint8_t maxLength) {
    removeFieldCells(n);
    FieldDefinition& f = project_.field(n);
    const int typed = readNumber(v.lengthText, 0);
    f.length = typed > 0 && typed <= maxLength ? typed : maxLength;
    f.offset = readNumber(v.offsetText, 0);
    f.conversion = v.conversionIndex;
    f.variableType = v.variableTypeIndex;
    f.column = v.column;
    f.row = v.row;
    f.description = v.description;
    controls_.fieldBoxCaption[n - 1] = v.description;
    FieldDialogAccepted accepted;

    if (f.placed == 1) {
        f.position = cellIndex(f.row - 1, f.column - 1) + 1;
        const int first = f.position - 1;
        if (first >= 0 && first < CellCount) {
            setCursorCell(first);
            // A longer field takes only the free cells after it, up to the end of the screen.
            const int room = freeRunFrom(first, f.length, n);
            if (room < f.length) accepted.limit = SlotMessage{Msg::FieldRoomAtMost, {std::to_string(room)}};
            f.length = room;
            for (int k = first; k < first + f.length; ++k) {
                cells_[k].tag = n;
                cells_[k].colour = CellColour::Field;
                project_.screenText[k].clear();
            }
        }
    }
    accepted.tag = f.length == 0 ? 0 : n;
    return accepted;
}

void Editor::finishFieldDialog(int n, int tag) {
    if (tag > 0) {
        setFieldCheckBox(n, true);
        autoPlaceField(n);
    }
    storeCellTags();
}

}  // namespace vem
