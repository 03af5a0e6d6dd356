#include <gtest/gtest.h>

#include <algorithm>

#include "model/FieldCells.h"

namespace vem {
namespace {

// Data set 1 holds field `n` (type `type`, switched on, 4 cells from `first`); the date claims
// 8 cells from `datePosition` - 1 in every data set.
struct DisplacementCase {
    const char* what;
    int n;
    int type;
    int first;
    int datePosition;
    int expectedPosition;  // 0: the field ends unplaced
};

TEST(FieldCells, DataFieldsUnderTheDateAreMovedOrFreed) {
    const DisplacementCase cases[] = {
        {"moved behind the date", 3, 0, 2, 1, 9},
        {"moved to cell 0", 3, 1, 12, 9, 1},
        {"field 16 too", 16, 0, 2, 1, 9},
        {"field 1 too", 1, 0, 2, 1, 9},
        {"a type the check box never places is freed", 3, 2, 2, 1, 0},
        {"untouched beside the date", 3, 0, 8, 1, 9},
        {"date on the last eight cells", 3, 0, 634, 633, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Project p;
        FieldDefinition& f = p.dataSets[1].fields[c.n - 1];
        f.variableType = c.type;
        f.enabled = 1;
        f.placed = 1;
        f.length = 4;
        f.startAt(c.first);
        for (int k = c.first; k < c.first + 4; ++k) p.dataSets[1].cellTags[k] = c.n;
        FieldDefinition& date = p.sharedField(DateField);
        date.enabled = 1;
        date.placed = 1;
        date.length = 8;
        date.position = c.datePosition;

        shareDateTimeCells(p);
        EXPECT_EQ(date.placed, 1);
        for (const DataSet& set : p.dataSets) EXPECT_EQ(set.cellTags[c.datePosition - 1 + 7], DateField);
        EXPECT_EQ(f.placed, c.expectedPosition > 0 ? 1 : 0);
        int owned = 0;
        for (int k = 0; k < CellCount; ++k) owned += p.dataSets[1].cellTags[k] == c.n;
        EXPECT_EQ(owned, c.expectedPosition > 0 ? 4 : 0);
        if (c.expectedPosition > 0) {
            EXPECT_EQ(p.dataSets[1].cellTags[c.expectedPosition - 1], c.n);
        }
    }
}

TEST(FieldCells, DisplacedFieldsLeaveBeforeAnyIsPlacedAgain) {
    Project p;
    for (int n : {2, 3}) {  // field 2 switched on, field 3 switched off; both under the date
        FieldDefinition& f = p.dataSets[1].fields[n - 1];
        f.variableType = 0;
        f.enabled = n == 2 ? 1 : 0;
        f.placed = 1;
        f.length = 4;
        f.startAt(n == 2 ? 0 : 6);
        for (int k = f.position - 1; k < f.position + 3; ++k) p.dataSets[1].cellTags[k] = n;
    }
    FieldDefinition& date = p.sharedField(DateField);
    date.enabled = 1;
    date.placed = 1;
    date.length = 8;
    date.startAt(0);
    shareDateTimeCells(p);
    EXPECT_EQ(p.dataSets[1].fields[1].position, 9);  // field 3's last cells are free again
    EXPECT_EQ(p.dataSets[1].cellTags[8], 2);
}

TEST(FieldCells, DateAndTimeClaimCellsOnlyWhenOnPlacedAndOnTheScreen) {
    const struct {
        const char* what;
        int enabled, placed, position, length;
        bool claims;
    } cases[] = {
        {"on and placed", 1, 1, 1, 8, true},     {"switched off", 0, 1, 1, 8, false},
        {"not placed", 1, 0, 1, 8, false},       {"no position", 1, 1, 0, 8, false},
        {"past the last cell", 1, 1, 634, 8, false}, {"no length", 1, 1, 1, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Project p;
        FieldDefinition& time = p.sharedField(TimeField);
        time.enabled = c.enabled;
        time.placed = c.placed;
        time.position = c.position;
        time.length = c.length;
        p.dataSets[2].cellTags[300] = TimeField;  // a stale cell goes in every case
        shareDateTimeCells(p);
        EXPECT_EQ(p.dataSets[2].cellTags[300], 0);
        EXPECT_EQ(p.dataSets[3].cellTags[0] == TimeField, c.claims);
        EXPECT_EQ(time.placed, c.claims ? 1 : 0);
    }
}

TEST(FieldCells, TimeIsPlacedOnlyClearOfTheDate) {
    const struct {
        const char* what;
        int dateFirst, timeFirst;
        bool timePlaced;
    } cases[] = {
        {"right behind the date", 0, 8, true},
        {"on the date's last cell", 0, 7, false},
        {"from cell 0 into the date", 4, 0, false},
        {"from cell 0, right before the date", 8, 0, true},
    };
    for (const auto& c : cases) {
        Project p;
        for (int n : {DateField, TimeField}) {
            FieldDefinition& f = p.sharedField(n);
            f.enabled = 1;
            f.placed = 1;
            f.length = 8;
            f.startAt(n == DateField ? c.dateFirst : c.timeFirst);
        }
        shareDateTimeCells(p);
        EXPECT_EQ(p.sharedField(TimeField).placed, c.timePlaced ? 1 : 0) << c.what;
        EXPECT_EQ(p.dataSets[1].cellTags[c.dateFirst + 7], DateField) << c.what;
        EXPECT_EQ(std::count(p.dataSets[1].cellTags.begin(), p.dataSets[1].cellTags.end(), TimeField),
                  c.timePlaced ? 8 : 0)
            << c.what;
    }
}

TEST(FieldCells, AFreeRunNeedsItsOwnCellsFreeAndNoMore) {
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> tagged;  // first cell, tag; up to the next entry's cell
        int length;
        int expected;
    } cases[] = {
        {"a gap of exactly the length", {{0, 1}, {4, 0}, {8, 2}, {12, 0}}, 4, 4},
        {"a gap one cell short", {{0, 1}, {4, 0}, {7, 2}, {12, 0}}, 4, 12},
        {"a negative tag inside the run is free", {{0, 1}, {4, 0}, {5, -3}, {6, 0}}, 4, 4},
        {"a negative tag at its start is not", {{0, 1}, {4, -3}, {5, 0}}, 4, 5},
        {"the run may end on cell 638", {{0, 1}, {631, 0}, {639, 0}}, 8, 631},
        {"but never on cell 639", {{0, 1}, {632, 0}}, 8, -1},
        {"no length", {}, 0, -1},
    };
    for (const auto& c : cases) {
        CellTags tags{};
        for (std::size_t i = 0; i < c.tagged.size(); ++i) {
            const int end = i + 1 < c.tagged.size() ? c.tagged[i + 1].first : CellCount;
            for (int k = c.tagged[i].first; k < end; ++k) tags[k] = c.tagged[i].second;
        }
        EXPECT_EQ(findFreeRun(tags, c.length), c.expected) << c.what;
    }
}

TEST(FieldCells, TagsThatNameNoFieldUnderTheDateDisplaceNothing) {
    Project p;
    FieldDefinition& date = p.sharedField(DateField);
    date.enabled = 1;
    date.placed = 1;
    date.length = 8;
    date.startAt(0);
    p.dataSets[1].cellTags[2] = 99;
    p.dataSets[1].cellTags[3] = -2;
    const Project before = p;
    shareDateTimeCells(p);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(p.dataSets[1].cellTags[k], DateField) << k;
    for (int d = 0; d < DataSetCount; ++d)
        for (int n = 1; n <= DataFieldCount; ++n)
            EXPECT_EQ(p.dataSets[d].fields[n - 1].placed, before.dataSets[d].fields[n - 1].placed);
}

}  // namespace
}  // namespace vem
