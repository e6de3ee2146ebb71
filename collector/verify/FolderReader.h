#pragma once
#include <string>

#include "verify/BundleContents.h"

// A run folder as it lies: every file below it, in every sub-folder, read to its end and hashed.
BundleContents ReadRunFolder(const std::wstring& folder);
