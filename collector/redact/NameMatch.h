#pragma once
#include "redact/Match.h"
#include "redact/NameTable.h"

namespace redact {

// The longest name of the table that starts at the position and stands there as its rule asks.
Match FindName(const NameTable& names, const Window& window, size_t at);
// The computer name at the machine level of a run folder path, "\<incident>\<name>\".
Match FindMachineFolder(const NameTable& names, const Window& window, size_t at);

}  // namespace redact
