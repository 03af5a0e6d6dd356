#include "settings/VideoRules.h"

#include <algorithm>
#include <optional>

#include "model/DeviceImage.h"
#include "model/TypedNumber.h"

namespace vem {

namespace {
const VideoRange& rangeOf(VideoEdit e) { return VideoRanges[static_cast<int>(e)]; }

std::optional<int> wholeNumber(std::string_view text) {
    const int value = readNumber(text, 0);
    if (value != readNumber(text, 1)) return std::nullopt;
    return value;
}

std::uint8_t flag(bool on) { return on ? 1 : 0; }
}  // namespace

bool videoValuesAcceptable(const VideoValues& v) {
    for (int i = 0; i < VideoEditCount; ++i) {
        const VideoRange& r = VideoRanges[i];
        const int value = readNumber(v.texts[i], r.fallback);
        if (value < 0 || value > r.highest) return false;
    }
    return true;
}

void resetVideoValues(VideoValues& v) {
    const bool autoPll = v.autoPll;
    v = VideoValues{};
    v.autoPll = autoPll;
}

VideoBlock videoSettingsBlock(const VideoValues& v) {
    const auto number = [&](VideoEdit e) { return readNumber(v.text(e), 0); };
    const int chroma = number(VideoEdit::Chroma);
    const int luma = number(VideoEdit::Luma);
    return {low8(number(VideoEdit::Brightness)),
            low8(number(VideoEdit::Contrast)),
            low8(chroma >> 8),
            low8(chroma),
            low8(luma >> 8),
            low8(luma),
            flag(v.videoOff),
            flag(v.testPicture),
            flag(v.colourOn),
            flag(v.autoColour),
            flag(v.autoPll)};
}

VideoStep stepVideoValue(VideoEdit edit, std::string_view text, bool up) {
    const std::optional<int> value = wholeNumber(text);
    if (!value) return {false, false, {}};
    const VideoRange& r = rangeOf(edit);
    const int v = *value;
    if (up) {
        if (v >= r.upIdleFrom || v < 0) return {};
        return {true, true, std::to_string(std::min(v + r.step, r.highest))};
    }
    if (v <= 0 || v >= r.highest + 1) return {};
    return {true, true, std::to_string(std::max(v - r.step, 0))};
}

}  // namespace vem
