#pragma once
#include <gtest/gtest.h>

#include "editor/Editor.h"
#include "model/DeviceImage.h"

namespace vem::test {

// A project, image and editor as the main window holds them.
struct EditorFixture : ::testing::Test {
    Project project;
    DeviceImage image;
    MessageTable messages;
    Editor editor{project, messages};

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
        editor.controls.fieldBoxTicked[n - 1] = true;
        for (int k = first; k < first + length; ++k) {
            editor.cells[k].tag = n;
            editor.cells[k].colour = CellColour::Field;
        }
    }
    std::vector<int> cellsOf(int tag) const {
        std::vector<int> out;
        for (int k = 0; k < CellCount; ++k)
            if (editor.cells[k].tag == tag) out.push_back(k);
        return out;
    }
    static std::vector<int> run(int first, int length) {
        std::vector<int> out;
        for (int k = first; k < first + length; ++k) out.push_back(k);
        return out;
    }
};

}  // namespace vem::test
