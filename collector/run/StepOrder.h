#pragma once
// The order the rows of the capture step table keep when they run beside each other, from what
// the table declares: a row waits for every earlier row it must follow, that writes what it
// writes, or that needs the machine alone; a row that needs the machine alone waits for every
// earlier row. A row waits only for rows before it, so one thread runs the table's order.
#include <span>
#include <vector>

#include "run/CaptureStep.h"

// Whether two declared writes ("OS:BOOT.INI", "VM:QzOKAPO*", "OS:*") may name the same file:
// the same folder and the same name, one name a pattern the other may match, or a pattern
// that is more than a trailing star. Names compare without regard to case, as the system does.
bool WritesOverlap(const char* first, const char* second);

// For each row, in table order, the indexes of the earlier rows it waits for. Rows that are
// not carried out write nothing and need nothing alone; a row that must follow one still waits
// for it (it ends at once).
std::vector<std::vector<size_t>> RowsToWaitFor(std::span<const CaptureStep> steps, const std::vector<bool>& carriedOut);
