#pragma once
#include <string>
#include <vector>

#include "i18n/MessageTable.h"
#include "model/Project.h"

namespace vem {

struct DeviceImage;

// What is wrong with the screen and the fields of a project as a project file gives it, before
// anything makes it consistent; one message each. `loadedTemplate` is the image template
// the project was read over, or nothing when none could be loaded (its field limits and field
// definitions are then not checked).
//
// Reported:
// - cells whose character (the first of the text, as the window and the device show it) is a
//   control character, or one whose device code stands for another character;
// - field lengths outside 0..255, above the template's limit for the field, and data fields
//   switched on that the template does not define;
// - switched-on, placed fields whose position or run of cells leaves the screen, whose row or
//   column lies off the screen or names another cell than their position;
// - two switched-on, placed fields of a data set claiming one cell (date and time count in
//   every data set);
// - cell tags naming no field, cells marked for a switched-on, placed data field that are not
//   its run, cells marked as date or time that are not the date's or time's run.
// A data set's own copy of the date or time (data sets 2..4) is no problem whatever it holds:
// the file keeps it, and nothing reads it.
std::vector<SlotMessage> layoutProblems(const Project& project, const DeviceImage* loadedTemplate);

}  // namespace vem
