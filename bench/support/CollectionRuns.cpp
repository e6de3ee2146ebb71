#include "CollectionRuns.h"

#include <windows.h>

#include <cstdio>

namespace bench {

std::string DemoProgramFolder(const std::string& benchmark) { return "C:\\zeltrin-bench\\" + benchmark + "\\program"; }

CollectionRun RunCollection(const std::string& programFolder, const std::string& incident, const std::string& arguments) {
    RemoveTree("C:\\" + incident);
    const std::string command = programFolder + "\\Zeltrin.exe -noGUI case#=" + incident + " " + arguments;
    Stopwatch clock;
    const SampledRun run = RunSampled(command, programFolder);
    return {clock.Seconds(), run.peakWorkingSet, run.started};
}

bool DemoReady(const std::string& benchmark, int scale) {
    // The data is made on the Linux side, where writing thousands of files is quick.
    const std::string mark = DataFolder(benchmark, scale) + "\\ready";
    if (::GetFileAttributesA(mark.c_str()) != INVALID_FILE_ATTRIBUTES &&
        ::GetFileAttributesA((DemoProgramFolder(benchmark) + "\\Zeltrin.exe").c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    std::fprintf(stderr, "%s-bench: no data for %dx; bench/data/%s.sh makes it\n", benchmark.c_str(), scale,
                 benchmark.c_str());
    return false;
}

}  // namespace bench
