// Whole silent collections of the demo installation made for a benchmark (bench/data/wholerun.sh):
// each run timed, its peak working set sampled while it works, its incident folder gone before.
#pragma once

#include <string>

#include "BenchHarness.h"

namespace bench {

struct CollectionRun {
    double seconds = 0;
    size_t peakWorkingSet = 0;
    bool started = false;
};

// The program folder the data script installed the demo into, for the benchmark's name.
std::string DemoProgramFolder(const std::string& benchmark);
// "Zeltrin.exe -noGUI case#=<incident> <arguments>" in the program folder, after removing C:\<incident>.
CollectionRun RunCollection(const std::string& programFolder, const std::string& incident, const std::string& arguments);
// Whether the data script has made the data of this size and installed the program.
bool DemoReady(const std::string& benchmark, int scale);

}  // namespace bench
