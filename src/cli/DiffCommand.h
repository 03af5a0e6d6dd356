#pragma once
#include "CommandTable.h"

namespace vem::cli {

// Compares two of: a project file (built as programming would build it), a device
// ("port:PATH", read back) and a folder of `vemctl build` (its three areas) or `vemctl read`
// (its one project). One line per difference; exit 0 when equal, 1 when not, 4 when a side
// could not be read.
int diff(const Request& request, Context& context);

}  // namespace vem::cli
