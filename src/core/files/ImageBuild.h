#pragma once

#include "model/LocalTime.h"

namespace vem {

struct DeviceImage;
struct Project;

LocalTime currentLocalTime();

// Fills the three image areas from the Project's stored data sets for programming: turns empty
// cells into spaces (that stays in the Project), writes the screen codes, the header settings
// and name, the programming time `now`, the field records, the forwarding bytes and, when the
// template supports it, the POS extended block. Bytes it does not know keep the template's
// values.
void buildDeviceImage(Project& project, DeviceImage& image, const LocalTime& now);

}  // namespace vem
