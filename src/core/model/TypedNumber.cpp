#include "model/TypedNumber.h"

#include <charconv>

namespace vem {

int readNumber(std::string_view text, int fallback) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return fallback;
    text.remove_prefix(first);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') return fallback;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return fallback;
    if (negative) value = -value;
    if (value < -2147483648LL || value > 2147483647LL) return fallback;
    return static_cast<int>(value);
}

}  // namespace vem
