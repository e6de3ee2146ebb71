// The whole run: a silent collection of the demo installation with its logs scaled up (made by
// bench/data/wholerun.sh before `prepare`) against xcopy /s of the same source folders, with
// the default threads and with one. Our peak working set is that of the Zeltrin.exe child of the
// default run, sampled while it runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "BenchHarness.h"
#include "CollectionRuns.h"
#include "common/win32/UniqueHandle.h"

namespace {

const char* const kIncident = "424242";
// The folders the demo installation keeps its logs, traces, schedules and licences in.
const char* const kSourceFolders[] = {
    "C:\\Program Files\\Brennock\\Dunmere",
    "C:\\Program Files (x86)\\Common Files\\Brennock Shared\\hlmqlic\\lic",
    "C:\\ProgramData\\Tobrin\\Pelorin",
    "C:\\windows\\Cluster\\Reports",
};

std::string IncidentFolder() { return std::string("C:\\") + kIncident; }
std::string XcopyTarget(int scale) { return bench::DataFolder("wholerun", scale) + "\\xcopied"; }

// Files and bytes below a folder, for the note.
void CountTree(const std::string& path, size_t& files, ULONGLONG& bytes) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind find(::FindFirstFileA((path + "\\*").c_str(), &found));
    if (!find) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CountTree(path + "\\" + name, files, bytes);
        } else {
            ++files;
            bytes += (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (::FindNextFileA(find.get(), &found));
}

// The run with its default threads is our side; the same run with "threads=1" is timed in the
// same rounds, so both ratios to xcopy come from one benchmark run.
int Measure(int scale, int rounds) {
    size_t peak = 0;
    bool completed = true;
    std::vector<double> oneThread;
    const std::string program = bench::DemoProgramFolder("wholerun");
    bench::PairMedians medians = bench::AlternateSelfTimed(
        rounds,
        [&] {
            bench::CollectionRun single = bench::RunCollection(program, kIncident, "threads=1");
            oneThread.push_back(single.seconds);
            bench::CollectionRun run = bench::RunCollection(program, kIncident, "");
            completed = completed && run.started && single.started;
            peak = std::max(peak, run.peakWorkingSet);
            return run.seconds;
        },
        [&] {
            bench::RemoveTree(XcopyTarget(scale));
            bench::MakeFolders(XcopyTarget(scale));
            bench::Stopwatch clock;
            for (size_t i = 0; i < std::size(kSourceFolders); ++i) {
                std::string command = "xcopy.exe \"";
                command += kSourceFolders[i];
                command += "\" \"" + XcopyTarget(scale) + "\\" + std::to_string(i) + "\" /s /i /q /y";
                bench::RunChild(command);
            }
            return clock.Seconds();
        });

    size_t collected = 0;
    ULONGLONG collectedBytes = 0;
    CountTree(IncidentFolder(), collected, collectedBytes);
    size_t copied = 0;
    ULONGLONG copiedBytes = 0;
    CountTree(XcopyTarget(scale), copied, copiedBytes);
    // The warm-up round's threads=1 run is not counted, as the other sides' warm-ups are not.
    if (oneThread.size() > 1) oneThread.erase(oneThread.begin());
    const double single = bench::Median(oneThread);
    char note[240];
    std::snprintf(note, sizeof note,
                  "threads=1 %.3f s, ratio %.2f; default/threads=1 ratios %.2f; run collected %zu files, %llu MiB; "
                  "xcopy %zu files, %llu MiB%s",
                  single, single / medians.system, medians.ours / single, collected, collectedBytes >> 20, copied,
                  copiedBytes >> 20, completed ? "" : "; Zeltrin.exe DID NOT START");
    bench::PrintRow("wholerun", scale, medians.ours, medians.system, peak, note);
    bench::RemoveTree(IncidentFolder());
    bench::RemoveTree(XcopyTarget(scale));
    return completed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "wholerun-bench",
                       {[](const bench::Arguments& arguments) { return bench::DemoReady("wholerun", arguments.scale) ? 0 : 1; },
                        [](const bench::Arguments& arguments) { return Measure(arguments.scale, arguments.rounds); },
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(IncidentFolder());
                            bench::RemoveTree(bench::DataFolder("wholerun", arguments.scale));
                            // The scaled logs are put back as the demo ships them by the next preparation.
                            for (const char* folder : kSourceFolders) bench::RemoveTree(folder);
                            return 0;
                        }});
}
