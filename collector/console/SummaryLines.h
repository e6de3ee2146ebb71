#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace console {

struct CabinetFile {
    std::string path;
    ULONGLONG bytes = 0;
};

// What the end of a run tells the console.
struct RunSummary {
    std::string runFolder;
    size_t files = 0;  // below the run folder before packaging
    ULONGLONG bytes = 0;
    unsigned failures = 0;
    unsigned stepsSkipped = 0;
    size_t steps = 0;  // rows of the capture step table
    unsigned stepsOk = 0, stepsPartial = 0, stepsFailed = 0;  // by their outcome
    ULONGLONG elapsedMilliseconds = 0;
    std::vector<CabinetFile> cabinets;
};

// The summary's lines, sizes in bytes without separators so scripts can read them.
std::vector<std::string> SummaryLines(const RunSummary& summary);

}  // namespace console
