#include "editor/Editor.h"
#include "model/FieldCells.h"

namespace vem {

void Editor::removeFieldCells(int field) {
    for (Cell& c : cells_) {
        if (c.tag != field) continue;
        c.tag = 0;
        c.colour = CellColour::ButtonFace;
    }
}

int Editor::freeRunFrom(int first, int length, int field) const {
    int room = 0;
    for (int k = first; k >= 0 && k < CellCount && room < length; ++k, ++room)
        if (cells_[k].tag > 0 && cells_[k].tag != field) break;
    return room;
}

void Editor::autoPlaceField(int n) {
    FieldDefinition& f = project_.field(n);
    f.enabled = controls_.fieldBoxTicked[n - 1] ? 1 : 0;
    for (Cell& c : cells_)
        if (c.colour == CellColour::White) c.colour = c.tag > 0 ? CellColour::Field : CellColour::ButtonFace;

    if (f.enabled == 1) {
        if (f.placed == 0 && (f.variableType == 0 || f.variableType == 1) && f.length > 0) {
            int count = 0;
            int lowest = -1;
            for (int k = 0; k < CellCount; ++k) {
                if (cells_[k].tag != n) continue;
                if (lowest < 0) lowest = k;
                ++count;
            }
            int start = -1;
            if (count == f.length) {
                for (Cell& c : cells_)
                    if (c.tag == n) c.colour = CellColour::Field;
                start = lowest;
            } else {
                removeFieldCells(n);  // stray cells of an earlier run would outlive the new one
                CellTags tags;
                for (int k = 0; k < CellCount; ++k) tags[k] = cells_[k].tag;
                start = findFreeRun(tags, f.length);
                for (int k = start; start >= 0 && k < start + f.length; ++k) {
                    cells_[k].tag = n;
                    cells_[k].colour = CellColour::AutoPlaced;
                }
            }
            if (start >= 0) {
                f.placed = 1;
                f.startAt(start);
            }
        }
    } else {
        f.placed = 0;
        removeFieldCells(n);
        if (n == DateField || n == TimeField) {
            f.position = 0;
            f.column = 0;
            f.row = 0;
        }
    }
    updateCellHints();
}

void Editor::setFieldCheckBox(int field, bool ticked) {
    if (controls_.fieldBoxTicked[field - 1] == ticked) return;
    clickFieldCheckBox(field);
}

void Editor::clickFieldCheckBox(int field) {
    controls_.fieldBoxTicked[field - 1] = !controls_.fieldBoxTicked[field - 1];
    autoPlaceField(field);
}

}  // namespace vem
