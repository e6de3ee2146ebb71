// A child writes what it writes, unknown in advance: it starts only while the run folder's
// volume is above its floor.
#include "capture/ChildrenOf.h"
#include "common/disk/FreeSpaceFloor.h"

namespace {
// Enough of a command to recognise it, with room in the report entry for the volume's name.
constexpr size_t kShownCommand = 150;
}  // namespace

DWORD RoomToStart(ReportSink& report, FreeSpaceFloor& floor, const std::string& runFolder, const std::string& command) {
    // The child writes what it writes: the copies after it ask the system afresh.
    floor.Forget();
    if (runFolder.empty()) return 0;
    // What it writes is collected data: the room held back for the closing records stays free.
    std::optional<VolumeSpace> low = floor.Shortfall(runFolder + "\\", 0, false);
    if (!low) return 0;
    report.LogFailure("Not started: %s: less than %u MiB free on %s!!!",
                          process::ChildRunner::ShownCommand(command, kShownCommand).c_str(), low->floorMiB,
                          low->volume.c_str());
    return kBelowFloorError;
}
