#pragma once
#include <filesystem>

#include "sim/SimulatedDevice.h"

namespace vem {

// The simulated device's memory as one file per area (main.bin, header.bin, screen.bin,
// clock.bin, video.bin, font.bin, firmware.bin, fuses.txt). Loading takes the files present and
// leaves the other areas as they are; false when a file cannot be read or has the wrong size
// (that area is kept).
bool loadMemory(DeviceMemory& memory, const std::filesystem::path& folder);
// Creates the folder when needed; an empty font or firmware writes no file.
bool saveMemory(const DeviceMemory& memory, const std::filesystem::path& folder);

}  // namespace vem
