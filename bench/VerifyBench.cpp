// -verify of a run's cabinets (made by bench/data/verify.sh before `prepare`: about 110 MiB a
// scale, 1 GiB at 10x) against what a support engineer does on Linux with the same cabinets:
// cabextract, then sha256sum -c. Our side is Zeltrin.exe started as a child, its peak working
// set sampled while it runs; the system's side runs on the Linux side through start /unix and
// times itself, so that starting it costs it nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "BenchHarness.h"
#include "common/win32/UniqueHandle.h"

namespace {

const char* const kFirstCabinet = "424242_BENCH_12082026__00-00-00.cab";
constexpr DWORD kPollMs = 20;
constexpr DWORD kSystemSideLimitMs = 30 * 60 * 1000;  // far beyond 1 GiB on a slow machine

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The folder of the benchmark programs, where Zeltrin.exe is built too.
std::string BinFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

int Prepare(int scale) {
    const std::string data = bench::DataFolder("verify", scale);
    if (::GetFileAttributesA((data + "\\ready").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "verify-bench: no data for %dx; bench/data/verify.sh makes it\n", scale);
        return 1;
    }
    return 0;
}

// Cabinets and their bytes, for the note.
void CountCabinets(const std::string& folder, size_t& count, ULONGLONG& bytes) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*.cab").c_str(), &found));
    if (!search) return;
    do {
        ++count;
        bytes += (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (::FindNextFileA(search.get(), &found));
}

int Measure(int scale, int rounds) {
    const std::string data = bench::DataFolder("verify", scale);
    // "<Linux path of the system side's script> <Linux path of the data folder>"
    std::string systemSide = ReadText(data + "\\system-side.txt");
    systemSide.erase(systemSide.find_last_not_of("\r\n") + 1);
    const std::string secondsFile = data + "\\system-seconds.txt";
    size_t peak = 0;
    int ourStatus = 0;
    bool systemFailed = false;
    bench::PairMedians medians = bench::AlternateSelfTimed(
        rounds,
        [&] {
            std::string command = "\"";
            command += BinFolder();
            command += "\\Zeltrin.exe\" -verify ";
            command += data;
            command += "\\cabinets\\";
            command += kFirstCabinet;
            bench::Stopwatch clock;
            const bench::SampledRun run = bench::RunSampled(command, data);
            const double seconds = clock.Seconds();
            peak = std::max(peak, run.peakWorkingSet);
            if (run.exitCode != 0) ourStatus = run.exitCode;
            return seconds;
        },
        [&] {
            ::DeleteFileA(secondsFile.c_str());
            bench::RunChild("start.exe /unix " + systemSide);
            // start does not wait for a Linux program: its last act is writing the seconds.
            for (DWORD waited = 0; waited < kSystemSideLimitMs; waited += kPollMs) {
                if (::GetFileAttributesA(secondsFile.c_str()) != INVALID_FILE_ATTRIBUTES) break;
                ::Sleep(kPollMs);
            }
            const std::string seconds = ReadText(secondsFile);
            const double value = std::atof(seconds.c_str());
            if (value <= 0) systemFailed = true;
            return value;
        });

    size_t cabinets = 0;
    ULONGLONG bytes = 0;
    CountCabinets(data + "\\cabinets", cabinets, bytes);
    const std::string verdict = ourStatus == 0 ? "whole" : "Zeltrin.exe ENDED WITH " + std::to_string(ourStatus);
    char note[200];
    std::snprintf(note, sizeof note, "%zu cabinets, %llu MiB; %s%s", cabinets, bytes >> 20, verdict.c_str(),
                  systemFailed ? "; THE SYSTEM'S SIDE FAILED" : "");
    bench::PrintRow("verify", scale, medians.ours, medians.system, peak, note);
    return ourStatus == 0 && !systemFailed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "verify-bench",
                       {[](const bench::Arguments& arguments) { return Prepare(arguments.scale); },
                        [](const bench::Arguments& arguments) { return Measure(arguments.scale, arguments.rounds); },
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(bench::DataFolder("verify", arguments.scale));
                            return 0;
                        }});
}
