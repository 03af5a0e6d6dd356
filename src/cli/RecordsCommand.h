#pragma once
#include "CommandTable.h"

namespace vem::cli {

// Prints a station's record, oldest first: one line per attempt, or one JSON object per line
// (--json), or CSV with a header row (--csv). The record is --record, else station.sqlite beside
// the project named, else in the working folder; a record file that does not exist is named, not
// made.
int records(const Request& request, Context& context);

}  // namespace vem::cli
