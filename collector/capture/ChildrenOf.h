#pragma once
#include "engine/Collection.h"
#include "process/ChildRunner.h"

// 0 when the run folder's volume is above its free-space floor (or there is no run folder yet);
// else the line that names the child, and the code it is recorded with.
DWORD RoomToStart(Collection& collection, const std::string& command);

// The child runner of a collection: its report, its run record, its time limit and its
// free-space floor; while a plan is made, a child is only named in it.
inline process::ChildRunner ChildrenOf(Collection& collection) {
    return process::ChildRunner(
        collection, collection.record, {collection.unattended.timeoutSeconds, collection.unattended.heartbeatMilliseconds},
        [&collection](const std::string& command) -> DWORD {
            if (collection.plan == nullptr) return RoomToStart(collection, command);
            collection.plan->Starts(command);
            return ERROR_CANCELLED;  // planned, not started
        });
}
