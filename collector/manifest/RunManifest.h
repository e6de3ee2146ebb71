#pragma once
#include <string>
#include <vector>

#include "engine/Collection.h"

// Hashes every file of the run folder and writes "MANIFEST.json" and "SHA256SUMS" into it.
// Returns a failure line for each of the two that could not be written (it is then gone).
std::vector<std::string> WriteRunManifest(Collection& collection);
