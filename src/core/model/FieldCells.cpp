#include "model/FieldCells.h"

namespace vem {

int findFreeRun(const CellTags& tags, int length) {
    if (length <= 0) return -1;
    for (int s = 0; s < CellCount - length; ++s) {
        if (tags[s] != 0) continue;
        bool free = true;
        for (int k = s; k < s + length && free; ++k) free = tags[k] <= 0;
        if (free) return s;
    }
    return -1;
}

int sharedRunStart(const FieldDefinition& f) {
    const int s = f.position - 1;
    if (f.enabled != 1 || f.placed != 1 || f.length <= 0 || s < 0 || s + f.length > CellCount) return -1;
    return s;
}

namespace {

bool isDateOrTimeTag(std::int32_t tag) { return tag > DataFieldCount; }
bool isDataFieldTag(std::int32_t tag) { return tag >= 1 && tag <= DataFieldCount; }

void replaceDisplaced(DataSet& set, const std::array<bool, DataFieldCount + 1>& displaced) {
    CellTags& tags = set.cellTags;
    // Every displaced field leaves all its cells before any of them looks for a new run.
    for (auto& t : tags)
        if (isDataFieldTag(t) && displaced[t]) t = 0;
    for (int n = 1; n <= DataFieldCount; ++n) {
        if (!displaced[n]) continue;
        FieldDefinition& f = set.fields[n - 1];
        f.placed = 0;
        if (f.enabled != 1 || (f.variableType != 0 && f.variableType != 1)) continue;
        const int start = findFreeRun(tags, f.length);
        if (start < 0) continue;
        for (int k = start; k < start + f.length; ++k) tags[k] = n;
        f.placed = 1;
        f.startAt(start);
    }
}

}  // namespace

void shareDateTimeCells(Project& p) {
    std::array<bool, CellCount> taken{};
    std::array<int, 2> start{};
    for (int j = 0; j < 2; ++j) {
        FieldDefinition& f = p.sharedField(DateField + j);
        start[j] = sharedRunStart(f);
        for (int k = start[j]; start[j] >= 0 && k < start[j] + f.length; ++k)
            if (taken[k]) start[j] = -1;  // the time would overlap the date
        if (start[j] < 0) {
            f.placed = 0;  // a field without its cells is not placed
            continue;
        }
        for (int k = start[j]; k < start[j] + f.length; ++k) taken[k] = true;
    }
    for (DataSet& set : p.dataSets) {
        std::array<bool, DataFieldCount + 1> displaced{};
        for (auto& t : set.cellTags)
            if (isDateOrTimeTag(t)) t = 0;
        for (int j = 0; j < 2; ++j) {
            if (start[j] < 0) continue;
            const int length = p.sharedField(DateField + j).length;
            for (int k = start[j]; k < start[j] + length; ++k) {
                std::int32_t& t = set.cellTags[k];
                if (isDataFieldTag(t)) displaced[t] = true;
                t = DateField + j;
            }
        }
        replaceDisplaced(set, displaced);
    }
}

}  // namespace vem
