// Recursive cabinet list of a tree of 20,000 files at 1x by CFileInfo, walked as the run's
// cabinet list walks its folder, against "cmd /c dir /s /b" of the same tree into a file.
// The tree is made on the Linux side by bench/data/cablist.sh.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchHarness.h"
#include "common/win32/UniqueHandle.h"
#include "inventory/CFileInfo.h"

namespace {

const char* const kBenchmark = "cablist";

// Lines of a text file, counted in blocks so a large list costs no memory.
long long LineCount(const std::string& path) {
    win32::UniqueCStream file(std::fopen(path.c_str(), "rb"));
    if (!file) return -1;
    long long lines = 0;
    char block[65536];
    size_t read = 0;
    while ((read = std::fread(block, 1, sizeof block, file.get())) > 0)
        for (size_t i = 0; i < read; ++i) lines += block[i] == '\n';
    return lines;
}

bool TreeIsReady(const std::string& folder) {
    return ::GetFileAttributesA((folder + "\\tree.ready").c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Measure(const bench::Arguments& arguments) {
    const std::string folder = bench::DataFolder(kBenchmark, arguments.scale);
    const std::string tree = folder + "\\tree";
    if (!TreeIsReady(folder)) {
        std::fprintf(stderr, "cablist: no tree in %s (bench/data/cablist.sh makes it)\n", folder.c_str());
        return 1;
    }
    // The list lies beside the tree, so both sides list the same files on every round.
    const std::string ourList = folder + "\\QzFilesToCab3.TXT";
    const std::string dirList = folder + "\\dir.txt";
    const std::string dirCommand = "cmd /c dir /s /b \"" + tree + "\" > \"" + dirList + "\"";
    int dirStatus = 0;
    bench::PairMedians medians = bench::Alternate(
        arguments.rounds,
        [&] {
            const std::optional<unsigned> defaultFloor;
            FreeSpaceFloor floor(defaultFloor);
            CFileInfo inventory(tree, ourList, true, floor);
            std::string pattern;
            inventory.ListFolder(tree + "\\*.*", pattern, CFileInfo::Mode::CabinetList);
        },
        [&] { dirStatus |= bench::RunChild(dirCommand); });
    if (dirStatus != 0) {
        std::fprintf(stderr, "cablist: \"%s\" failed\n", dirCommand.c_str());
        return 1;
    }
    char note[128];
    std::snprintf(note, sizeof note, "ours %lld file lines, dir %lld lines (folders too)", LineCount(ourList),
                  LineCount(dirList));
    bench::PrintRow(kBenchmark, arguments.scale, medians.ours, medians.system, bench::PeakWorkingSet(), note);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "cablist-bench",
                       {[](const bench::Arguments& arguments) {
                            const std::string folder = bench::DataFolder(kBenchmark, arguments.scale);
                            if (TreeIsReady(folder)) return 0;
                            std::fprintf(stderr, "cablist: no tree in %s (bench/data/cablist.sh makes it)\n", folder.c_str());
                            return 1;
                        },
                        Measure,
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(bench::DataFolder(kBenchmark, arguments.scale));
                            return 0;
                        }});
}
