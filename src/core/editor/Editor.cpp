#include "editor/Editor.h"

#include <algorithm>

#include "model/CharCodes.h"

namespace vem {

Editor::Editor(Project& p, const MessageTable& msgs) : project_(p), messages_(msgs) {}

bool Editor::fieldEnabled(int tag) const {
    return tag >= 1 && tag <= FieldCount && project_.field(tag).enabled == 1;
}

// The cell the cursor leaves shows its own state again.
void Editor::leaveCursorCell() {
    if (cursor_.cell == EditorCursor::None) return;
    Cell& c = cells_[cursor_.cell];
    if (c.tag == 0)
        c.colour = CellColour::ButtonFace;
    else if (c.colour == CellColour::White)
        c.colour = CellColour::Field;
}

void Editor::paintCursor() { cells_[cursor_.cell].colour = CellColour::White; }

void Editor::setCursorCell(int cell) {
    cursor_.cell = cell;
    cursor_.row = rowOf(cell);
    cursor_.column = columnOf(cell);
}

void Editor::moveCursorTo(int cell) {
    leaveCursorCell();
    setCursorCell(cell);
    paintCursor();
}

void Editor::keyDown(EditorKey key) {
    if (cursor_.cell == EditorCursor::None || cursor_.dragging) return;
    const int c = cursor_.cell;
    const int r = rowOf(c);
    auto firstFree = [&](int step, int count, auto inRange) {
        for (int i = 1; i <= count; ++i) {
            const int target = c + step * i;
            if (!inRange(i)) return -1;
            if (cells_[target].tag == 0) return target;
        }
        return -1;
    };
    int target = -1;
    switch (key) {
    case EditorKey::Up:
        if (r > 0) target = firstFree(-ScreenColumns, ScreenRows - 1, [&](int i) { return r - i >= 0; });
        break;
    case EditorKey::Down:
        if (r < ScreenRows - 1)
            target = firstFree(ScreenColumns, ScreenRows - 1, [&](int i) { return r + i <= ScreenRows - 1; });
        break;
    case EditorKey::Left:
        if (c > 0) target = firstFree(-1, CellCount - 1, [&](int i) { return c - i >= 0; });
        break;
    case EditorKey::Right:
        if (c < CellCount - 1) target = firstFree(1, CellCount - 1, [&](int i) { return c + i <= CellCount - 1; });
        break;
    case EditorKey::Backspace:
        if (c > 0 && cells_[c - 1].tag == 0) {
            target = c - 1;
            project_.screenText[target].clear();
        }
        break;
    case EditorKey::Other:
        break;
    }
    if (target >= 0) moveCursorTo(target);
}

void Editor::keyPress(unsigned char k) {
    if (cursor_.cell == EditorCursor::None || cursor_.dragging || !isAllowedCellChar(k)) return;
    const int c = cursor_.cell;
    project_.screenText[c] = cellTextForChar(k);
    if (c >= CellCount - 1) return;
    const int next = c + 1;
    Cell& n = cells_[next];
    if (n.tag > 0 && fieldEnabled(n.tag)) {
        paintCursor();  // typing against a field keeps overwriting the last free cell
        return;
    }
    if (n.tag > 0) n.tag = 0;  // a stale tag of a switched-off field is freed
    moveCursorTo(next);
}

void Editor::mousePress(int i, MouseButton button) {
    if (i < 0 || i >= CellCount || cursor_.dragging) return;
    leaveCursorCell();
    const int t = cells_[i].tag;
    if (button == MouseButton::Left && t > 0 && fieldEnabled(t)) {
        int first = i;
        while (first > 0 && cells_[first - 1].tag == t) --first;
        int cellCount = 0;
        for (Cell& c : cells_) {
            if (c.tag != t) continue;
            c.tag = 0;
            c.colour = CellColour::Dragged;
            ++cellCount;
        }
        cursor_.dragging = true;
        drag_.field = t;
        const int length = project_.field(t).length;
        drag_.length = length > 0 ? length : cellCount;
        drag_.grabOffset = i - first;
        drag_.anchorRow = rowOf(i);
        drag_.anchorColumn = columnOf(i);
        drag_.lastRow = drag_.anchorRow;
        drag_.lastColumn = drag_.anchorColumn;
        return;
    }
    setCursorCell(i);
    paintCursor();
}

namespace {
// Pixel offset to whole cells, rounding towards minus infinity as the grid does.
int cellsFromPixels(int pixels, int size) { return pixels / size - (pixels < 0 ? 1 : 0); }
}  // namespace

void Editor::mouseMove(int x, int y) {
    int column = drag_.anchorColumn + cellsFromPixels(x, PanelWidth);
    if (column > ScreenColumns - 1) {
        column = ScreenColumns - 1;
        if (cursor_.dragging) drag_.grabOffset = drag_.length - 1;
    } else if (column < 0) {
        column = 0;
        if (cursor_.dragging) drag_.grabOffset = 0;
    }
    const int row = std::clamp(drag_.anchorRow + cellsFromPixels(y, PanelHeight), 0, ScreenRows - 1);
    drag_.targetColumn = column;
    drag_.targetRow = row;
    if (column == drag_.lastColumn && row == drag_.lastRow) return;
    drag_.lastColumn = column;
    drag_.lastRow = row;
    if (!cursor_.dragging) return;

    const int s = cellIndex(row, column) - drag_.grabOffset;
    if (s < 0 || s + drag_.length - 1 > CellCount - 1) return;
    for (int k = s; k < s + drag_.length; ++k)
        if (cells_[k].tag > 0) return;
    for (Cell& c : cells_)
        if (c.colour == CellColour::Dragged) c.colour = CellColour::ButtonFace;
    for (int k = s; k < s + drag_.length; ++k) cells_[k].colour = CellColour::Dragged;
    project_.field(drag_.field).startAt(s);
}

void Editor::mouseRelease() {
    if (cursor_.dragging) {
        cursor_.dragging = false;
        for (int k = 0; k < CellCount; ++k) {
            Cell& c = cells_[k];
            if (c.colour != CellColour::Dragged) continue;
            c.tag = drag_.field;
            c.colour = CellColour::Field;
            project_.screenText[k].clear();
        }
    }
    storeCellTags();
    updateCellHints();
}

void Editor::storeCellTags() {
    CellTags& tags = project_.dataSets[project_.activeDataSet].cellTags;
    for (int k = 0; k < CellCount; ++k) tags[k] = cells_[k].tag;
}

void Editor::updateCellHints() {
    for (Cell& c : cells_) {
        if (c.tag == 0) {
            c.hint.clear();
        } else if (c.colour == CellColour::Field) {
            if (c.tag >= 1 && c.tag <= DataFieldCount)
                c.hint = messages_.text(Msg::FieldHintPrefix) + std::to_string(c.tag);
            else if (c.tag == DateField)
                c.hint = messages_.text(Msg::DateHint);
            else if (c.tag == TimeField)
                c.hint = messages_.text(Msg::TimeHint);
        }
    }
}

void Editor::refreshWindowFromProject() {
    const DataSet& active = project_.dataSets[project_.activeDataSet];
    for (int i = 0; i < DataFieldCount; ++i) {
        FieldDefinition& f = project_.fields[i];
        const FieldDefinition& stored = active.fields[i];
        f.length = stored.length;
        f.column = stored.column;
        f.row = stored.row;
        f.position = stored.position;
        f.enabled = stored.enabled;
    }

    for (int k = 0; k < CellCount; ++k) {
        cells_[k].tag = active.cellTags[k];
        cells_[k].colour = cells_[k].tag <= 0 ? CellColour::ButtonFace : CellColour::Field;
    }
    for (int n = 1; n <= FieldCount; ++n) setFieldCheckBox(n, project_.field(n).enabled == 1);
    for (int i = 0; i < DataFieldCount; ++i) {
        project_.fields[i].description = active.fields[i].description;
        controls_.fieldBoxCaption[i] = project_.fields[i].description;
    }
    setSummerTimeCheckBox(project_.summerTimeManual == 0);

    setCursorCell(0);
    cursor_.dragging = false;
    updateCellHints();
}

void Editor::setSummerTimeCheckBox(bool ticked) {
    if (controls_.summerTimeTicked == ticked) return;
    clickSummerTimeCheckBox();
}

void Editor::clickSummerTimeCheckBox() {
    controls_.summerTimeTicked = !controls_.summerTimeTicked;
    project_.summerTimeManual = controls_.summerTimeTicked ? 0 : 1;
}

}  // namespace vem
