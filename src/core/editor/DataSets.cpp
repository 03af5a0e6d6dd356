#include "editor/Editor.h"

namespace vem {

void Editor::switchDataSet(int k) {
    if (k < 0 || k >= DataSetCount || k == project.activeDataSet) return;
    project.storeWorkingFields();
    storeCellTags();

    project.activeDataSet = k;
    project.loadWorkingFields(k, true);
    const CellTags& tags = project.dataSets[k].cellTags;
    for (int c = 0; c < CellCount; ++c) cells[c].tag = tags[c];
    showDataFieldControls();
    // What the check box handlers just placed is kept through the refresh.
    project.storeWorkingFields();
    storeCellTags();
    refreshWindowFromProject();
}

void Editor::activateDataSet(int dataSet) {
    project.activeDataSet = dataSet;
    project.loadWorkingFields(dataSet, false);
    for (auto& caption : controls.fieldBoxCaption) caption.clear();
    showDataFieldControls(true);
}

void Editor::showDataSetAvailability() {
    for (int d = 0; d < DataSetCount; ++d)
        controls.dataSetButtonEnabled[d] = project.dataSets[d].dataSetAvailable == 1;
}

void Editor::reloadCellTags() {
    const CellTags& tags = project.dataSets[project.activeDataSet].cellTags;
    for (int k = 0; k < CellCount; ++k) {
        Cell& c = cells[k];
        if (c.tag == tags[k]) continue;
        c.tag = tags[k];
        if (k != cursor.cell || c.colour != CellColour::White)
            c.colour = c.tag > 0 ? CellColour::Field : CellColour::ButtonFace;
    }
    updateCellHints();
}

void Editor::showDataFieldControls(bool tickBoxes) {
    for (int n = 1; n <= DataFieldCount; ++n) {
        const FieldDefinition& f = project.field(n);
        if (f.variableType == -1) {
            controls.fieldButtonEnabled[n - 1] = false;
            if (tickBoxes) setFieldCheckBox(n, false);
            controls.fieldBoxCaption[n - 1].clear();
            controls.fieldBoxEnabled[n - 1] = false;
        } else if (f.isDefined()) {
            controls.fieldButtonEnabled[n - 1] = true;
            controls.fieldBoxEnabled[n - 1] = true;
            if (tickBoxes) setFieldCheckBox(n, f.enabled == 1);
        }
    }
}

}  // namespace vem
