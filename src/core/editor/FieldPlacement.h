#pragma once
#include "model/Project.h"

namespace vem {

// First start cell of a run of `length` free cells, or -1. A start is skipped when its cell
// carries any tag or a cell of the run carries a positive tag; the run never ends on cell 639.
int findFreeRun(const CellTags& tags, int length);

}  // namespace vem
