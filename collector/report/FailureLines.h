#pragma once
#include <string_view>

// Whether a report entry records a failure: something the run meant to collect or do and
// could not. A probe's note that a component is not installed is not one.
bool RecordsFailure(std::string_view entry);
