#include "run/RoomToPack.h"

#include "common/disk/FreeSpaceFloor.h"
#include "common/win32/FileFacts.h"
#include "engine/RunFolderFiles.h"
#include "process/ChildRunner.h"

namespace {

// The folder itself, or the nearest one above it that is there: a tool that made no folder
// leaves nothing to pack, and the packing command still writes onto that volume.
std::string NearestFolder(std::string folder) {
    size_t cut = 0;
    while (!win32::FolderExists(folder) && (cut = folder.find_last_of('\\')) != std::string::npos) folder.erase(cut);
    return folder;
}

}  // namespace

bool RoomToPack(ReportSink& report, FreeSpaceFloor& floor, const std::string& folder, const std::string& command) {
    ULONGLONG bytes = 0;
    for (const RunFolderFile& file : ListRunFolderFiles(folder)) bytes += file.size;
    // Asked afresh: the packing follows the tools. It packs the closing records too, which are
    // still to come: their held-back room counts.
    floor.Forget();
    std::optional<VolumeSpace> low = floor.Shortfall(NearestFolder(folder) + "\\", bytes, false);
    if (!low) return true;
    report.LogFailure("Not packed: %s (%llu bytes) would leave less than %u MiB free on %s!!!", folder.c_str(),
                          bytes, low->floorMiB, low->volume.c_str());
    process::ChildRunner(report, {}).RecordRefused(command, kBelowFloorError);
    return false;
}
