// Version listings of the system directory, the cabinet lists of the run, and the packing
// of the cluster snapshot folder.
#include "capture/ChildrenOf.h"
#include "common/text/Format.h"
#include "common/win32/FileFacts.h"
#include "engine/Collection.h"
#include "inventory/CFileInfo.h"
#include "manifest/RecordNames.h"
#include "run/Packaging.h"
#include "run/RoomToPack.h"
#include "run/CollectionRun.h"

namespace {

// The full path of a search, or "" when it does not fit the 260-character path buffer.
std::string AbsoluteSearch(const std::string& search) {
    char full[MAX_PATH] = {};
    DWORD length = ::GetFullPathNameA(search.c_str(), MAX_PATH, full, nullptr);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(full, length);
}

// Writes one listing and reports what it achieved: 0 when it is whole (or only planned), else the
// error that stopped it.
DWORD WriteList(ReportSink& report, FreeSpaceFloor& floor, RunPlan* plan, const std::string& baseFolder,
                const std::string& outputPath, const std::string& search, bool recursive, CFileInfo::Mode mode,
                disk::CheckedWriter::Room room) {
    if (plan != nullptr) {
        plan->Writes(outputPath);
        return 0;
    }
    std::string fullSearch = AbsoluteSearch(search);
    if (fullSearch.empty() || outputPath.size() >= MAX_PATH) {
        report.ReportWrite({outputPath, false, 0, ERROR_FILENAME_EXCED_RANGE, std::nullopt});
        return ERROR_FILENAME_EXCED_RANGE;
    }
    CFileInfo inventory(baseFolder, outputPath, recursive, floor, room);
    std::string pattern;
    inventory.ListFolder(fullSearch, pattern, mode);
    const disk::WriteOutcome& outcome = inventory.Close();
    report.ReportWrite(outcome);
    return outcome.error;
}

DWORD WriteHACabList(StepContext& context) {
    const std::string snapshots = context.run.runFolder + "\\clusnap";
    return WriteList(context, context.floor, context.plan, snapshots, snapshots + "\\" + "QzHAFilesToCab3.TXT",
                     snapshots + "\\" + "*.*", true, CFileInfo::Mode::CabinetList,
                     disk::CheckedWriter::Room::kClosingRecord);
}

}  // namespace

void ListVersions(StepContext& context, const std::string& fileName, const std::string& pattern) {
    WriteList(context, context.floor, context.plan, context.run.runFolder, context.run.osFolder + "\\" + fileName,
              context.folders.systemDirectory + pattern, false, CFileInfo::Mode::VersionListing,
              disk::CheckedWriter::Room::kCollected);
}

// The cabinet lists are closing records: they take the room held back for them.
DWORD WriteCabList(Collection& collection) {
    return WriteList(collection, collection.floor, nullptr, collection.run.runFolder, collection.run.runFolder + "\\" + kCabinetListName,
                     collection.run.runFolder + "\\" + "*.*", true, CFileInfo::Mode::CabinetList,
                     disk::CheckedWriter::Room::kClosingRecord);
}

void PackageHALogs(StepContext& context, int serverCore) {
    if (!context.options.compress) {
        context.SetStatusText("Skip packaging HA logs files ...");
        return;
    }
    context.SetStatusText("Package HA logs files ...");
    // Packing a list that is not whole would pack, and with "Delete after compress" delete,
    // only part of the folder.
    const std::string snapshots = context.run.runFolder + "\\clusnap";
    // A snapshot tool that made no folder left nothing to list, and nothing is lost by that.
    const DWORD listError = win32::FolderExists(snapshots) ? WriteHACabList(context) : 0;
    const std::string command =
        text::Format("%s %s %s %s %s %s %d", "qzhacab.cmd", snapshots.c_str(), context.folders.systemDirectory.c_str(),
                     context.run.bugFolderNumber.c_str(), context.options.deleteAfterCompress ? "YES" : "NO",
                     context.run.timeStamp.c_str(), serverCore);
    if (listError != 0) {
        ChildrenOf(context).RecordRefused(command, listError);
        return;
    }
    if (!RoomToPack(context, context.floor, snapshots, command)) return;
    ChildrenOf(context).RunCommand(command, process::ChildRunner::kHACommandLineLimit);
}
