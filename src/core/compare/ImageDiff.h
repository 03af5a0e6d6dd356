#pragma once
#include <optional>
#include <string>
#include <vector>

#include "model/DeviceImage.h"

namespace vem {

// One difference between two device images, named as the window program names it.
struct Difference {
    std::string group;   // "background text", "data set 2", a settings dialog's caption, "project"
    std::string item;    // "row 3", "field 5 length", a control's label
    std::string first;   // the value in the first image (Windows-1252)
    std::string second;  // the value in the second
    // Says which project and when, not what the device shows: the project name, and a
    // programming date where only one side holds one. Two images whose differences are all
    // notes are equal.
    bool note = false;
};

// One side of a comparison.
struct DiffSide {
    const DeviceImage& image;
    // Its header holds a programming date: a device, or a build made for one. The build of a
    // project only to compare it holds none.
    bool programmed;
};

// Every difference between the two images, in this order: the background text by row; per data
// set its availability and each field's switch, type, length, offset, conversion, row and
// column; date and time; the interface and POS settings under their dialog's caption; the POS
// extended texts and keywords; the project name and programming date; last, per area, the bytes
// that no line above accounts for. `dataSet` (0..3) leaves the other data sets out. Equal
// images give none.
std::vector<Difference> diffImages(const DiffSide& first, const DiffSide& second,
                                   std::optional<int> dataSet = {});

}  // namespace vem
