#pragma once

namespace vem {

struct DeviceImage;
struct Project;

// The PC's local date and time as the device header stores it.
struct LocalTime {
    int day = 1;     // 1..31
    int month = 1;   // 1..12
    int year = 2000;
    int hour = 0;    // 0..23
    int minute = 0;
    int second = 0;  // 0..59
};

LocalTime currentLocalTime();

// Fills the three image areas from the Project's stored data sets for programming: turns empty
// cells into spaces (that stays in the Project), writes the screen codes, the header settings
// and name, the programming time `now`, the field records, the forwarding bytes and, when the
// template supports it, the POS extended block. Bytes it does not know keep the template's
// values.
void buildDeviceImage(Project& project, DeviceImage& image, const LocalTime& now);

}  // namespace vem
