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

std::string number(int n) { return std::to_string(n); }

SlotMessage inDataSet(int d, SlotMessage problem) { return {Msg::InDataSet, {number(d + 1), std::move(problem)}}; }

SlotMessage fieldNamed(int n) {
    if (n == DateField) return {Msg::NameDate, {}};
    if (n == TimeField) return {Msg::NameTime, {}};
    return {Msg::NameField, {number(n)}};
}

// A cell as row and column, both from 1.
std::string rowNumber(int cell) { return number(rowOf(cell) + 1); }
std::string columnNumber(int cell) { return number(columnOf(cell) + 1); }

bool switchedOnAndPlaced(const FieldDefinition& f) { return f.enabled == 1 && f.placed == 1; }

// What is wrong with where the switched-on, placed field `n` lies; none (slot -1) when its run
// lies wholly on the screen and its row and column (which the device goes by) name its first cell.
SlotMessage placementProblem(int n, const FieldDefinition& f) {
    if (f.position < 1 || f.position > CellCount) return {Msg::FieldPositionOff, {fieldNamed(n), number(f.position)}};
    const int first = f.position - 1;
    if (f.length > CellCount - first)
        return {Msg::FieldRunsOff, {fieldNamed(n), number(f.row), number(f.column), number(f.length)}};
    if (f.row < 1 || f.row > ScreenRows || f.column < 1 || f.column > ScreenColumns)
        return {Msg::FieldRowColumnOff, {fieldNamed(n), number(f.row), number(f.column)}};
    if (f.row != rowOf(first) + 1 || f.column != columnOf(first) + 1)
        return {Msg::FieldPlaceMismatch, {fieldNamed(n), number(f.row), number(f.column), number(f.position),
                                          rowNumber(first), columnNumber(first)}};
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

    std::vector<SlotMessage> run() {
        checkScreenText();
        checkLengths();
        placeDateAndTime();
        for (int d = 0; d < DataSetCount; ++d) checkDataSet(d);
        return std::move(problems_);
    }

private:
    const FieldDefinition& shared(int n) const { return p_.dataSets[0].fields[n - 1]; }
    void add(SlotMessage problem) { problems_.push_back(std::move(problem)); }

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
                add({Msg::CellCannotShow, {rowNumber(k), columnNumber(k), code}});
            }
        }
    }

    void checkLengths() {
        for (int d = 0; d < DataSetCount; ++d) {
            for (int n = 1; n <= DataFieldCount; ++n) {
                const FieldDefinition& f = p_.dataSets[d].fields[n - 1];
                if (f.length < 0 || f.length > ByteLimit) {
                    add(inDataSet(d, {Msg::FieldLengthOutside, {fieldNamed(n), number(f.length)}}));
                } else if (template_ && f.isDefined()) {
                    const int limit = template_->maxFieldLength(d, n);
                    if (f.length > limit)
                        add(inDataSet(d, {Msg::FieldLengthAboveTemplate, {fieldNamed(n), number(f.length), number(limit)}}));
                }
                if (template_ && f.variableType == -1 && f.enabled == 1)
                    add(inDataSet(d, {Msg::FieldNotInTemplate, {fieldNamed(n)}}));
            }
        }
        for (int n : {DateField, TimeField})
            if (shared(n).length < 0 || shared(n).length > ByteLimit)
                add({Msg::FieldLengthOutside, {fieldNamed(n), number(shared(n).length)}});
    }

    // Date and time belong to every data set: their placement is reported once.
    void placeDateAndTime() {
        for (int j = 0; j < 2; ++j) {
            const FieldDefinition& f = shared(DateField + j);
            if (!switchedOnAndPlaced(f)) continue;
            if (SlotMessage problem = placementProblem(DateField + j, f); problem.slot >= 0) add(std::move(problem));
            sharedStart_[j] = sharedRunStart(f);
        }
        const auto date = runCells(sharedStart_[0], shared(DateField).length);
        for (int k : runCells(sharedStart_[1], shared(TimeField).length)) {
            if (!date.contains(k)) continue;
            add({Msg::DateTimeOverlap, {rowNumber(k), columnNumber(k)}});
            dateTimeOverlap_ = true;
            break;
        }
    }

    void checkDataSet(int d) {
        const DataSet& set = p_.dataSets[d];
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
            if (SlotMessage problem = placementProblem(n, f); problem.slot >= 0) add(inDataSet(d, std::move(problem)));
            start[n] = sharedRunStart(f);
            for (int k : runCells(start[n], f.length)) {
                if (owner[k] == 0) {
                    owner[k] = n;
                    continue;
                }
                const std::pair<int, int> pair{std::min(owner[k], n), std::max(owner[k], n)};
                overlapping[owner[k]] = overlapping[n] = true;
                if (reported.insert(pair).second)
                    add(inDataSet(d, {Msg::FieldsOverlap, {fieldNamed(pair.first), fieldNamed(pair.second),
                                                           rowNumber(k), columnNumber(k)}}));
            }
        }
        checkTags(d, start, overlapping);
    }

    // The cells marked for a field are those the editor shows as the field's.
    void checkTags(int d, const std::array<int, FieldCount + 1>& start,
                   const std::array<bool, FieldCount + 1>& overlapping) {
        const CellTags& tags = p_.dataSets[d].cellTags;
        int strays = 0;
        int firstStray = -1;
        for (int k = 0; k < CellCount; ++k) {
            if (tags[k] >= 0 && tags[k] <= FieldCount) continue;
            if (strays++ == 0) firstStray = k;
        }
        if (strays > 0)
            add(inDataSet(d, {Msg::StrayCellTags, {number(strays), rowNumber(firstStray), columnNumber(firstStray),
                                                   number(tags[firstStray])}}));
        for (int n = 1; n <= FieldCount; ++n) {
            const bool dateOrTime = n > DataFieldCount;
            const FieldDefinition& f = dateOrTime ? shared(n) : p_.dataSets[d].fields[n - 1];
            // A data field switched off or unplaced may leave its tags behind (the editor frees
            // them); a field off the screen is reported already.
            if (start[n] < 0 && (!dateOrTime || switchedOnAndPlaced(f))) continue;
            if (overlapping[n] || (dateOrTime && dateTimeOverlap_)) continue;
            if (cellsTagged(tags, n) == runCells(start[n], f.length)) continue;
            if (start[n] < 0)
                add(inDataSet(d, {Msg::TagsOfUnplacedField, {fieldNamed(n)}}));
            else
                add(inDataSet(d, {Msg::TagsDiffer, {fieldNamed(n), rowNumber(start[n]), columnNumber(start[n]),
                                                    number(f.length)}}));
        }
    }

    const Project& p_;
    const DeviceImage* template_;
    std::vector<SlotMessage> problems_;
    std::array<int, 2> sharedStart_{-1, -1};
    bool dateTimeOverlap_ = false;
};

}  // namespace

std::vector<SlotMessage> layoutProblems(const Project& project, const DeviceImage* loadedTemplate) {
    return LayoutChecker(project, loadedTemplate).run();
}

}  // namespace vem
