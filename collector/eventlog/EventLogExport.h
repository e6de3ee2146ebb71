#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "eventlog/EventLogSource.h"
#include "eventlog/EventRecord.h"
#include "eventlog/MessageFileValues.h"
#include "eventlog/MessageModuleCache.h"

// What the event log export keeps on the dialog.
struct EventLogExport {
    EventLogOpener openLog = OpenSystemEventLog;  // tests put synthetic logs here
    std::vector<std::string> messageFiles;        // the work list of one record's message files
    MessageFileValues messageFileValues;
    MessageModuleCache messageModules;

    // What one export keeps is forgotten on every way out of it: the next export sees the
    // registry and the message files as they are then.
    class ExportScope {
    public:
        explicit ExportScope(EventLogExport& owner) noexcept : owner_(owner) {}
        ~ExportScope() {
            owner_.messageFileValues.Clear();
            owner_.messageModules.Clear();
        }
        ExportScope(const ExportScope&) = delete;
        ExportScope& operator=(const ExportScope&) = delete;

    private:
        EventLogExport& owner_;
    };
};
