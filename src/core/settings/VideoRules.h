#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/DeviceImage.h"

namespace vem {

// The four number edits of the video signal dialog, in block order.
enum class VideoEdit { Brightness, Contrast, Chroma, Luma };
constexpr int VideoEditCount = 4;

struct VideoRange {
    int highest;   // lowest is 0; both bounds inclusive
    int step;      // one click of the spin buttons
    int fallback;  // what an unreadable text counts as when checking
    int upIdleFrom;  // the up arrow does nothing from this value on
};

inline constexpr std::array<VideoRange, VideoEditCount> VideoRanges{{
    {255, 5, 999, 255},      // brightness
    {255, 5, 999, 255},      // contrast
    {3750, 20, 9999, 3751},  // chroma: up at 3750 writes 3750 again
    {4096, 20, 9999, 4097},  // luma
}};

// What the dialog shows; the start values are the ones "R" restores.
struct VideoValues {
    std::array<std::string, VideoEditCount> texts{"128", "128", "750", "1630"};
    bool videoOff = false;
    bool testPicture = false;
    bool colourOn = true;
    bool autoColour = true;
    bool autoPll = false;

    const std::string& text(VideoEdit e) const { return texts[static_cast<int>(e)]; }
    std::string& text(VideoEdit e) { return texts[static_cast<int>(e)]; }
};

using VideoBlock = std::array<std::uint8_t, VideoSettingsSize>;

// "------>": every edit a whole number within its range.
bool videoValuesAcceptable(const VideoValues& v);

// "R": the start values, except that the PLL switch stays as it is.
void resetVideoValues(VideoValues& v);

// Bytes 0..10 of the settings block: brightness and contrast low bytes, chroma and luma
// big-endian, then the five switches as 0/1. An unreadable text counts as 0.
VideoBlock videoSettingsBlock(const VideoValues& v);

struct VideoStep {
    bool readable = true;  // false: the text is no whole number, nothing changes
    bool written = false;  // true: `text` goes back into the edit
    std::string text;
};

// A spin button click on an edit holding `text`. A value outside the range is left alone; one
// inside moves by the step and stops at the range's end.
VideoStep stepVideoValue(VideoEdit edit, std::string_view text, bool up);

}  // namespace vem
