#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "files/FileIo.h"
#include "files/FileResult.h"

namespace vem {

struct DeviceImage;
struct Project;

// Loads the image file named by the project's imageFileName (a relative name found from the
// project's `folder`) as the template, as opening a project does: the two areas, the header settings within their limits, the data set flags and
// the field records of every data set. Only a regular file of ImageFileSize bytes serves; for
// anything else the project is left without a template (clearTemplate) and the result says why:
// slot ImageWrongSize or TemplateUnreadable, and as detail the file's full path and what it is.
FileResult loadImageFile(Project& project, DeviceImage& image, const std::filesystem::path& folder);
// No template: the three areas zero and not loaded, no data set available, and fields 1..16 of
// every data set without what a template gives them (type, offset, conversion).
void clearTemplate(Project& project, DeviceImage& image);
// The same for image bytes already read (the size is checked here).
FileResult loadImageBytes(Project& project, DeviceImage& image, std::span<const std::uint8_t> bytes);

// "BIN - File...": loads the chosen image as the template, takes its header settings without
// limits and decodes data set 0 straight into the working copy; data set flags stay.
// A wrong size shows slot BinFileWrongSize and keeps the previous image.
FileResult openImageFile(Project& project, DeviceImage& image, const std::string& chosen);

// Header bytes 0x41..0x4A (clock option, device serial line, hold times, date and time
// positions) into the project; `bounded` takes each only below its limit, as loading a project's
// image and a read-back do. Date and time go to the shared definitions.
void takeHeaderSettings(Project& project, const DeviceImage& image, bool bounded);

// The first data set the project marks available, or -1.
int firstAvailableDataSet(const Project& project);

// The bytes of an image file: the main area, then the header area.
std::vector<std::uint8_t> imageFileBytes(const DeviceImage& image);

}  // namespace vem
