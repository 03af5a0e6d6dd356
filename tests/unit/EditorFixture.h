#pragma once
#include <gtest/gtest.h>

#include <vector>

#include "editor/Editor.h"
#include "model/DeviceImage.h"
#include "session/Session.h"

namespace vem::test {

// Cells first..first+length-1.
inline std::vector<int> cellRun(int first, int length) {
    std::vector<int> out;
    for (int k = first; k < first + length; ++k) out.push_back(k);
    return out;
}

// The cells of `editor`'s grid whose tag is `tag`, in order.
inline std::vector<int> gridCellsOf(const Editor& editor, int tag) {
    std::vector<int> out;
    for (int k = 0; k < CellCount; ++k)
        if (editor.cells()[k].tag == tag) out.push_back(k);
    return out;
}

// The editor's grid and boxes as a test sets them up, ahead of what the project stores.
struct EditorProbe {
    static Cell& cell(Editor& editor, int k) { return editor.cells_[k]; }
    static MainControls& controls(Editor& editor) { return editor.controls_; }
};

// A project, image and a standalone editor over them, for the editor's own rules.
struct EditorFixture : ::testing::Test {
    Project project;
    DeviceImage image;
    MessageTable messages;
    Editor editor{project, messages};

    Cell& gridCell(int k) { return EditorProbe::cell(editor, k); }

    // Defines data field `n` as the image would (type, length) without placing it.
    void defineField(int n, int variableType, int length, int dataSet = 0) {
        FieldDefinition& stored = project.dataSets[dataSet].fields[n - 1];
        stored.variableType = variableType;
        stored.length = length;
        if (dataSet == project.activeDataSet) {
            project.field(n).variableType = variableType;
            project.field(n).length = length;
        }
        image.fieldRecord(dataSet, n - 1).length() = static_cast<std::uint8_t>(length);
    }
    // Places field `n` on cells first..first+length-1 of the grid, switched on.
    void placeField(int n, int first, int length) {
        FieldDefinition& f = project.field(n);
        f.enabled = 1;
        f.placed = 1;
        f.length = length;
        if (f.variableType < 0) f.variableType = 0;
        f.position = first + 1;
        f.column = first % 40 + 1;
        f.row = first / 40 + 1;
        EditorProbe::controls(editor).fieldBoxTicked[n - 1] = true;
        for (int k = first; k < first + length; ++k) {
            gridCell(k).tag = n;
            gridCell(k).colour = CellColour::Field;
        }
    }
    std::vector<int> cellsOf(int tag) const { return gridCellsOf(editor, tag); }
    static std::vector<int> run(int first, int length) { return cellRun(first, length); }
};

// A session as the main window holds it. A test builds the state it starts from in `project`
// and `image`, hands it over with take(), runs operations and reads what the session holds.
struct SessionFixture : ::testing::Test {
    Project project;
    DeviceImage image;
    Session session;

    Outcome take() { return session.document().takeProject(project, image); }
    const Project& held() const { return session.document().project(); }
    const Editor& editor() const { return session.document().editor(); }
    const MainControls& controls() const { return session.document().editor().controls(); }
    std::vector<int> cellsOf(int tag) const { return gridCellsOf(session.document().editor(), tag); }
    // The cells data set `d` of the session's project tags with `tag`.
    std::vector<int> tagged(int d, int tag) const {
        std::vector<int> out;
        for (int k = 0; k < CellCount; ++k)
            if (held().dataSets[d].cellTags[k] == tag) out.push_back(k);
        return out;
    }
    static std::vector<int> run(int first, int length) { return cellRun(first, length); }
};

}  // namespace vem::test
