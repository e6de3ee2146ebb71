// File grabbing: GrabMultipleFiles of a folder of log files of mixed sizes against xcopy of the
// same files, each side into an empty destination every round.
// At 1x: 2,000 files, 256 MiB in all; at 10x: 20,000 files, 2.5 GiB.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "BenchHarness.h"
#include "common/win32/UniqueHandle.h"
#include "engine/Collection.h"

namespace {

constexpr int kFilesAt1x = 2000;
constexpr ULONGLONG kBytesAt1x = 256ULL << 20;
// Relative sizes, from a short service log to a large trace: the mean file is 128 KiB.
constexpr ULONGLONG kSizeWeights[] = {1, 4, 16, 48, 96, 160, 256, 443};
constexpr ULONGLONG kWeightsTotal = 1024;
constexpr DWORD kWriteBlock = 1 << 16;  // one block of log lines written again and again
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

int Measure(int scale, int rounds) {
    // The report log is made in the current folder; keep it beside the data.
    std::string folder = bench::DataFolder("grab", scale);
    ::SetCurrentDirectoryA(folder.c_str());
    Collection collection;
    collection.Start();
    int found = 0;
    bench::PairMedians medians = bench::AlternateSelfTimed(
        rounds,
        [&] {
            EmptyFolder(OursTarget(scale));
            bench::Stopwatch clock;
            found = collection.GrabMultipleFiles(Source(scale), "*.log", OursTarget(scale) + "\\");
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

    char note[128];
    std::snprintf(note, sizeof note, "%d files, %llu MiB%s", kFilesAt1x * scale, (kBytesAt1x * scale) >> 20,
                  found ? "" : ", NOTHING FOUND");
    bench::PrintRow("grab", scale, medians.ours, medians.system, bench::PeakWorkingSet(), note);
    return found ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    bench::Arguments arguments;
    if (!bench::ParseArguments(argc, argv, arguments)) {
        std::fprintf(stderr, "usage: grab-bench prepare|measure|clean <scale> [rounds]\n");
        return 2;
    }
    if (arguments.mode == "prepare") return Prepare(arguments.scale);
    if (arguments.mode == "measure") return Measure(arguments.scale, arguments.rounds);
    bench::RemoveTree(bench::DataFolder("grab", arguments.scale));
    return 0;
}
