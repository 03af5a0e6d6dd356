#pragma once

namespace vem {

class Editor;

// The PC's local date and time as the device header stores it.
struct LocalTime {
    int day = 1;     // 1..31
    int month = 1;   // 1..12
    int year = 2000;
    int hour = 0;    // 0..23
    int minute = 0;
};

LocalTime currentLocalTime();

// Fills the three image areas from the Project for programming: stores the working copy,
// turns empty cells into spaces (that stays in the Project), writes the screen codes, the
// header settings and name, the programming time `now`, the field records, the forwarding
// bytes and, when the template supports it, the POS extended block. Bytes it does not know
// keep the template's values.
void buildDeviceImage(Editor& editor, const LocalTime& now);
inline void buildDeviceImage(Editor& editor) { buildDeviceImage(editor, currentLocalTime()); }

}  // namespace vem
