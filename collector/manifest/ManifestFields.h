#pragma once
#include <span>

#include "engine/CollectionState.h"

// The names the run manifest gives the detection results: their C++ names, so a field added
// to the struct is one row in a table. The options take theirs from the option table.

// A detection result is a flag or a text; the other member pointer is null.
struct DetectionField {
    int DetectionResults::*flag;
    std::string DetectionResults::*text;
    const char* name;
};

std::span<const DetectionField> DetectionFields() noexcept;
