// The end of a run on the console: what was collected and what the packaging made.
#include <algorithm>

#include "console/ConsoleWriter.h"
#include "console/SummaryLines.h"
#include "engine/Collection.h"
#include "run/ResultFile.h"

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
std::vector<console::CabinetFile> Collection::CabinetsOfRun() const {
    std::vector<console::CabinetFile> cabinets;
    if (!options.compress) return cabinets;
    const std::string machineFolder = MachineFolder(*this);
    const std::string stem = RunFileStem(*this);
    AddMatches(machineFolder, stem + "*.cab", cabinets);
    AddMatches(run.runFolder, stem + "_HA*.cab", cabinets);
    std::sort(cabinets.begin(), cabinets.end(),
              [](const console::CabinetFile& a, const console::CabinetFile& b) { return a.path < b.path; });
    return cabinets;
}

void Collection::WriteRunSummary(const std::vector<RunFolderFile>& collected) {
    if (console == nullptr) return;
    console::RunSummary summary;
    summary.runFolder = run.runFolder;
    summary.files = collected.size();
    for (const RunFolderFile& file : collected) summary.bytes += file.size;
    summary.failures = record.Failures();
    summary.stepsSkipped = record.StepsSkipped();
    summary.steps = record.Steps().size();
    const OutcomeCounts outcomes = record.Outcomes();
    summary.stepsOk = outcomes.ok;
    summary.stepsPartial = outcomes.partial;
    summary.stepsFailed = outcomes.failed;
    summary.elapsedMilliseconds = record.ElapsedMilliseconds();
    summary.cabinets = CabinetsOfRun();
    for (const std::string& line : console::SummaryLines(summary)) console->WriteLine(line);
}
