#include "settings/SettingsRules.h"

namespace vem {

namespace {
std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}
}  // namespace

int listPosition(int value, int count) {
    return value >= 0 && value < count ? value : -1;
}

int matchListEntry(std::span<const std::string> entries, std::string_view typed) {
    const std::string_view wanted = trimmed(typed);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (trimmed(entries[i]) == wanted) return static_cast<int>(i);
    return -1;
}

std::string_view listText(std::span<const std::string_view> entries, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
    return entries[static_cast<std::size_t>(index)];
}

}  // namespace vem
