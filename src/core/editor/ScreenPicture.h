#pragma once
#include <string>

#include "model/Project.h"

namespace vem {

// The character the device shows for the byte `c`: a control or unassigned character as ".".
char shownCharacter(unsigned char c);

// Marker of field n (1..18) in the screen picture: "1".."9" and "A".."G" for fields 1..16,
// "d" for the date and "t" for the time.
char fieldMarker(int field);

// The 16 × 40 screen of data set `dataSet` (0..3) as text lines, each ended by a line feed: a
// column ruler (tens, then units), a frame with the row number (from 1) before each row, the
// background text with every cell a field owns (by the data set's cell tags) shown as that
// field's marker, then a legend line per field that owns cells: marker, field, row, column,
// length and, for fields 1..16, the description. A cell shows the character the device shows
// ("&&" as "&"); an empty cell shows as a space, a control or unassigned character as ".".
// Windows-1252 bytes.
std::string screenPicture(const Project& project, int dataSet);

}  // namespace vem
