#pragma once
#include <string>

#include "engine/Collection.h"
#include "engine/StepContext.h"
#include "process/ChildRunner.h"

// 0 when the run folder's volume is above its free-space floor (or there is no run folder yet);
// else the line that names the child, and the code it is recorded with.
DWORD RoomToStart(ReportSink& report, FreeSpaceFloor& floor, const std::string& runFolder, const std::string& command);

// The child runner of a step: its report and record, the run's time limit and free-space floor;
// while a plan is made, a child is only named in it.
inline process::ChildRunner ChildrenOf(StepContext& context) {
    return process::ChildRunner(
        context, {context.unattended.timeoutSeconds, context.unattended.heartbeatMilliseconds},
        [&context](const std::string& command) -> DWORD {
            if (context.plan == nullptr) return RoomToStart(context, context.floor, context.run.runFolder, command);
            context.plan->Starts(command);
            return ERROR_CANCELLED;  // planned, not started
        });
}

// The child runner of the run itself, outside its steps (the packing).
inline process::ChildRunner ChildrenOf(Collection& collection) {
    return process::ChildRunner(
        collection, {collection.unattended.timeoutSeconds, collection.unattended.heartbeatMilliseconds},
        [&collection](const std::string& command) -> DWORD {
            return RoomToStart(collection, collection.floor, collection.run.runFolder, command);
        });
}
