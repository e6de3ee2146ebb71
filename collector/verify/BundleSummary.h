#pragma once
#include <string>

#include "verify/BundleContents.h"
#include "verify/RunBundles.h"

// "-verify -summary": the summary page of a bundle that has none (a run made before the page
// was), made from its MANIFEST.json and written beside it, "<run folder>_SUMMARY.html" or
// "<first cabinet without .cab>_SUMMARY.html", never into the bundle itself. Returns the console's
// line: "Summary: <path>", or why there is none.
std::wstring WriteBundleSummary(const Bundle& bundle, const BundleContents& contents);
