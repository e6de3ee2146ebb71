// Version listings of the system directory, the cabinet lists of the run, and the packing
// of the cluster snapshot folder.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"
#include "inventory/CFileInfo.h"
#include "run/RoomToPack.h"

namespace {

// The full path of a search, or "" when it does not fit the 260-character path buffer.
std::string AbsoluteSearch(const std::string& search) {
    char full[MAX_PATH] = {};
    DWORD length = ::GetFullPathNameA(search.c_str(), MAX_PATH, full, nullptr);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(full, length);
}

void WriteList(RunPlan* plan, const std::string& baseFolder, const std::string& outputPath, const std::string& search,
               bool recursive, CFileInfo::Mode mode) {
    if (plan != nullptr) {
        plan->Writes(outputPath);
        return;
    }
    std::string fullSearch = AbsoluteSearch(search);
    if (fullSearch.empty() || outputPath.size() >= MAX_PATH) return;
    CFileInfo inventory(baseFolder, outputPath, recursive);
    std::string pattern;
    inventory.ListFolder(fullSearch, pattern, mode);
}

}  // namespace

void Collection::ListVersions(std::string fileName, std::string pattern) {
    WriteList(plan, run.runFolder, run.osFolder + "\\" + fileName, folders.systemDirectory + pattern, false,
              CFileInfo::Mode::VersionListing);
}

void Collection::WriteCabList() {
    WriteList(plan, run.runFolder, run.runFolder + "\\" + "QzFilesToCab3.TXT", run.runFolder + "\\" + "*.*", true,
              CFileInfo::Mode::CabinetList);
}

void Collection::WriteHACabList() {
    const std::string snapshots = run.runFolder + "\\clusnap";
    WriteList(plan, snapshots, snapshots + "\\" + "QzHAFilesToCab3.TXT", snapshots + "\\" + "*.*", true,
              CFileInfo::Mode::CabinetList);
}

void Collection::PackageHALogs(int serverCore) {
    if (!options.compress) {
        SetStatusText("Skip packaging HA logs files ...");
        return;
    }
    SetStatusText("Package HA logs files ...");
    WriteHACabList();
    const std::string snapshots = run.runFolder + "\\clusnap";
    const std::string command = text::Format("%s %s %s %s %s %s %d", "qzhacab.cmd", snapshots.c_str(),
                                             folders.systemDirectory.c_str(), run.bugFolderNumber.c_str(),
                                             options.deleteAfterCompress ? "YES" : "NO", run.timeStamp.c_str(), serverCore);
    if (!RoomToPack(*this, snapshots, command)) return;
    ChildrenOf(*this).RunCommand(command, process::ChildRunner::kHACommandLineLimit);
}
