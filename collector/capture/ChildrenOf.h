#pragma once
#include "engine/Collection.h"
#include "process/ChildRunner.h"

// The child runner of a collection: its report, its run record and its time limit.
inline process::ChildRunner ChildrenOf(Collection& collection) {
    return process::ChildRunner(collection, collection.record,
                                {collection.unattended.timeoutSeconds, collection.unattended.heartbeatMilliseconds});
}
