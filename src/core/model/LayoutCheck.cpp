#include "model/LayoutCheck.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <utility>

#include "model/CharCodes.h"
#include "model/DeviceImage.h"
#include "model/FieldCells.h"

namespace vem {
namespace {

constexpr int ByteLimit = 255;

std::string dataSetName(int d) { return "data set " + std::to_string(d + 1) + ": "; }

std::string cellName(int cell) {
    return "row " + std::to_string(rowOf(cell) + 1) + ", column " + std::to_string(columnOf(cell) + 1);
}

std::string placeOf(const FieldDefinition& f) {
    return "row " + std::to_string(f.row) + ", column " + std::to_string(f.column) + ", length " +
           std::to_string(f.length);
}

bool switchedOnAndPlaced(const FieldDefinition& f) { return f.enabled == 1 && f.placed == 1; }

// What is wrong with where a switched-on, placed field lies, to follow the field's name; empty
// when its run lies wholly on the screen and its row and column (which the device goes by) name
// its first cell.
std::string placementProblem(const FieldDefinition& f) {
    if (f.position < 1 || f.position > CellCount)
        return " has position " + std::to_string(f.position) + ", off the screen";
    const int first = f.position - 1;
    if (f.length > CellCount - first) return " (" + placeOf(f) + ") runs off the screen";
    if (f.row < 1 || f.row > ScreenRows || f.column < 1 || f.column > ScreenColumns)
        return " (row " + std::to_string(f.row) + ", column " + std::to_string(f.column) +
               ") lies off the screen";
    if (f.row != rowOf(first) + 1 || f.column != columnOf(first) + 1)
        return ": row " + std::to_string(f.row) + ", column " + std::to_string(f.column) +
               " do not match its position " + std::to_string(f.position) + " (" + cellName(first) + ")";
    return {};
}

std::set<int> runCells(int start, int length) {
    std::set<int> cells;
    for (int k = start; start >= 0 && k < start + length; ++k) cells.insert(k);
    return cells;
}

std::set<int> cellsTagged(const CellTags& tags, int n) {
    std::set<int> cells;
    for (int k = 0; k < CellCount; ++k)
        if (tags[k] == n) cells.insert(k);
    return cells;
}

class LayoutChecker {
public:
    LayoutChecker(const Project& p, const DeviceImage* loadedTemplate) : p_(p), template_(loadedTemplate) {}

    std::vector<std::string> run() {
        checkScreenText();
        checkLengths();
        placeDateAndTime();
        for (int d = 0; d < DataSetCount; ++d) checkDataSet(d);
        return std::move(problems_);
    }

private:
    const FieldDefinition& shared(int n) const { return p_.dataSets[0].fields[n - 1]; }
    void add(std::string line) { problems_.push_back(std::move(line)); }

    void checkScreenText() {
        for (int k = 0; k < CellCount; ++k) {
            const std::string& text = p_.screenText[k];
            if (text.empty()) continue;
            const auto c = static_cast<unsigned char>(text[0]);
            const std::string shown(1, text[0]);
            const bool control = c < 0x20 || c == 0x7F;
            // "&" alone and "&&" both reach the device as the ampersand.
            if (control || (c != '&' && cellTextForDeviceCode(deviceCodeForCell(shown)) != shown)) {
                char code[8];
                std::snprintf(code, sizeof code, "0x%02X", c);
                add(cellName(k) + ": the device cannot show character " + code);
            }
        }
    }

    void checkLengths() {
        for (int d = 0; d < DataSetCount; ++d) {
            for (int n = 1; n <= DataFieldCount; ++n) {
                const FieldDefinition& f = p_.dataSets[d].fields[n - 1];
                const std::string where = dataSetName(d) + fieldName(n);
                if (f.length < 0 || f.length > ByteLimit) {
                    add(where + ": length " + std::to_string(f.length) + " is outside 0..255");
                } else if (template_ && f.isDefined()) {
                    const int limit = template_->maxFieldLength(d, n);
                    if (f.length > limit)
                        add(where + ": length " + std::to_string(f.length) +
                            " is above the template's limit of " + std::to_string(limit));
                }
                if (template_ && f.variableType == -1 && f.enabled == 1)
                    add(where + " is switched on, but the template has no such field");
            }
        }
        for (int n : {DateField, TimeField})
            if (shared(n).length < 0 || shared(n).length > ByteLimit)
                add(fieldName(n) + ": length " + std::to_string(shared(n).length) + " is outside 0..255");
    }

