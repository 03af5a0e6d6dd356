#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "i18n/MessageTable.h"
#include "model/DeviceImage.h"

namespace vem {

// How one area of a device differs from what was expected of it.
struct AreaDifference {
    const char* area;            // "main", "header" or "screen"
    std::size_t differing = 0;   // bytes that differ
    std::size_t firstOffset = 0;
    std::uint8_t expected = 0;   // the first differing byte on both sides
    std::uint8_t found = 0;
};

// The areas of `found` that differ from `expected`, in area order; empty when all three are
// equal. `ignoreProjectIdentity` leaves out the header's project name and programming date and
// time: they say which project and when, not what the device shows or does.
std::vector<AreaDifference> compareImages(const DeviceImage& expected, const DeviceImage& found,
                                          bool ignoreProjectIdentity);

// Where an area differs first, in the words of slot VerifyDetail: the area's name, the offset in
// decimal and hex, the byte expected and the byte found.
std::string differenceLine(const AreaDifference& difference, const MessageTable& messages);

}  // namespace vem
