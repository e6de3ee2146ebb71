#include "BenchHarness.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/win32/UniqueHandle.h"

namespace bench {

Stopwatch::Stopwatch() { ::QueryPerformanceCounter(&start_); }

double Stopwatch::Seconds() const {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return counters.PeakWorkingSetSize;
}

int RunChild(const std::string& commandLine, const std::string& currentFolder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process))
        return -1;
    win32::UniqueKernelHandle processHandle(process.hProcess);
    win32::UniqueKernelHandle threadHandle(process.hThread);
    ::WaitForSingleObject(processHandle.get(), INFINITE);
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(processHandle.get(), &exitCode)) return -1;
    return static_cast<int>(exitCode);
}

SampledRun RunSampled(const std::string& commandLine, const std::string& currentFolder) {
    constexpr DWORD kSampleMilliseconds = 20;  // often enough to see a peak that lasts one step
    SampledRun result;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, currentFolder.c_str(), &startup,
                          &process))
        return result;
    result.started = true;
    win32::UniqueKernelHandle processHandle(process.hProcess);
    win32::UniqueKernelHandle threadHandle(process.hThread);
    for (;;) {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (::GetProcessMemoryInfo(processHandle.get(), &counters, sizeof(counters)))
            result.peakWorkingSet = std::max(result.peakWorkingSet, counters.PeakWorkingSetSize);
        if (::WaitForSingleObject(processHandle.get(), kSampleMilliseconds) != WAIT_TIMEOUT) break;
    }
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(processHandle.get(), &exitCode)) result.exitCode = static_cast<int>(exitCode);
    return result;
}

PairMedians Alternate(int rounds, const std::function<void()>& ours, const std::function<void()>& system) {
    auto timed = [](const std::function<void()>& side) -> std::function<double()> {
        if (!side) return nullptr;
        return [&side] {
            Stopwatch clock;
            side();
            return clock.Seconds();
        };
    };
    return AlternateSelfTimed(rounds, timed(ours), timed(system));
}

PairMedians AlternateSelfTimed(int rounds, const std::function<double()>& ours, const std::function<double()>& system) {
    if (rounds > 1) {
        ours();
        if (system) system();
    }
    std::vector<double> oursTimes, systemTimes;
    for (int round = 0; round < rounds; ++round) {
        oursTimes.push_back(ours());
        if (system) systemTimes.push_back(system());
    }
    PairMedians medians;
    medians.ours = Median(oursTimes);
    medians.system = system ? Median(systemTimes) : -1;
    return medians;
}

void PrintRow(const std::string& benchmark, int scale, double oursSeconds, double systemSeconds, size_t peakBytes,
              const std::string& note) {
    char system[32] = "-";
    if (systemSeconds >= 0) std::snprintf(system, sizeof(system), "%.4f", systemSeconds);
    std::printf("ROW\t%s\t%d\t%.4f\t%s\t%zu\t%s\n", benchmark.c_str(), scale, oursSeconds, system, peakBytes,
                note.c_str());
    std::fflush(stdout);
}

int Main(int argc, char** argv, const char* program, const Modes& modes) {
    Arguments arguments;
    if (argc >= 3) {
        arguments.mode = argv[1];
        arguments.scale = std::atoi(argv[2]);
        if (argc > 3) arguments.rounds = std::atoi(argv[3]);
    }
    if (arguments.scale > 0 && arguments.rounds > 0) {
        if (arguments.mode == "prepare") return modes.prepare(arguments);
        if (arguments.mode == "measure") return modes.measure(arguments);
        if (arguments.mode == "clean") return modes.clean(arguments);
    }
    std::fprintf(stderr, "usage: %s prepare|measure|clean <scale> [rounds]\n", program);
    return 2;
}

std::string DataFolder(const std::string& benchmark, int scale) {
    return "C:\\zeltrin-bench\\" + benchmark + "\\x" + std::to_string(scale);
}

bool MakeFolders(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos && slash > 2 && !MakeFolders(path.substr(0, slash))) return false;
    return ::CreateDirectoryA(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind find(::FindFirstFileA((path + "\\*").c_str(), &found));
    if (find) {
        do {
            if (!std::strcmp(found.cFileName, ".") || !std::strcmp(found.cFileName, "..")) continue;
            std::string child = path + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(find.get(), &found));
    }
    find.reset();
    ::RemoveDirectoryA(path.c_str());
}

}  // namespace bench
