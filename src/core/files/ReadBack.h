#pragma once
#include <string>

namespace vem {

struct DeviceImage;
struct Project;

// The project name the header area carries: the characters before the first zero among its
// 20 name bytes, or the first 18 when none of them is zero.
std::string headerProjectName(const DeviceImage& image);

// Rebuilds the stored data sets of the Project from an image read back from the device (all
// three areas): settings, project name, screen text, field records, available data sets, the
// shared date and time definitions and the cells of the fields the image places. Returns the
// first available data set, or -1; choosing it and showing it is the caller's.
int applyDeviceImage(Project& project, const DeviceImage& image);

}  // namespace vem
