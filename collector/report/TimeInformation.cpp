// The time block at the end of a run: problem time, clock, time zone and its biases.
#include "report/TimeInformation.h"

#include <cstdio>

#include "engine/Collection.h"
#include "engine/TimeText.h"
#include "report/CollectionReport.h"

namespace {

constexpr const char* kClockFormat = "%m-%d-%Y %I:%M:%S%p";

std::string Narrow(const WCHAR* text) {
    char narrow[128] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    return narrow;
}

std::string ZoneName(DWORD answer, const TIME_ZONE_INFORMATION& zone) {
    switch (answer) {
        case TIME_ZONE_ID_STANDARD: return Narrow(zone.StandardName);
        case TIME_ZONE_ID_DAYLIGHT: return Narrow(zone.DaylightName);
        case TIME_ZONE_ID_UNKNOWN: return "The system cannot determine the current time zone";
        default: return "";
    }
}

std::string FormatUtcNow() {
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return FormatTime(now, kClockFormat);
}

}  // namespace

std::string FormatBias(int minutes) {
    char text[64];
    std::snprintf(text, sizeof text, "%d hours, %d minutes", minutes / 60, minutes % 60);
    return text;
}

std::vector<std::string> TimeZoneEntries(DWORD answer, const TIME_ZONE_INFORMATION& zone,
                                         const std::string& gmtText) {
    int base = static_cast<int>(zone.Bias);
    int standard = base + static_cast<int>(zone.StandardBias);
    int daylight = base + static_cast<int>(zone.DaylightBias);
    int current = answer == TIME_ZONE_ID_DAYLIGHT ? daylight : standard;
    return {
        "Current Time Zone: " + ZoneName(answer, zone),
        "Current GMT: " + gmtText,
        "Current time zone Bias: " + FormatBias(current),
        "Standard Bias for Local: " + FormatBias(standard),
        "Daylight Bias for Local: " + FormatBias(daylight),
    };
}

void ReportTimeInformation(Collection& collection) {
    collection.LogReport("*********************** Time Information **************************");
    collection.LogReport("Problem occurred on: %s at %s", collection.report.problemDateText.c_str(), collection.report.problemTimeText.c_str());
    collection.LogReport("Current Time: %s", FormatLocalNow(kClockFormat).c_str());
    TIME_ZONE_INFORMATION zone{};
    DWORD answer = ::GetTimeZoneInformation(&zone);
    for (const std::string& entry : TimeZoneEntries(answer, zone, FormatUtcNow())) collection.LogReport("%s", entry.c_str());
    collection.LogReport("****************************************************************");
}
