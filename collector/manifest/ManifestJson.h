#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "manifest/HashedFiles.h"

class Collection;

// "YYYY-MM-DDTHH:MM:SS"
std::string ManifestTime(const SYSTEMTIME& time);

// The text of "MANIFEST.json": what ran, how, on what, what each capture step did and every
// file of the run folder (`files`, each hashed once, the manifest itself not among them).
std::string ManifestJson(const Collection& collection, const std::vector<HashedFile>& files, const SYSTEMTIME& end);
