// File grabbing: GrabMultipleFiles of a folder of log files of mixed sizes against xcopy of the
// same files, each side into an empty destination every round. Beside it, the free-space floor
// check GrabFile makes before each copy (the size lookup and the free space, FreeSpaceFloor::Shortfall),
// timed alone over the same files: its share of the grab's time, whose goal is at most 2 %.
// At 1x: 2,000 files, 256 MiB in all; at 10x: 20,000 files, 2.5 GiB.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "BenchHarness.h"
#include "common/disk/FreeSpaceFloor.h"
#include "common/win32/FileFacts.h"
#include "common/win32/UniqueHandle.h"
#include "../tests/support/StartedCollection.h"
#include "capture/Captures.h"
#include "engine/Collection.h"
#include "report/CollectionReport.h"

namespace {

constexpr int kFilesAt1x = 2000;
constexpr ULONGLONG kBytesAt1x = 256ULL << 20;
// Relative sizes, from a short service log to a large trace: the mean file is 128 KiB.
constexpr ULONGLONG kSizeWeights[] = {1, 4, 16, 48, 96, 160, 256, 443};
constexpr ULONGLONG kWeightsTotal = 1024;
constexpr DWORD kWriteBlock = 1 << 16;  // one block of log lines written again and again
constexpr double kFloorShareGoal = 2.0;  // per cent of the grab's time
const char* const kReadyMark = "ready";  // written last by prepare: the data is whole

std::string Source(int scale) { return bench::DataFolder("grab", scale) + "\\source"; }
std::string OursTarget(int scale) { return bench::DataFolder("grab", scale) + "\\grabbed"; }
std::string XcopyTarget(int scale) { return bench::DataFolder("grab", scale) + "\\xcopied"; }

// Sizes that add up to exactly the total, each file's share set by the weight table.
std::vector<ULONGLONG> FileSizes(int files, ULONGLONG total) {
    ULONGLONG weightSum = 0;
    for (int i = 0; i < files; ++i) weightSum += kSizeWeights[i % std::size(kSizeWeights)];
    std::vector<ULONGLONG> sizes;
    ULONGLONG cumulative = 0;
    ULONGLONG placed = 0;
    for (int i = 0; i < files; ++i) {
        cumulative += kSizeWeights[i % std::size(kSizeWeights)];
        ULONGLONG end = static_cast<ULONGLONG>(static_cast<long double>(total) * cumulative / weightSum);
        sizes.push_back(end - placed);
        placed = end;
    }
    return sizes;
}

std::string LogBlock() {
    std::string block;
    for (int line = 0; block.size() < kWriteBlock; ++line) {
        char text[128];
        std::snprintf(text, sizeof text, "12/06/2026 10:%02d:%02d qzsvc[%04d] volume %d: checkpoint written, %d extents\n",
                      line / 60 % 60, line % 60, 1000 + line % 97, line % 64, line * 7 % 4096);
        block += text;
    }
    block.resize(kWriteBlock);
    return block;
}

bool WriteFileOfSize(const std::string& path, ULONGLONG size, const std::string& block) {
    win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    while (size > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<ULONGLONG>(size, block.size()));
        DWORD written = 0;
        if (!::WriteFile(file.get(), block.data(), chunk, &written, nullptr) || written != chunk) return false;
        size -= chunk;
    }
    return true;
}

int Prepare(int scale) {
    std::string mark = bench::DataFolder("grab", scale) + "\\" + kReadyMark;
    if (::GetFileAttributesA(mark.c_str()) != INVALID_FILE_ATTRIBUTES) return 0;
    if (!bench::MakeFolders(Source(scale))) {
        std::fprintf(stderr, "grab-bench: cannot make %s\n", Source(scale).c_str());
        return 1;
    }
    std::string block = LogBlock();
    std::vector<ULONGLONG> sizes = FileSizes(kFilesAt1x * scale, kBytesAt1x * scale);
    for (size_t i = 0; i < sizes.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\qzsvc-%05zu.log", i + 1);
        if (!WriteFileOfSize(Source(scale) + name, sizes[i], block)) {
            std::fprintf(stderr, "grab-bench: cannot write %s%s\n", Source(scale).c_str(), name);
            return 1;
        }
    }
    return WriteFileOfSize(mark, 0, block) ? 0 : 1;
}

