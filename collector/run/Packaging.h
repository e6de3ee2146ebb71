#pragma once
// The version listings of the system directory and the packing of the cluster snapshot folder,
// for the rows that take them.
#include <string>

#include "engine/StepContext.h"

// "<OS folder>\<fileName>": a version block for each file of the system directory that matches.
void ListVersions(StepContext& context, const std::string& fileName, const std::string& pattern);
// Lists and packs the cluster snapshot folder when packing is chosen.
void PackageHALogs(StepContext& context, int serverCore);
