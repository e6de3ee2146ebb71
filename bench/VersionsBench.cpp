// Version listing by ListVersions of a "system directory" holding 2,000 libraries with version
// resources at 1x (copies of zeltrin_bench_version.dll made on the Linux side by
// bench/data/versions.sh). There is no system tool to set beside it: the row gives files per
// second, and at 1x also the rate over 500 files, to show how the cost grows with the count.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchHarness.h"
#include "common/win32/UniqueHandle.h"
#include "../tests/support/StartedCollection.h"
#include "engine/Collection.h"
#include "run/Packaging.h"
#include "report/CollectionReport.h"

namespace {

const char* const kBenchmark = "versions";
const char* const kListing = "SYSTEM32_DLL_VER.TXT";
constexpr int kFilesAt1x = 2000;
constexpr int kSmallFiles = 500;  // the smaller count beside 1x, for the growth of the cost

bool FolderIsReady(const std::string& folder) {
    return ::GetFileAttributesA((folder + "\\libraries.ready").c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Blocks with version lines in a listing: one per library whose resource was read.
long long VersionBlocks(const std::string& path) {
    win32::UniqueCStream file(std::fopen(path.c_str(), "r"));
    if (!file) return -1;
    long long blocks = 0;
    char line[1024];
    while (std::fgets(line, sizeof line, file.get()))
        if (std::string(line).rfind("FileVersion: ", 0) == 0) ++blocks;
    return blocks;
}

// How much the peak working set grows by a bare search of a folder, before anything else of
// the listing has run: the memory that Wine's directory search itself takes for the whole
// folder while a search is open, which grows with the files of that one folder.
size_t SearchPeakGrowth(const std::string& folder) {
    const size_t before = bench::PeakWorkingSet();
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*.dll").c_str(), &found));
    // Every name is read, as the listing reads them.
    while (search && ::FindNextFileA(search.get(), &found)) continue;
    search.reset();
    return bench::PeakWorkingSet() - before;
}

// The run's listing of one system directory, timed over the rounds; the median in seconds.
double TimeListing(Collection& collection, const std::string& systemDirectory, int rounds) {
    collection.folders.systemDirectory = systemDirectory;
    testing_support::StepOf step(collection);
    return bench::Alternate(
               rounds, [&] { ListVersions(step, kListing, "\\*.dll"); }, nullptr)
        .ours;
}

int Measure(const bench::Arguments& arguments) {
    const std::string folder = bench::DataFolder(kBenchmark, arguments.scale);
    if (!FolderIsReady(folder)) {
        std::fprintf(stderr, "versions: no libraries in %s (bench/data/versions.sh makes them)\n", folder.c_str());
        return 1;
    }
    const int files = kFilesAt1x * arguments.scale;
    // The collection makes its report log in the current directory; it is removed at the end.
    ::SetCurrentDirectoryA(folder.c_str());
    const size_t searchGrowth = SearchPeakGrowth(folder + "\\sys");
    double seconds = 0;
    double smallSeconds = 0;
    long long listed = 0;
    {
        Collection collection;
        Start(collection);
        collection.run.runFolder = folder;
        collection.run.osFolder = folder + "\\OS";
        if (!bench::MakeFolders(collection.run.osFolder)) {
            std::fprintf(stderr, "versions: cannot make %s\n", collection.run.osFolder.c_str());
            return 1;
        }
        seconds = TimeListing(collection, folder + "\\sys", arguments.rounds);
        listed = VersionBlocks(collection.run.osFolder + "\\" + kListing);
        if (arguments.scale == 1) smallSeconds = TimeListing(collection, folder + "\\sys500", arguments.rounds);
        collection.report.file.Close();
        ::DeleteFileA(collection.report.fileName.c_str());
    }
    if (listed != files) {
        std::fprintf(stderr, "versions: %lld of %d libraries listed with their versions\n", listed, files);
        return 1;
    }
    char note[256];
    int length = std::snprintf(note, sizeof note, "%d files, %.0f files/s; a bare search of them: peak +%.1f MiB",
                               files, files / seconds, searchGrowth / 1048576.0);
    if (smallSeconds > 0)
        std::snprintf(note + length, sizeof note - length, "; %d files: %.0f files/s, time x%.2f for x%d files",
                      kSmallFiles, kSmallFiles / smallSeconds, seconds / smallSeconds, kFilesAt1x / kSmallFiles);
    bench::PrintRow(kBenchmark, arguments.scale, seconds, -1, bench::PeakWorkingSet(), note);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "versions-bench",
                       {[](const bench::Arguments& arguments) {
                            const std::string folder = bench::DataFolder(kBenchmark, arguments.scale);
                            if (FolderIsReady(folder)) return 0;
                            std::fprintf(stderr, "versions: no libraries in %s (bench/data/versions.sh makes them)\n",
                                         folder.c_str());
                            return 1;
                        },
                        Measure,
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(bench::DataFolder(kBenchmark, arguments.scale));
                            return 0;
                        }});
}
