#include "editor/Editor.h"

#include <algorithm>

#include "model/CharCodes.h"

namespace vem {

Editor::Editor(Project& p, const MessageTable& msgs) : project(p), messages(msgs) {}

bool Editor::fieldEnabled(int tag) const {
    return tag >= 1 && tag <= FieldCount && project.field(tag).enabled == 1;
}

// The cell the cursor leaves shows its own state again.
void Editor::leaveCursorCell() {
    if (cursor.cell == EditorCursor::None) return;
    Cell& c = cells[cursor.cell];
    if (c.tag == 0)
        c.colour = CellColour::ButtonFace;
    else if (c.colour == CellColour::White)
        c.colour = CellColour::Field;
}

void Editor::paintCursor() { cells[cursor.cell].colour = CellColour::White; }

void Editor::setCursorCell(int cell) {
    cursor.cell = cell;
    cursor.row = rowOf(cell);
    cursor.column = columnOf(cell);
}

void Editor::moveCursorTo(int cell) {
    leaveCursorCell();
    setCursorCell(cell);
    paintCursor();
}

void Editor::keyDown(EditorKey key) {
    if (cursor.cell == EditorCursor::None || cursor.dragging) return;
    const int c = cursor.cell;
    const int r = rowOf(c);
    auto firstFree = [&](int step, int count, auto inRange) {
        for (int i = 1; i <= count; ++i) {
            const int target = c + step * i;
            if (!inRange(i)) return -1;
            if (cells[target].tag == 0) return target;
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
        if (c > 0 && cells[c - 1].tag == 0) {
            target = c - 1;
            project.screenText[target].clear();
        }
        break;
    case EditorKey::Other:
        break;
    }
    if (target >= 0) moveCursorTo(target);
}

void Editor::keyPress(unsigned char k) {
    if (cursor.cell == EditorCursor::None || cursor.dragging || !isAllowedCellChar(k)) return;
    const int c = cursor.cell;
    project.screenText[c] = cellTextForChar(k);
    if (c >= CellCount - 1) return;
    const int next = c + 1;
    Cell& n = cells[next];
    if (n.tag > 0 && fieldEnabled(n.tag)) {
        paintCursor();  // typing against a field keeps overwriting the last free cell
        return;
    }
    if (n.tag > 0) n.tag = 0;  // a stale tag of a switched-off field is freed
    moveCursorTo(next);
}

void Editor::mousePress(int i, MouseButton button) {
    if (i < 0 || i >= CellCount || cursor.dragging) return;
    leaveCursorCell();
    const int t = cells[i].tag;
    if (button == MouseButton::Left && t > 0 && fieldEnabled(t)) {
        int first = i;
        while (first > 0 && cells[first - 1].tag == t) --first;
        int cellCount = 0;
        for (Cell& c : cells) {
            if (c.tag != t) continue;
            c.tag = 0;
            c.colour = CellColour::Dragged;
            ++cellCount;
        }
        cursor.dragging = true;
        drag.field = t;
        const int length = project.field(t).length;
        drag.length = length > 0 ? length : cellCount;
        drag.grabOffset = i - first;
        drag.anchorRow = rowOf(i);
        drag.anchorColumn = columnOf(i);
        drag.lastRow = drag.anchorRow;
        drag.lastColumn = drag.anchorColumn;
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
    int column = drag.anchorColumn + cellsFromPixels(x, PanelWidth);
    if (column > ScreenColumns - 1) {
        column = ScreenColumns - 1;
        if (cursor.dragging) drag.grabOffset = drag.length - 1;
    } else if (column < 0) {
        column = 0;
        if (cursor.dragging) drag.grabOffset = 0;
    }
    const int row = std::clamp(drag.anchorRow + cellsFromPixels(y, PanelHeight), 0, ScreenRows - 1);
    drag.targetColumn = column;
    drag.targetRow = row;
    if (column == drag.lastColumn && row == drag.lastRow) return;
    drag.lastColumn = column;
    drag.lastRow = row;
    if (!cursor.dragging) return;

    const int s = cellIndex(row, column) - drag.grabOffset;
    if (s < 0 || s + drag.length - 1 > CellCount - 1) return;
    for (int k = s; k < s + drag.length; ++k)
        if (cells[k].tag > 0) return;
    for (Cell& c : cells)
        if (c.colour == CellColour::Dragged) c.colour = CellColour::ButtonFace;
    for (int k = s; k < s + drag.length; ++k) cells[k].colour = CellColour::Dragged;
    project.field(drag.field).startAt(s);
}

void Editor::mouseRelease() {
    if (cursor.dragging) {
        cursor.dragging = false;
        for (int k = 0; k < CellCount; ++k) {
            Cell& c = cells[k];
            if (c.colour != CellColour::Dragged) continue;
            c.tag = drag.field;
            c.colour = CellColour::Field;
            project.screenText[k].clear();
        }
    }
    storeCellTags();
    updateCellHints();
}

void Editor::storeCellTags() {
    CellTags& tags = project.dataSets[project.activeDataSet].cellTags;
    for (int k = 0; k < CellCount; ++k) tags[k] = cells[k].tag;
}

void Editor::updateCellHints() {
    for (Cell& c : cells) {
        if (c.tag == 0) {
            c.hint.clear();
        } else if (c.colour == CellColour::Field) {
            if (c.tag >= 1 && c.tag <= DataFieldCount)
                c.hint = messages.text(Msg::FieldHintPrefix) + std::to_string(c.tag);
            else if (c.tag == DateField)
                c.hint = messages.text(Msg::DateHint);
            else if (c.tag == TimeField)
                c.hint = messages.text(Msg::TimeHint);
        }
    }
}

void Editor::refreshWindowFromProject() {
    const DataSet& active = project.dataSets[project.activeDataSet];
    for (int i = 0; i < DataFieldCount; ++i) {
        FieldDefinition& f = project.fields[i];
        const FieldDefinition& stored = active.fields[i];
        f.length = stored.length;
        f.column = stored.column;
        f.row = stored.row;
        f.position = stored.position;
        f.enabled = stored.enabled;
    }

    for (int k = 0; k < CellCount; ++k) {
        cells[k].tag = active.cellTags[k];
        cells[k].colour = cells[k].tag <= 0 ? CellColour::ButtonFace : CellColour::Field;
    }
    for (int n = 1; n <= FieldCount; ++n) setFieldCheckBox(n, project.field(n).enabled == 1);
    for (int i = 0; i < DataFieldCount; ++i) {
        project.fields[i].description = active.fields[i].description;
        controls.fieldBoxCaption[i] = project.fields[i].description;
    }
    setSummerTimeCheckBox(project.summerTimeManual == 0);

    setCursorCell(0);
    cursor.dragging = false;
    updateCellHints();
}

void Editor::setSummerTimeCheckBox(bool ticked) {
    if (controls.summerTimeTicked == ticked) return;
    clickSummerTimeCheckBox();
}

void Editor::clickSummerTimeCheckBox() {
    controls.summerTimeTicked = !controls.summerTimeTicked;
    project.summerTimeManual = controls.summerTimeTicked ? 0 : 1;
}

}  // namespace vem
