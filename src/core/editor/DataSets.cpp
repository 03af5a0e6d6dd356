#include "editor/Editor.h"
#include "editor/FieldPlacement.h"

namespace vem {
namespace {

bool isDateOrTimeTag(std::int32_t tag) { return tag > DataFieldCount; }

// The shared date and time cells are copied into data set `target`. A data field there that
// loses a cell to them is freed and, when it is placed automatically, given the first free run
// again; without room it stays switched on but unplaced.
void copyDateTimeCells(const CellTags& active, DataSet& target) {
    CellTags& tags = target.cellTags;
    for (auto& t : tags)
        if (isDateOrTimeTag(t)) t = 0;
    std::array<bool, DataFieldCount + 1> displaced{};
    for (int k = 0; k < CellCount; ++k) {
        if (!isDateOrTimeTag(active[k])) continue;
        if (tags[k] >= 1 && tags[k] <= DataFieldCount) displaced[tags[k]] = true;
        tags[k] = active[k];
    }
    for (int n = 1; n <= DataFieldCount; ++n) {
        if (!displaced[n]) continue;
        for (auto& t : tags)
            if (t == n) t = 0;
        FieldDefinition& f = target.fields[n - 1];
        f.placed = 0;
        if (f.variableType != 0 && f.variableType != 1) continue;
        const int start = findFreeRun(tags, f.length);
        if (start < 0) continue;
        for (int k = start; k < start + f.length; ++k) tags[k] = n;
        f.placed = 1;
        f.startAt(start);
    }
}

}  // namespace

void Editor::switchDataSet(int k) {
    if (k < 0 || k >= DataSetCount || k == project.activeDataSet) return;
    project.storeWorkingFields();
    storeCellTags();

    const CellTags& activeTags = project.dataSets[project.activeDataSet].cellTags;
    for (int d = 0; d < DataSetCount; ++d)
        if (d != project.activeDataSet) copyDateTimeCells(activeTags, project.dataSets[d]);
    project.storeSharedDateTime();

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
