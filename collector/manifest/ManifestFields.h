#pragma once
#include <span>

#include "dialog/CULVIXDlg.h"

// The names the run manifest gives the option flags and detection results: their C++
// names, so a field added to either struct is one row in a table.

struct OptionField {
    int OptionFlags::*flag;
    const char* name;
};

// A detection result is a flag or a text; the other member pointer is null.
struct DetectionField {
    int DetectionResults::*flag;
    std::string DetectionResults::*text;
    const char* name;
};

std::span<const OptionField> OptionFields() noexcept;
std::span<const DetectionField> DetectionFields() noexcept;
