#include "files/ProjectFile.h"

#include <limits>

#include "files/ImageFile.h"
#include "i18n/MessageTable.h"
#include "model/DeviceImage.h"
#include "model/Project.h"

namespace vem {

std::int32_t projectNumber(std::string_view item) {
    std::size_t i = 0;
    while (i < item.size() && (item[i] == ' ' || (item[i] >= '\t' && item[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < item.size() && (item[i] == '-' || item[i] == '+')) negative = item[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t Limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < item.size() && item[i] >= '0' && item[i] <= '9'; ++i)
        value = std::min(value * 10 + (item[i] - '0'), Limit);
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, Limit - 1));
}

std::vector<std::string_view> splitProjectLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = last ? text.size() : end + 1;
    }
    return lines;
}

namespace {

bool unsaveableCell(const std::string& text) {
    return text.find_first_of(",\r\n") != std::string::npos;
}

// Items of one line: all but the last run up to the next ",", the last one is the rest of the
// line. Items past the end of a short line are empty.
class Items {
public:
    explicit Items(std::string_view line) : line_(line) {}
    std::string_view next() {
        if (done_) return {};
        const std::size_t comma = line_.find(',', pos_);
        if (comma == std::string_view::npos) return rest();
        const std::string_view item = line_.substr(pos_, comma - pos_);
        pos_ = comma + 1;
        return item;
    }
    std::string_view rest() {
        if (done_) return {};
        done_ = true;
        return line_.substr(pos_);
    }

private:
    std::string_view line_;
    std::size_t pos_ = 0;
    bool done_ = false;
};

// `count` numbers, the last one the rest of the line.
template <typename Store>
void readNumbers(std::string_view line, int count, Store store) {
    Items items(line);
    for (int i = 0; i < count; ++i) store(i, projectNumber(i + 1 < count ? items.next() : items.rest()));
}

class Writer {
public:
    void text(const std::string& t) {
        for (char c : t) out_ += (c == '\n' || c == '\r') ? ' ' : c;
        out_ += '\n';
    }
    void number(std::int64_t v) {
        out_ += std::to_string(v);
        out_ += '\n';
    }
    template <typename Get>
    void numbers(int count, Get get) {
        for (int i = 0; i < count; ++i) {
            if (i > 0) out_ += ',';
            out_ += std::to_string(get(i));
        }
        out_ += '\n';
    }
    std::string take() { return std::move(out_); }
    std::string& raw() { return out_; }

private:
    std::string out_;
};

}  // namespace

std::string writeProjectText(const Project& p) {
    Writer w;
    w.text(p.writeReadoutOnSave ? std::string(ReadoutFileName) : p.imageFileName);
    for (int r = 0; r < ScreenRows; ++r) {
        std::string& out = w.raw();
        for (int c = 0; c < ScreenColumns; ++c) {
            if (c > 0) out += ',';
            const std::string& cell = p.screenText[cellIndex(r, c)];
            out += unsaveableCell(cell) ? std::string(" ") : cell;
        }
        out += '\n';
    }
    for (const DataSet& set : p.dataSets) w.numbers(CellCount, [&](int k) { return set.cellTags[k]; });
    for (const DataSet& set : p.dataSets) {
        const FieldArray& f = set.fields;
        w.numbers(FieldCount, [&](int i) { return f[i].enabled; });
        w.numbers(FieldCount, [&](int i) { return f[i].placed; });
        w.numbers(FieldCount, [&](int i) { return f[i].length; });
        w.numbers(DataFieldCount, [&](int i) { return f[i].offset; });
        w.numbers(DataFieldCount, [&](int i) { return f[i].conversion; });
        w.numbers(FieldCount, [&](int i) { return f[i].variableType; });
        w.numbers(FieldCount, [&](int i) { return f[i].column; });
        w.numbers(FieldCount, [&](int i) { return f[i].row; });
        w.numbers(FieldCount, [&](int i) { return f[i].position; });
        for (int i = 0; i < DataFieldCount; ++i) w.text(f[i].description);
    }
    const DeviceSettings& d = p.device;
    w.number(p.summerTimeManual);
    w.number(d.DataHoldSeconds);
    w.number(d.RelayHoldSeconds);
    w.number(d.DeviceHandshake);
    w.number(d.DeviceDataFormat);
    w.number(d.DeviceBaudIndex);
    w.text(dottedAddress(d.IpAddress));
    w.number(d.IpPort);
    w.number(p.spareValue1);
    w.number(p.spareValue2);
    const PosSettings& pos = p.pos;
    for (std::uint8_t v : {pos.RegisterNumber, pos.FirstLine, pos.LineCount, pos.ScrollDirection,
                           pos.BackgroundMode, pos.Transparency, pos.TextColour})
        w.number(v);
    w.number(d.ForwardEnabled);
    w.number(d.ForwardBaudDigit);
    w.number(d.ForwardPrefixCode);
    w.number(d.ForwardSuffixCode);
    const PosExtendedSettings& x = p.posExtended;
    w.number(x.LimitTo40);
    w.number(x.StartDefinitionLength);
    w.text(x.StartDefinition);
    w.number(x.ShowHeader);
    w.number(x.EndDefinitionLength);
    w.text(x.EndDefinition);
    w.numbers(KeywordCount, [&](int k) { return x.KeywordLength[k]; });
    for (const std::string& keyword : x.Keyword) w.text(keyword);
    w.numbers(KeywordCount, [&](int k) { return x.KeywordAction[k]; });
    w.number(x.MaxSpaces);
    w.number(x.SkipMode);
    return w.take();
}