    // Date and time belong to every data set: their placement is reported once.
    void placeDateAndTime() {
        for (int j = 0; j < 2; ++j) {
            const FieldDefinition& f = shared(DateField + j);
            if (!switchedOnAndPlaced(f)) continue;
            if (const std::string problem = placementProblem(f); !problem.empty())
                add(fieldName(DateField + j) + problem);
            sharedStart_[j] = sharedRunStart(f);
        }
        const auto date = runCells(sharedStart_[0], shared(DateField).length);
        for (int k : runCells(sharedStart_[1], shared(TimeField).length)) {
            if (!date.contains(k)) continue;
            add("date and time both claim " + cellName(k));
            dateTimeOverlap_ = true;
            break;
        }
    }

    void checkDataSet(int d) {
        const DataSet& set = p_.dataSets[d];
        const std::string where = dataSetName(d);
        std::array<int, CellCount> owner{};
        std::array<int, FieldCount + 1> start{};
        std::array<bool, FieldCount + 1> overlapping{};
        start.fill(-1);
        for (int j = 0; j < 2; ++j) {
            start[DateField + j] = sharedStart_[j];
            for (int k : runCells(sharedStart_[j], shared(DateField + j).length))
                if (owner[k] == 0) owner[k] = DateField + j;
        }
        std::set<std::pair<int, int>> reported;
        for (int n = 1; n <= DataFieldCount; ++n) {
            const FieldDefinition& f = set.fields[n - 1];
            if (!switchedOnAndPlaced(f)) continue;
            if (const std::string problem = placementProblem(f); !problem.empty())
                add(where + fieldName(n) + problem);
            start[n] = sharedRunStart(f);
            for (int k : runCells(start[n], f.length)) {
                if (owner[k] == 0) {
                    owner[k] = n;
                    continue;
                }
                const std::pair<int, int> pair{std::min(owner[k], n), std::max(owner[k], n)};
                overlapping[owner[k]] = overlapping[n] = true;
                if (reported.insert(pair).second)
                    add(where + fieldName(pair.first) + " and " + fieldName(pair.second) + " both claim " +
                        cellName(k));
            }
        }
        checkTags(d, start, overlapping);
    }

    // The cells marked for a field are those the editor shows as the field's.
    void checkTags(int d, const std::array<int, FieldCount + 1>& start,
                   const std::array<bool, FieldCount + 1>& overlapping) {
        const CellTags& tags = p_.dataSets[d].cellTags;
        const std::string where = dataSetName(d);
        int strays = 0;
        int firstStray = -1;
        for (int k = 0; k < CellCount; ++k) {
            if (tags[k] >= 0 && tags[k] <= FieldCount) continue;
            if (strays++ == 0) firstStray = k;
        }
        if (strays > 0)
            add(where + std::to_string(strays) +
                " cell(s) marked with a number that names no field, the first at " + cellName(firstStray) +
                " (" + std::to_string(tags[firstStray]) + ")");
        for (int n = 1; n <= FieldCount; ++n) {
            const bool dateOrTime = n > DataFieldCount;
            const FieldDefinition& f = dateOrTime ? shared(n) : p_.dataSets[d].fields[n - 1];
            // A data field switched off or unplaced may leave its tags behind (the editor frees
            // them); a field off the screen is reported already.
            if (start[n] < 0 && (!dateOrTime || switchedOnAndPlaced(f))) continue;
            if (overlapping[n] || (dateOrTime && dateTimeOverlap_)) continue;
            if (cellsTagged(tags, n) == runCells(start[n], f.length)) continue;
            if (start[n] < 0)
                add(where + "cells are marked as " + fieldName(n) + ", which is switched off or not placed");
            else
                add(where + "the cells marked as " + fieldName(n) + " differ from its own (" +
                    cellName(start[n]) + ", length " + std::to_string(f.length) + ")");
        }
    }

    const Project& p_;
    const DeviceImage* template_;
    std::vector<std::string> problems_;
    std::array<int, 2> sharedStart_{-1, -1};
    bool dateTimeOverlap_ = false;
};

}  // namespace

std::vector<std::string> layoutProblems(const Project& project, const DeviceImage* loadedTemplate) {
    return LayoutChecker(project, loadedTemplate).run();
}

}  // namespace vem
