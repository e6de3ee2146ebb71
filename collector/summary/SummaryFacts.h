#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// What the summary page shows of one run, gathered from the run itself or read back from a
// bundle's manifest: the page is written the same way for both.

struct SummaryProgram {
    std::string commandLine;
    bool started = false;
    DWORD exitCode = 0;
    DWORD error = 0;  // why it did not start, or the wait that failed
    bool timedOut = false;
    std::optional<ULONGLONG> milliseconds;  // older manifests do not say
};

struct SummaryStep {
    int row = 0;
    std::string name;
    std::string outcome;  // "ok", "partial", "failed", "skipped"
    std::vector<std::string> reasons;
    ULONGLONG milliseconds = 0;
    std::vector<SummaryProgram> programs;
    size_t files = 0;
    ULONGLONG bytes = 0;
};

struct SummaryFile {
    std::string path;  // relative to the run folder, "/"-separated
    ULONGLONG size = 0;
    std::string sha256;  // empty when it could not be hashed
    bool cut = false;    // cut short when it was written
};

// A file of the run that is not whole or not there: "cut short after N bytes", "not copied".
struct SummaryLoss {
    std::string path;
    std::string what;
};

struct SummaryFacts {
    std::string version;
    std::string incident;
    std::string machine;
    std::string runFolder;
    std::string start;  // "YYYY-MM-DDTHH:MM:SS"
    std::optional<ULONGLONG> milliseconds;
    std::optional<int> exitStatus;  // as it stands when the records are written
    std::vector<std::string> failureLines;
    std::vector<SummaryStep> steps;
    std::vector<std::string> reasonsOutsideSteps;
    std::vector<SummaryLoss> losses;
    std::vector<SummaryFile> files;
    std::vector<std::pair<std::string, std::string>> options;    // name, "on" or "off"
    std::vector<std::pair<std::string, std::string>> detection;  // name, what was found
};
