// The whole run: a silent collection of the demo installation with its logs scaled up (made by
// bench/wholerun-data.sh before `prepare`) against xcopy /s of the same source folders. Our
// peak working set is that of the Zeltrin.exe child, sampled while it runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "BenchHarness.h"
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

std::string ProgramFolder() { return "C:\\zeltrin-bench\\wholerun\\program"; }
std::string IncidentFolder() { return std::string("C:\\") + kIncident; }
std::string XcopyTarget(int scale) { return bench::DataFolder("wholerun", scale) + "\\xcopied"; }

int Prepare(int scale) {
    // The data is made on the Linux side, where writing thousands of files is quick.
    std::string mark = bench::DataFolder("wholerun", scale) + "\\ready";
    if (::GetFileAttributesA(mark.c_str()) == INVALID_FILE_ATTRIBUTES ||
        ::GetFileAttributesA((ProgramFolder() + "\\Zeltrin.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "wholerun-bench: no data for %dx; bench/wholerun-data.sh makes it\n", scale);
        return 1;
    }
    return 0;
}

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

int Measure(int scale, int rounds) {
    size_t peak = 0;
    bool completed = true;
    bench::PairMedians medians = bench::AlternateSelfTimed(
        rounds,
        [&] {
            bench::RemoveTree(IncidentFolder());
            std::string command = ProgramFolder() + "\\Zeltrin.exe -noGUI case#=" + kIncident;
            bench::Stopwatch clock;
            bench::SampledRun run = bench::RunSampled(command, ProgramFolder());
            double seconds = clock.Seconds();
            completed = completed && run.started;
            peak = std::max(peak, run.peakWorkingSet);
            return seconds;
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
    char note[160];
    std::snprintf(note, sizeof note, "run collected %zu files, %llu MiB; xcopy %zu files, %llu MiB%s", collected,
                  collectedBytes >> 20, copied, copiedBytes >> 20, completed ? "" : "; Zeltrin.exe DID NOT START");
    bench::PrintRow("wholerun", scale, medians.ours, medians.system, peak, note);
    bench::RemoveTree(IncidentFolder());
    bench::RemoveTree(XcopyTarget(scale));
    return completed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "wholerun-bench",
                       {[](const bench::Arguments& arguments) { return Prepare(arguments.scale); },
                        [](const bench::Arguments& arguments) { return Measure(arguments.scale, arguments.rounds); },
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(IncidentFolder());
                            bench::RemoveTree(bench::DataFolder("wholerun", arguments.scale));
                            // The scaled logs are put back as the demo ships them by the next preparation.
                            for (const char* folder : kSourceFolders) bench::RemoveTree(folder);
                            return 0;
                        }});
}