// An empty destination folder, as the run folder is when a capture starts.
void EmptyFolder(const std::string& path) {
    bench::RemoveTree(path);
    bench::MakeFolders(path);
}

std::vector<std::string> SourceFiles(int scale) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA entry{};
    win32::UniqueFind found(::FindFirstFileA((Source(scale) + "\\*.log").c_str(), &entry));
    if (!found) return paths;
    do paths.push_back(Source(scale) + "\\" + entry.cFileName);
    while (::FindNextFileA(found.get(), &entry));
    return paths;
}

// The checks GrabFile makes before the copies of one grab, for every file: its size, then the
// destination's free space against the floor. The free space is asked again every
// kFreshMilliseconds of a grab; this loop runs far faster than the grab, so it forgets the
// reading as often as the grab, at its measured pace, would ask. Returns the loop's seconds;
// `room` counts the files the floor lets through, so the calls cannot be left out.
double TimeFloorChecks(const std::vector<std::string>& files, const std::string& target, double grabSeconds,
                       int& room) {
    const double asks = std::max(1.0, grabSeconds * 1000.0 / static_cast<double>(FreeSpaceFloor::kFreshMilliseconds));
    const size_t filesPerAsk = std::max<size_t>(1, static_cast<size_t>(static_cast<double>(files.size()) / asks));
    const std::optional<unsigned> defaultFloor;
    FreeSpaceFloor floor(defaultFloor);
    room = 0;
    bench::Stopwatch clock;
    for (size_t i = 0; i < files.size(); ++i) {
        if (i % filesPerAsk == 0) floor.Forget();
        ULONGLONG size = 0;
        if (win32::FileSize(files[i], size) && !floor.Shortfall(target, size)) ++room;
    }
    return clock.Seconds();
}

int Measure(int scale, int rounds) {
    // The report log is made in the current folder; keep it beside the data.
    std::string folder = bench::DataFolder("grab", scale);
    ::SetCurrentDirectoryA(folder.c_str());
    Collection collection;
    Start(collection);
    testing_support::StepOf step(collection);
    int found = 0;
    bench::PairMedians medians = bench::AlternateSelfTimed(
        rounds,
        [&] {
            EmptyFolder(OursTarget(scale));
            bench::Stopwatch clock;
            found = GrabMultipleFiles(step, Source(scale), "*.log", OursTarget(scale) + "\\");
            return clock.Seconds();
        },
        [&] {
            EmptyFolder(XcopyTarget(scale));
            std::string command = "xcopy.exe \"" + Source(scale) + "\\*.log\" \"" + XcopyTarget(scale) + "\\\" /q /y";
            bench::Stopwatch clock;
            bench::RunChild(command);
            return clock.Seconds();
        });
    collection.report.file.Close();
    ::DeleteFileA(collection.report.fileName.c_str());

    const std::vector<std::string> files = SourceFiles(scale);
    std::vector<double> floorSeconds;
    int room = 0;
    for (int round = 0; round < rounds; ++round)
        floorSeconds.push_back(TimeFloorChecks(files, OursTarget(scale) + "\\", medians.ours, room));
    if (room != static_cast<int>(files.size()))
        std::fprintf(stderr, "grab-bench: the floor refused %zu files\n", files.size() - room);
    const double floor = bench::Median(floorSeconds);
    const double share = 100.0 * floor / medians.ours;
    char note[192];
    std::snprintf(note, sizeof note, "%d files, %llu MiB%s; floor check %.4f s, %.1f us a file, %.2f %% of ours (goal <= %.0f %%: %s)",
                  kFilesAt1x * scale, (kBytesAt1x * scale) >> 20, found ? "" : ", NOTHING FOUND", floor,
                  files.empty() ? 0.0 : 1e6 * floor / static_cast<double>(files.size()), share, kFloorShareGoal,
                  share <= kFloorShareGoal ? "met" : "MISSED");
    bench::PrintRow("grab", scale, medians.ours, medians.system, bench::PeakWorkingSet(), note);
    return found ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "grab-bench",
                       {[](const bench::Arguments& arguments) { return Prepare(arguments.scale); },
                        [](const bench::Arguments& arguments) { return Measure(arguments.scale, arguments.rounds); },
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(bench::DataFolder("grab", arguments.scale));
                            return 0;
                        }});
}
