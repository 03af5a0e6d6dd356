#include <gtest/gtest.h>

#include <functional>

#include "EnglishTexts.h"
#include "model/LayoutCheck.h"

namespace vem {
namespace {

// Field n switched on and placed from cell `first`, its cells marked in data set `d`.
void place(Project& p, int d, int n, int first, int length) {
    FieldDefinition& f = n > DataFieldCount ? p.sharedField(n) : p.dataSets[d].fields[n - 1];
    f.enabled = 1;
    f.placed = 1;
    f.length = length;
    f.startAt(first);
    for (int k = first; k < first + length && k < CellCount; ++k) p.dataSets[d].cellTags[k] = n;
}

TEST(LayoutCheck, TheFirstAndLastCellsAndTheLastFieldsAreChecked) {
    const struct {
        const char* what;
        std::function<void(Project&)> change;
        std::vector<std::string> expected;
    } cases[] = {
        {"field 16 on row 16, column 40", [](Project& p) { place(p, 1, 16, CellCount - 1, 1); }, {}},
        {"field 1 on row 1, column 1", [](Project& p) { place(p, 3, 1, 0, 3); }, {}},
        {"length 255 of field 16", [](Project& p) { p.dataSets[0].fields[15].length = 255; }, {}},
        {"field 16 past the last cell", [](Project& p) { place(p, 0, 16, CellCount, 1); },
         {"data set 1: field 16 has position 641, off the screen"}},
        {"field 16 on a cell of field 15",
         [](Project& p) {
             place(p, 2, 15, 4, 2);
             place(p, 2, 16, 5, 2);
         },
         {"data set 3: field 15 and field 16 both claim row 1, column 6"}},
        {"length of field 16", [](Project& p) { p.dataSets[3].fields[15].length = 256; },
         {"data set 4: field 16: length 256 is outside 0..255"}},
        {"the time's cells unmarked in data set 2",
         [](Project& p) {
             for (int d : {0, 2, 3}) place(p, d, TimeField, 600, 5);
         },
         {"data set 2: the cells marked as time differ from its own (row 16, column 1, length 5)"}},
    };
    for (const auto& c : cases) {
        Project p;
        c.change(p);
        EXPECT_EQ(test::inEnglish(layoutProblems(p, nullptr)), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace vem
