#include "editor/Editor.h"

namespace vem {

void Editor::switchDataSet(int k) {
    if (k < 0 || k >= DataSetCount || k == project_.activeDataSet) return;
    project_.storeWorkingFields();
    storeCellTags();

    project_.activeDataSet = k;
    project_.loadWorkingFields(k, true);
    const CellTags& tags = project_.dataSets[k].cellTags;
    for (int c = 0; c < CellCount; ++c) cells_[c].tag = tags[c];
    showDataFieldControls();
    // What the check box handlers just placed is kept through the refresh.
    project_.storeWorkingFields();
    storeCellTags();
    refreshWindowFromProject();
}

void Editor::activateDataSet(int dataSet) {
    project_.activeDataSet = dataSet;
    project_.loadWorkingFields(dataSet, false);
    clearFieldBoxCaptions();
    showDataFieldControls(true);
}

void Editor::clearFieldBoxCaptions() {
    for (auto& caption : controls_.fieldBoxCaption) caption.clear();
}

void Editor::showDataSetAvailability() {
    for (int d = 0; d < DataSetCount; ++d)
        controls_.dataSetButtonEnabled[d] = project_.dataSets[d].dataSetAvailable == 1;
}

void Editor::reloadCellTags() {
    const CellTags& tags = project_.dataSets[project_.activeDataSet].cellTags;
    for (int k = 0; k < CellCount; ++k) {
        Cell& c = cells_[k];
        if (c.tag == tags[k]) continue;
        c.tag = tags[k];
        if (k != cursor_.cell || c.colour != CellColour::White)
            c.colour = c.tag > 0 ? CellColour::Field : CellColour::ButtonFace;
    }
    updateCellHints();
}

void Editor::showDataFieldControls(bool tickBoxes) {
    for (int n = 1; n <= DataFieldCount; ++n) {
        const FieldDefinition& f = project_.field(n);
        if (f.variableType == -1) {
            controls_.fieldButtonEnabled[n - 1] = false;
            if (tickBoxes) setFieldCheckBox(n, false);
            controls_.fieldBoxCaption[n - 1].clear();
            controls_.fieldBoxEnabled[n - 1] = false;
        } else if (f.isDefined()) {
            controls_.fieldButtonEnabled[n - 1] = true;
            controls_.fieldBoxEnabled[n - 1] = true;
            if (tickBoxes) setFieldCheckBox(n, f.enabled == 1);
        }
    }
}

}  // namespace vem
