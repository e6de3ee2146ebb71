// The summary page of a run of 20,000 files at 1x (200,000 at 10x): facts as a large run gives
// them (38 steps, a failure line per hundred files, a path of some 60 characters each), the
// page made and written. There is no system side: the row gives the seconds and the page's
// size, which must stay within 10 MB at 1x. bench/after/summary.sh then times Chromium
// rendering the page it left.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchHarness.h"
#include "common/text/Format.h"
#include "common/win32/UniqueHandle.h"
#include "summary/SummaryPage.h"

namespace {

const char* const kBenchmark = "summary";
constexpr int kFilesAt1x = 20000;

SummaryFacts LargeRun(int files) {
    SummaryFacts facts;
    facts.version = "6.1.0.445";
    facts.incident = "123456";
    facts.machine = "NODE1";
    facts.runFolder = "C:\\123456\\NODE1\\12082026__01-02-03";
    facts.start = "2026-12-08T01:02:03";
    facts.milliseconds = 1234567;
    facts.exitStatus = 6;
    for (int row = 1; row <= 38; ++row) {
        SummaryStep step{row, text::Format("Step number %d of the table", row), row % 7 == 0 ? "partial" : "ok", {},
                         static_cast<ULONGLONG>(row) * 1000, {}, static_cast<size_t>(files / 38), 123456789};
        step.programs.push_back({text::Format("C:\\Program Files\\Brennock\\bin\\tool%d.exe -o C:\\123456\\x", row), true,
                                 0, 0, false, 2500});
        facts.steps.push_back(std::move(step));
    }
    for (int i = 0; i < files; ++i) {
        const std::string path = text::Format("VM\\traces\\folder%03d\\QzOKAPO_trace_%06d.log", i % 500, i);
        std::string forwardSlashes = path;
        for (char& c : forwardSlashes)
            if (c == '\\') c = '/';
        facts.files.push_back({forwardSlashes, 1048576ULL + i, std::string(64, "0123456789abcdef"[i % 16]), false});
        if (i % 100 == 0) {
            facts.failureLines.push_back("Failed to copy!!! The process cannot access the file. Error = 32 (" + path + ")");
            facts.steps[static_cast<size_t>(i % 38)].reasons.push_back("in use: C:\\" + path);
            facts.steps[static_cast<size_t>(i % 38)].outcome = "partial";
        }
    }
    return facts;
}

int Measure(const bench::Arguments& arguments) {
    const std::string folder = bench::DataFolder(kBenchmark, arguments.scale);
    if (!bench::MakeFolders(folder)) {
        std::fprintf(stderr, "summary: cannot make %s\n", folder.c_str());
        return 1;
    }
    const int files = kFilesAt1x * arguments.scale;
    const SummaryFacts facts = LargeRun(files);
    const std::string path = folder + "\\" + kSummaryPageName;
    size_t pageBytes = 0;
    bool written = true;
    const double seconds = bench::Alternate(arguments.rounds, [&] {
                               const std::string page = SummaryHtml(facts);
                               pageBytes = page.size();
                               win32::UniqueCStream file(std::fopen(path.c_str(), "wb"));
                               written = file && std::fwrite(page.data(), 1, page.size(), file.get()) == page.size();
                           }, nullptr).ours;
    if (!written) {
        std::fprintf(stderr, "summary: cannot write %s\n", path.c_str());
        return 1;
    }
    bench::PrintRow(kBenchmark, arguments.scale, seconds, -1, bench::PeakWorkingSet(),
                    text::Format("%d files, page %.1f MB (1x: at most 10 MB)", files, pageBytes / 1e6));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, "summary-bench",
                       {[](const bench::Arguments&) { return 0; }, Measure,
                        [](const bench::Arguments& arguments) {
                            bench::RemoveTree(bench::DataFolder(kBenchmark, arguments.scale));
                            return 0;
                        }});
}
