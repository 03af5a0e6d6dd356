#pragma once
#include <gtest/gtest.h>

#include <string>

#include "session/Session.h"

namespace vem::test {

// Opens `path` as the window does when the question about the project's problems, if asked,
// is answered with yes.
inline Outcome openAnyway(Session& s, const std::string& path) {
    const Outcome asked = s.document().openProject(path);
    return asked.question ? s.answer(true) : asked;
}

// The cells of data set `d` that carry `tag`.
inline int cellCount(const Project& p, int d, int tag) {
    int n = 0;
    for (std::int32_t t : p.dataSets[d].cellTags) n += t == tag;
    return n;
}

// The invariants the Session keeps after every operation; an empty text when all hold.
inline std::string brokenInvariant(const Session& s) {
    const Project& p = s.document().project();
    const Editor& e = s.document().editor();
    const DataSet& active = p.dataSets[p.activeDataSet];
    for (int k = 0; k < CellCount; ++k)
        if (e.cells()[k].tag != active.cellTags[k]) return "grid and active data set differ at cell " + std::to_string(k);
    for (int i = 0; i < DataFieldCount; ++i) {
        const FieldDefinition &w = p.fields[i], &a = active.fields[i];
        if (std::tie(w.enabled, w.placed, w.length, w.offset, w.conversion, w.variableType, w.column, w.row,
                     w.position, w.description) !=
            std::tie(a.enabled, a.placed, a.length, a.offset, a.conversion, a.variableType, a.column, a.row,
                     a.position, a.description))
            return "working copy of field " + std::to_string(i + 1) + " differs from the active data set";
    }
    for (int d = 0; d < DataSetCount; ++d) {
        const std::string where = " in data set " + std::to_string(d);
        for (int k = 0; k < CellCount; ++k) {
            const std::int32_t t = p.dataSets[d].cellTags[k];
            const std::int32_t first = p.dataSets[0].cellTags[k];
            if (t < 0 || t > FieldCount) return "tag " + std::to_string(t) + where;
            if ((t > DataFieldCount ? t : 0) != (first > DataFieldCount ? first : 0))
                return "date or time cell " + std::to_string(k) + " differs" + where;
        }
        for (int n = 1; n <= FieldCount; ++n) {
            const FieldDefinition& f = n > DataFieldCount ? p.dataSets[0].fields[n - 1] : p.dataSets[d].fields[n - 1];
            const int owned = cellCount(p, d, n);
            const int expected = f.enabled == 1 && f.placed == 1 ? f.length : 0;
            if (owned != expected)
                return "field " + std::to_string(n) + " owns " + std::to_string(owned) + " cells, not " +
                       std::to_string(expected) + where;
        }
    }
    return {};
}

}  // namespace vem::test
