#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace vem {

// Where and how the cash register's lines appear on the device screen.
struct PosSettings {
    std::uint8_t RegisterNumber = 1;
    std::uint8_t FirstLine = 0;        // 1..16, 0 = none chosen
    std::uint8_t LineCount = 1;        // 1..16
    std::uint8_t ScrollDirection = 1;  // 0 "auf", 1 "ab"
    std::uint8_t BackgroundMode = 0;   // 0..4
    std::uint8_t Transparency = 0;     // 1..7, 0 = none chosen
    std::uint8_t TextColour = 0;       // 0..7
};

constexpr int KeywordCount = 10;

// How the device recognises the register's output and reacts to keywords.
struct PosExtendedSettings {
    int LimitTo40 = 0;
    int StartDefinitionLength = 0;
    std::string StartDefinition;
    int ShowHeader = 0;
    int EndDefinitionLength = 0;
    std::string EndDefinition;
    std::array<int, KeywordCount> KeywordLength{};
    std::array<std::string, KeywordCount> Keyword;
    std::array<int, KeywordCount> KeywordAction{};
    int MaxSpaces = 0;
    int SkipMode = 0;  // 0 "Max-Mode", 1 "Skip_mode"

    bool operator==(const PosExtendedSettings&) const = default;
};

}  // namespace vem
