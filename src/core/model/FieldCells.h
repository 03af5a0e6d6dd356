#pragma once
#include "model/Project.h"

namespace vem {

// First start cell of a run of `length` free cells, or -1. A start is skipped when its cell
// carries any tag or a cell of the run carries a positive tag; the run never ends on cell 639.
int findFreeRun(const CellTags& tags, int length);

// First cell of the run a date or time definition claims, or -1 when it claims none: it is
// switched off, not placed, or its run does not lie wholly on the screen.
int sharedRunStart(const FieldDefinition& f);

// Gives the date and time cells of the shared definitions to every data set, and nothing else
// carries tags 17 and 18. A time run that overlaps the date is left unplaced. A data field that
// loses a cell to them is freed and, when it is switched on and placed automatically, given the
// first free run again; without room it stays switched on but unplaced.
void shareDateTimeCells(Project& project);

}  // namespace vem
