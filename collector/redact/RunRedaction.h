#pragma once
#include <string>
#include <vector>

#include "engine/Collection.h"

// "redact": rewrites every text file of the run folder with stand-ins for the machine's names,
// addresses and secrets and moves what is not text out, beside it. Returns a failure line for
// each thing it could not do.
std::vector<std::string> RedactRunFolder(Collection& collection);
// The computer name's stand-in, from the stand-ins of earlier runs: a redacted run's machine
// folder on the share is named with it.
std::string ComputerStandIn(const Collection& collection);
// Keeps the stand-ins for later runs and writes this run's map beside the run folder.
std::vector<std::string> KeepRedactionMap(Collection& collection);
