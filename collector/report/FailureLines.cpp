#include "report/FailureLines.h"

#include <algorithm>

namespace {

enum class Where { Anywhere, AtStart };

struct Marker {
    Where where;
    std::string_view text;
};

// What the failure entries of the run have in common, from the entries the actions write.
constexpr Marker kFailureMarkers[] = {
    {Where::Anywhere, "!!!"},    // "CreateProcess() failed to create %s!!! REASON: %s", "Failed to copy!!! %s", ...
    {Where::Anywhere, "FATAL"},  // "FATAL: failed to create %s"
    {Where::AtStart, "Failed"},  // "Failed to open config file for MISC", "Failed to create RUQ folder %s", ...
    {Where::AtStart, "Command line too long"},
    {Where::AtStart, "Damaged event record"},
    {Where::AtStart, "Ended after the time limit of"},
    {Where::AtStart, "Couldn't close handle"},
    {Where::AtStart, "CreateDirectory() failed to create"},
    // Entries of the configuration file and schedules that could not be collected.
    {Where::AtStart, "Entry does not expand within"},
    {Where::AtStart, "Entry longer than a path can be"},
    {Where::AtStart, "Schedule file has no folder"},
    {Where::AtStart, "Schedule folder longer than a path can be"},
};

// Entries that carry a marker but say that all went well.
constexpr std::string_view kNotFailures[] = {
    "No more files are left, so we are done here!!!",  // the end of a folder listing
};

bool Holds(const Marker& marker, std::string_view entry) {
    return marker.where == Where::AtStart ? entry.starts_with(marker.text)
                                          : entry.find(marker.text) != std::string_view::npos;
}

}  // namespace

bool RecordsFailure(std::string_view entry) {
    if (std::find(std::begin(kNotFailures), std::end(kNotFailures), entry) != std::end(kNotFailures)) return false;
    return std::any_of(std::begin(kFailureMarkers), std::end(kFailureMarkers),
                       [entry](const Marker& marker) { return Holds(marker, entry); });
}
