#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "serialline/SerialLine.h"

namespace vem {

// A whole port configuration in one flat record: the port, its line settings and limits as
// plain values.
struct TSerialConfig : SerialOptions, SerialLimits {
    bool Valid = false;
    std::int32_t COMPort = 0;

    bool operator==(const TSerialConfig&) const = default;
};

inline constexpr std::size_t ConfigTextLength = 91;
inline constexpr std::string_view ConfigSignature = "RRS0";

// The configuration of a port, Valid.
TSerialConfig GetConfig(const SerialLine& line, int comPort);

// Applies a Valid record through the setters; the port number goes to setPort (the component
// takes only a listed port). Returns false, changing nothing, for a record that is not Valid.
bool SetConfig(SerialLine& line, const TSerialConfig& config,
               const std::function<void(int)>& setPort = {});

// The 91-character text; empty for a record that is not Valid.
std::string ConfigToStr(const TSerialConfig& config);

// Reads a text over `current` (normally GetConfig of the component). Fields are read in order;
// the first failure stops the reading, leaves the fields read so far changed and Valid false.
TSerialConfig StrToConfig(std::string_view text, TSerialConfig current);

}  // namespace vem
