#pragma once
#include <string>

#include "files/FileOutcome.h"

namespace vem {

class Editor;
struct DeviceImage;

// The project name the header area carries: the characters before the first zero among its
// 20 name bytes, or the first 18 when none of them is zero.
std::string headerProjectName(const DeviceImage& image);

// Rebuilds the Project from an image read back from the device (all three areas): settings,
// project name, screen text, field records, available data sets and the cells of the fields
// the image places; then selects the first available data set and refreshes the editor.
FileOutcome applyDeviceImage(Editor& editor);

}  // namespace vem
