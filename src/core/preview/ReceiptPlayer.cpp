#include "preview/ReceiptPlayer.h"

#include <algorithm>
#include <charconv>

#include "model/Project.h"
#include "settings/InterfaceRules.h"

namespace vem {
namespace {

constexpr std::size_t EventsKept = 64;

bool holds(std::string_view line, const std::string& text) {
    return !text.empty() && line.find(text) != std::string_view::npos;
}

std::optional<DeviceColour> colourOf(KeywordAction action) {
    switch (action) {
    case KeywordAction::Red: return DeviceColour::Red;
    case KeywordAction::Yellow: return DeviceColour::Yellow;
    case KeywordAction::Black: return DeviceColour::Black;
    case KeywordAction::White: return DeviceColour::White;
    default: return std::nullopt;
    }
}

}  // namespace

std::string limitSpaces(std::string_view line, int maxSpaces, bool skipMode) {
    if (maxSpaces <= 0) return std::string(line);
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] != ' ') {
            out += line[i++];
            continue;
        }
        std::size_t run = 0;
        while (i + run < line.size() && line[i + run] == ' ') ++run;
        const auto limit = static_cast<std::size_t>(maxSpaces);
        if (run <= limit) out.append(run, ' ');
        else if (!skipMode) out.append(limit, ' ');
        i += run;
    }
    return out;
}

int lineMilliseconds(const DeviceSettings& device, std::size_t bytes) {
    const std::size_t index = device.DeviceBaudIndex >= 0 && device.DeviceBaudIndex < static_cast<int>(BaudRateNames.size())
                                  ? static_cast<std::size_t>(device.DeviceBaudIndex)
                                  : 3;
    const std::string_view name = BaudRateNames[index];
    int baud = 9600;
    std::from_chars(name.data(), name.data() + name.size(), baud);
    return std::max(1, static_cast<int>((bytes + 2) * 10 * 1000 / static_cast<std::size_t>(baud)));
}

std::string capitals(std::string_view line) {
    std::string out(line);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || b == 0xE4 || b == 0xF6 || b == 0xFC) c = static_cast<char>(b - 0x20);
    }
    return out;
}

ReceiptPlayer::ReceiptPlayer(const PosExtendedSettings& rules)
    : rules_(rules), inside_(rules.StartDefinition.empty()) {}

void ReceiptPlayer::feed(std::string_view line) {
    ++linesFed_;
    bool show = inside_;
    if (holds(line, rules_.StartDefinition)) {
        inside_ = true;
        rows_.clear();
        show = rules_.ShowHeader == 1;
    }
    if (!show) return;
    if (holds(line, rules_.EndDefinition)) inside_ = rules_.StartDefinition.empty();

    std::string text = limitSpaces(line, rules_.MaxSpaces, rules_.SkipMode == 1);
    std::optional<DeviceColour> colour;
    for (int k = 0; k < KeywordCount; ++k) {
        if (!holds(line, rules_.Keyword[k])) continue;
        const int index = rules_.KeywordAction[k];
        const auto action = index >= 0 && index <= 7 ? static_cast<KeywordAction>(index) : KeywordAction::None;
        colour = colourOf(action);
        if (action == KeywordAction::Capitals) text = capitals(text);
        if (action == KeywordAction::Send || action == KeywordAction::Relay) {
            events_.push_back({linesFed_, k + 1, action});
            if (events_.size() > EventsKept) events_.pop_front();
        }
        break;
    }
    if (rules_.LimitTo40 == 1 || text.size() <= ScreenColumns) {
        output(text.substr(0, ScreenColumns), colour);
        return;
    }
    for (std::size_t at = 0; at < text.size(); at += ScreenColumns) output(text.substr(at, ScreenColumns), colour);
}

void ReceiptPlayer::output(std::string text, std::optional<DeviceColour> colour) {
    rows_.push_back({std::move(text), colour});
    if (rows_.size() > RowsKept) rows_.pop_front();
}

}  // namespace vem
