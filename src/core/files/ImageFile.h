#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/FileIo.h"
#include "files/FileOutcome.h"

namespace vem {

class Editor;
struct DeviceImage;
struct Project;

// Name of the image a save writes after a read-back, in the working folder.
inline constexpr const char* ReadoutFileName = "readout.bin";

// Loads the image file named by the project's imageFileName as the template, as opening a
// project does. A file that cannot be opened changes nothing; a file of the wrong size shows
// slot ImageWrongSize and keeps the previous image and imageTemplateLoaded.
FileOutcome loadImageFile(Editor& editor);
// The same for image bytes already read (the size is checked here).
FileOutcome loadImageBytes(Editor& editor, std::span<const std::uint8_t> bytes);

// "BIN - File...": loads the chosen image as the template and decodes data set 0 straight into
// the working copy; data set flags, the active data set and the "Extended" button stay.
// A wrong size shows slot BinFileWrongSize and keeps the previous image.
FileOutcome openImageFile(Editor& editor, const std::string& chosen);

// Header bytes 0x41..0x4A (clock option, device serial line, hold times, date and time
// positions) into the project; `bounded` takes each only below its limit, as loading a project's
// image and a read-back do.
void takeHeaderSettings(Project& project, const DeviceImage& image, bool bounded);

// The data set flags of the main area into the project and the "Datensatz" buttons; returns
// the first available data set, or -1.
int takeDataSetFlags(Editor& editor);

// Makes data set `dataSet` the active one: its fields become the working copy (descriptions
// follow with the next refresh) and the field buttons and check boxes are set from them.
void activateDataSet(Editor& editor, int dataSet);

// Writes the main and header areas to "readout.bin" in the current working folder, replacing
// it whole; false when it could not be written.
bool writeReadoutImage(const DeviceImage& image);

}  // namespace vem
