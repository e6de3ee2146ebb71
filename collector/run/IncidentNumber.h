#pragma once
#include <string>

// An incident number names the bug folder and is a word of the packaging command line: it
// may hold letters, digits, hyphens and underscores only, and must not be a device name.
bool IsValidIncidentNumber(const std::string& number);
