#include "run/RoomToPack.h"

#include "capture/ChildrenOf.h"
#include "common/disk/FreeSpaceFloor.h"
#include "engine/Collection.h"

bool RoomToPack(Collection& collection, const std::string& folder, const std::string& command) {
    ULONGLONG bytes = 0;
    for (const RunFolderFile& file : ListRunFolderFiles(folder)) bytes += file.size;
    std::optional<VolumeSpace> low = FloorShortfall(folder + "\\", bytes, collection.floor.ReserveMiB());
    if (!low) return true;
    collection.LogFailure("Not packed: %s (%llu bytes) would leave less than %u MiB free on %s!!!", folder.c_str(),
                          bytes, low->floorMiB, low->volume.c_str());
    ChildrenOf(collection).RecordRefused(command, kBelowFloorError);
    return false;
}
