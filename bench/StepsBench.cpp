// Steps side by side: the demo installation's silent collection with every stand-in tool taking
// 2 s (ZELTRIN_STUB_SLEEP), with the default threads (our side) against "threads=1" (the other
// side), in the same rounds; "threads=4" is timed beside them for its peak working set. The data
// is the whole-run benchmark's (bench/data/steps.sh).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchHarness.h"
#include "CollectionRuns.h"

namespace {

const char* const kIncident = "434343";
const char* const kToolsTakeTwoSeconds =
    "qzflxinfo,qzvmdom,kdxdom,qzdiag2003,ruqdiaginfo,ruqdump,pqhmc-diag,qzfilever,qzclustadm,clusnap,wltsnap,perl|2000";

int Measure(int scale, int rounds) {
    ::SetEnvironmentVariableA("ZELTRIN_STUB_SLEEP", kToolsTakeTwoSeconds);
    const std::string program = bench::DemoProgramFolder("steps");
    std::vector<double> fourThreads;
    size_t peakDefault = 0, peakOne = 0, peakFour = 0;
    bool completed = true;
    bench::PairMedians medians = bench::AlternateSelfTimed(
        rounds,
        [&] {
            bench::CollectionRun four = bench::RunCollection(program, kIncident, "threads=4");
            fourThreads.push_back(four.seconds);
            peakFour = std::max(peakFour, four.peakWorkingSet);
            bench::CollectionRun run = bench::RunCollection(program, kIncident, "");
            peakDefault = std::max(peakDefault, run.peakWorkingSet);
            completed = completed && run.started && four.started;
            return run.seconds;
        },
        [&] {
            bench::CollectionRun run = bench::RunCollection(program, kIncident, "threads=1");
            peakOne = std::max(peakOne, run.peakWorkingSet);
            completed = completed && run.started;
            return run.seconds;
        });
    if (fourThreads.size() > 1) fourThreads.erase(fourThreads.begin());
    char note[200];
    std::snprintf(note, sizeof note, "threads=4 %.3f s (%.2f of threads=1); peak MiB threads=1 %.1f, =4 %.1f (%.2fx)%s",
                  bench::Median(fourThreads), bench::Median(fourThreads) / medians.system, peakOne / 1048576.0,
                  peakFour / 1048576.0, peakOne ? static_cast<double>(peakFour) / peakOne : 0.0,
                  completed ? "" : "; Zeltrin.exe DID NOT START");
    bench::PrintRow("steps", scale, medians.ours, medians.system, peakDefault, note);
    bench::RemoveTree(std::string("C:\\") + kIncident);
    return completed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "steps-bench",
                       {[](const bench::Arguments& arguments) { return bench::DemoReady("steps", arguments.scale) ? 0 : 1; },
                        [](const bench::Arguments& arguments) { return Measure(arguments.scale, arguments.rounds); },
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(std::string("C:\\") + kIncident);
                            bench::RemoveTree(bench::DataFolder("steps", arguments.scale));
                            return 0;
                        }});
}
