#pragma once
#include <windows.h>

#include <string>
#include <vector>

// "%d hours, %d minutes" for a signed number of minutes; both parts keep the sign.
std::string FormatBias(int minutes);

// The zone name and the three bias entries of the time block, for what the system answered
// (its return value and the zone information), with the GMT entry between them.
std::vector<std::string> TimeZoneEntries(DWORD answer, const TIME_ZONE_INFORMATION& zone,
                                         const std::string& gmtText);
