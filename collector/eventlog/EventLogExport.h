#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "eventlog/EventLogSource.h"
#include "eventlog/EventRecord.h"
#include "eventlog/MessageModuleCache.h"

// What the event log export keeps on the dialog.
struct EventLogExport {
    EventLogOpener openLog = OpenSystemEventLog;  // tests put synthetic logs here
    std::vector<std::string> messageFiles;        // the work list of one record's message files
    MessageModuleCache messageModules;
};