void readProjectBody(Project& p, const std::vector<std::string_view>& lines) {
    // Line n of the file (counted from 1); a missing line reads as an empty one.
    auto line = [&](int n) -> std::string_view {
        return n - 1 < static_cast<int>(lines.size()) ? lines[n - 1] : std::string_view{};
    };
    auto number = [&](int n) { return projectNumber(line(n)); };

    for (int r = 0; r < ScreenRows; ++r) {
        Items items(line(2 + r));
        for (int c = 0; c < ScreenColumns; ++c)
            p.screenText[cellIndex(r, c)] = std::string(c + 1 < ScreenColumns ? items.next() : items.rest());
    }
    for (int d = 0; d < DataSetCount; ++d)
        readNumbers(line(18 + d), CellCount, [&](int k, std::int32_t v) { p.dataSets[d].cellTags[k] = v; });

    for (int d = 0; d < DataSetCount; ++d) {
        FieldArray& f = p.dataSets[d].fields;
        const int base = 22 + 25 * d;
        readNumbers(line(base + 0), FieldCount, [&](int i, std::int32_t v) { f[i].enabled = v; });
        readNumbers(line(base + 1), FieldCount, [&](int i, std::int32_t v) { f[i].placed = v; });
        readNumbers(line(base + 2), FieldCount, [&](int i, std::int32_t v) { f[i].length = v; });
        // Block lines 4 and 5 (offset, conversion) come from the image; of line 6 only the date
        // and time types are taken.
        readNumbers(line(base + 5), FieldCount, [&](int i, std::int32_t v) {
            if (i >= DataFieldCount) f[i].variableType = v;
        });
        readNumbers(line(base + 6), FieldCount, [&](int i, std::int32_t v) { f[i].column = v; });
        readNumbers(line(base + 7), FieldCount, [&](int i, std::int32_t v) { f[i].row = v; });
        readNumbers(line(base + 8), FieldCount, [&](int i, std::int32_t v) { f[i].position = v; });
        for (int i = 0; i < DataFieldCount; ++i) f[i].description = std::string(line(base + 9 + i));
    }

    DeviceSettings& d = p.device;
    p.summerTimeManual = number(122);
    d.DataHoldSeconds = number(123);
    d.RelayHoldSeconds = number(124);
    d.DeviceHandshake = number(125);
    d.DeviceDataFormat = number(126);
    d.DeviceBaudIndex = number(127);
    {
        std::string_view address = line(128);
        for (int i = 0; i < 4; ++i) {
            std::string_view item;
            const std::size_t dot = address.find('.');
            if (i < 3 && dot != std::string_view::npos) {
                item = address.substr(0, dot);
                address.remove_prefix(dot + 1);
            } else {
                item = address;
                address = {};
            }
            d.IpAddress[i] = projectNumber(item);
        }
    }
    d.IpPort = number(129);
    p.spareValue1 = number(130);
    p.spareValue2 = number(131);
    PosSettings& pos = p.pos;
    std::uint8_t* posBytes[] = {&pos.RegisterNumber, &pos.FirstLine,    &pos.LineCount,
                                &pos.ScrollDirection, &pos.BackgroundMode, &pos.Transparency,
                                &pos.TextColour};
    for (int i = 0; i < 7; ++i) *posBytes[i] = low8(number(132 + i));
    d.ForwardEnabled = number(139);
    d.ForwardBaudDigit = number(140);
    d.ForwardPrefixCode = number(141);
    d.ForwardSuffixCode = number(142);
    PosExtendedSettings& x = p.posExtended;
    x.LimitTo40 = number(143);
    x.StartDefinitionLength = number(144);
    x.StartDefinition = std::string(line(145));
    x.ShowHeader = number(146);
    x.EndDefinitionLength = number(147);
    x.EndDefinition = std::string(line(148));
    readNumbers(line(149), KeywordCount, [&](int k, std::int32_t v) { x.KeywordLength[k] = v; });
    for (int k = 0; k < KeywordCount; ++k) x.Keyword[k] = std::string(line(150 + k));
    readNumbers(line(160), KeywordCount, [&](int k, std::int32_t v) { x.KeywordAction[k] = v; });
    x.MaxSpaces = number(161);
    x.SkipMode = number(162);
}

int replaceUnsaveableCells(Project& p) {
    int changed = 0;
    for (std::string& cell : p.screenText) {
        if (!unsaveableCell(cell)) continue;
        cell = " ";
        ++changed;
    }
    return changed;
}

FileResult saveProjectAs(Project& p, const DeviceImage& image, const std::string& target) {
    FileResult outcome;
    if (replaceUnsaveableCells(p) > 0) outcome.messages.push_back(Msg::CommaCellsReplaced);
    const std::string text = writeProjectText(p);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!writeFileReplacing(target, {bytes, text.size()})) {
        outcome.ok = false;
        outcome.messages.push_back(Msg::ProjectSaveFailed);
    }
    if (p.writeReadoutOnSave && !writeReadoutImage(image)) {
        outcome.ok = false;
        outcome.messages.push_back(Msg::ReadoutSaveFailed);
    }
    return outcome;
}

std::optional<std::string> readProjectText(const std::string& name) {
    const auto bytes = readFileBytes(name, ProjectFileLimit + 1);
    if (!bytes || bytes->size() > ProjectFileLimit) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

std::string showProjectName(Project& p, const MessageTable& messages, bool modified) {
    const std::size_t cut = p.projectName.find_last_of("\\/");
    if (cut != std::string::npos) p.projectName = p.projectName.substr(cut + 1);
    return messages.text(Msg::ProjectCaptionPrefix) + p.projectName + (modified ? "*" : "") + " ------- ";
}

}  // namespace vem
