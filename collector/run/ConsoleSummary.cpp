// The end of a run on the console: what was collected and what the packaging made.
#include <algorithm>

#include "console/ConsoleWriter.h"
#include "console/SummaryLines.h"
#include "engine/Collection.h"
#include "run/ResultFile.h"
#include "run/CollectionRun.h"

namespace {

// The files of a folder whose names match the pattern.
void AddMatches(const std::string& folder, const std::string& pattern, std::vector<console::CabinetFile>& found) {
    WIN32_FIND_DATAA entry{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\" + pattern).c_str(), &entry));
    if (!search) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        console::CabinetFile cabinet;
        cabinet.path = folder + "\\" + entry.cFileName;
        cabinet.bytes = (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        found.push_back(cabinet);
    } while (::FindNextFileA(search.get(), &entry));
}

}  // namespace

// The command files name their cabinets after the bug folder number, the machine folder (its
// stand-in in a redacted run) and the time stamp: qzcab.cmd puts the run's beside the run folder, qzhacab.cmd the cluster
// snapshot's inside it; a list too long for one cabinet goes on in "_2", "_3", ...
std::vector<console::CabinetFile> CabinetsOfRun(const Collection& collection) {
    std::vector<console::CabinetFile> cabinets;
    if (!collection.options.compress) return cabinets;
    const std::string machineFolder = MachineFolder(collection);
    const std::string stem = RunFileStem(collection);
    AddMatches(machineFolder, stem + "*.cab", cabinets);
    AddMatches(collection.run.runFolder, stem + "_HA*.cab", cabinets);
    std::sort(cabinets.begin(), cabinets.end(),
              [](const console::CabinetFile& a, const console::CabinetFile& b) { return a.path < b.path; });
    return cabinets;
}

void WriteRunSummary(Collection& collection, const std::vector<RunFolderFile>& collected) {
    if (collection.console == nullptr) return;
    console::RunSummary summary;
    summary.runFolder = collection.run.runFolder;
    summary.files = collected.size();
    for (const RunFolderFile& file : collected) summary.bytes += file.size;
    summary.failures = collection.record.Failures();
    summary.stepsSkipped = collection.record.StepsSkipped();
    summary.steps = collection.record.Steps().size();
    const OutcomeCounts outcomes = collection.record.Outcomes();
    summary.stepsOk = outcomes.ok;
    summary.stepsPartial = outcomes.partial;
    summary.stepsFailed = outcomes.failed;
    summary.elapsedMilliseconds = collection.record.ElapsedMilliseconds();
    summary.cabinets = CabinetsOfRun(collection);
    for (const std::string& line : console::SummaryLines(summary)) collection.console->WriteLine(line);
}
