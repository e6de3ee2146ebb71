#pragma once
#include "manifest/JsonValue.h"
#include "summary/SummaryFacts.h"

// The facts of a run as its MANIFEST.json records them, for the page of a bundle that has none
// (a run made before the page was): what an older manifest does not record (the exit status,
// the failure lines, the programs' times, the steps' outcomes) is left out and said so.
SummaryFacts SummaryOfManifest(const JsonValue& manifest);
