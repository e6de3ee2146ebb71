#pragma once
#include <string>
#include <vector>

#include "verify/BundleContents.h"

// Whether a bundle arrived whole: its files against SHA256SUMS and the "files" of MANIFEST.json.
// One line per problem, in a stable order: the bundle's own lines as read, the records', then
// per file by path. No line means the bundle is whole.
std::vector<std::string> CheckBundle(const BundleContents& contents);
