#pragma once

namespace vem {

// The PC's local date and time as the device header stores it.
struct LocalTime {
    int day = 1;     // 1..31
    int month = 1;   // 1..12
    int year = 2000;
    int hour = 0;    // 0..23
    int minute = 0;
    int second = 0;  // 0..59
};

}  // namespace vem
