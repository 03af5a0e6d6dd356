#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "editor/FieldDialogLogic.h"
#include "i18n/MessageTable.h"
#include "model/Project.h"

namespace vem {

// The five states a grid cell is shown in.
enum class CellColour {
    ButtonFace,  // free cell
    White,       // cursor cell
    Field,       // cell of a placed field (tooltip background)
    AutoPlaced,  // cell of a field just placed by its check box (red)
    Dragged,     // cell of the field being dragged or of its drop preview (green)
};

struct Cell {
    std::int32_t tag = 0;  // the cell's tag for the active data set
    CellColour colour = CellColour::ButtonFace;
    std::string hint;
};

struct EditorCursor {
    static constexpr int None = 999;
    int cell = None;
    int row = 0;
    int column = 0;
    bool dragging = false;
};

struct DragState {
    int field = 0;
    int length = 0;
    int grabOffset = 0;  // index of the grabbed cell within the field
    int anchorRow = 0;
    int anchorColumn = 0;
    int targetColumn = 0;
    int targetRow = 0;
    int lastColumn = 0;
    int lastRow = 0;
};

// What the main window's field list, data set buttons and clock box show; the editor's rules
// set these and the window mirrors them.
struct MainControls {
    std::array<bool, DataFieldCount> fieldButtonEnabled{};
    std::array<bool, FieldCount> fieldBoxEnabled{};
    std::array<bool, FieldCount> fieldBoxTicked{};
    std::array<std::string, DataFieldCount> fieldBoxCaption;
    std::array<bool, DataSetCount> dataSetButtonEnabled{true, false, false, false};
    bool summerTimeTicked = true;

    MainControls() {
        fieldBoxEnabled[DateField - 1] = true;
        fieldBoxEnabled[TimeField - 1] = true;
    }
};

enum class EditorKey { Up, Down, Left, Right, Backspace, Other };
enum class MouseButton { Left, Right, Middle };

namespace test {
struct EditorProbe;
}

// The screen editor: the grid of 640 cells over the Project, with cursor, typing, dragging,
// field placement and data sets. The Session drives it and keeps it in step with the Project.
class Editor {
public:
    Editor(Project& project, const MessageTable& messages);

    const std::array<Cell, CellCount>& cells() const { return cells_; }
    const EditorCursor& cursor() const { return cursor_; }
    const DragState& drag() const { return drag_; }
    const MainControls& controls() const { return controls_; }

    void keyDown(EditorKey key);
    // A typed character (Windows-1252); characters outside the allowed set are ignored.
    void keyPress(unsigned char c);

    void mousePress(int cell, MouseButton button);
    // x, y: pointer position relative to the pressed cell, in pixels.
    void mouseMove(int x, int y);
    void mouseRelease();

    void storeCellTags();
    void updateCellHints();
    void refreshWindowFromProject();

    // Field placement.
    void removeFieldCells(int field);
    void autoPlaceField(int field);
    // The program sets check box `field` (1..18); a change of state runs its click handler.
    void setFieldCheckBox(int field, bool ticked);
    // The operator clicks check box `field`: it toggles and its handler runs.
    void clickFieldCheckBox(int field);
    void setSummerTimeCheckBox(bool ticked);
    void clickSummerTimeCheckBox();

    // Field dialog: "übernehmen" for data field `field`. A length above `maxFieldLength` is
    // taken as `maxFieldLength`; a placed field takes only the free cells at its place.
    FieldDialogAccepted acceptFieldDialog(int field, const FieldDialogValues& values, std::uint8_t maxFieldLength);
    // After the dialog closed with `tag` (0 = cancelled): switch the field on and place it.
    void finishFieldDialog(int field, int tag);

    // Data sets. Switching stores the working copy and shows data set `dataSet`; the date and
    // time cells it finds there are already those of every data set.
    void switchDataSet(int dataSet);
    // Makes data set `dataSet` the active one: its fields become the working copy (descriptions
    // follow with the next refresh) and the field buttons and check boxes are set from them.
    void activateDataSet(int dataSet);
    // The "Datensatz" buttons follow the data sets' availability.
    void showDataSetAvailability();
    // The grid takes the active data set's stored cell tags; changed cells show their new state.
    void reloadCellTags();
    // Field buttons and check boxes of the sixteen data fields as the working copy defines them;
    // `tickBoxes` false leaves every box's tick as it is.
    void showDataFieldControls(bool tickBoxes = true);

    // Cells from `first` on that a field of `length` may take without touching another field's
    // cells or running past the screen (counts up to `length`).
    int freeRunFrom(int first, int length, int field) const;

    // The "Datensatz" button of `dataSet` is enabled whatever its availability.
    void enableDataSetButton(int dataSet) { controls_.dataSetButtonEnabled[dataSet] = true; }
    void clearFieldBoxCaptions();
    // Box `field` (1..18) shows `ticked` without running its handler: the field's cells come
    // from elsewhere (a read-back, say).
    void showFieldSwitch(int field, bool ticked) { controls_.fieldBoxTicked[field - 1] = ticked; }

    static constexpr int PanelWidth = 16;
    static constexpr int PanelHeight = 30;

private:
    friend struct test::EditorProbe;  // tests set up a grid that differs from what is stored

    Project& project_;
    const MessageTable& messages_;
    std::array<Cell, CellCount> cells_;
    EditorCursor cursor_;
    DragState drag_;
    MainControls controls_;

    void setCursorCell(int cell);  // without repainting
    void moveCursorTo(int cell);
    void leaveCursorCell();
    void paintCursor();
    bool fieldEnabled(int tag) const;
};

}  // namespace vem
