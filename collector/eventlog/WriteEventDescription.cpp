// The description of one record, from the message files its source names in the registry.
#include "engine/ReportSink.h"
#include "eventlog/EventLogExport.h"
#include "framework/WaitCursor.h"
#include "engine/ErrorText.h"

namespace {
constexpr DWORD kExpandedBuffer = 260;  // the expanded list, terminator included
}

bool EventLogExport::WriteEventDescription(disk::CheckedWriter& file, const EventRecord& record, std::string sourcesKey) {
    framework::WaitCursor wait;
    const std::string* value = messageFileValues.Find(sourcesKey + record.sourceName);
    if (value == nullptr) {
        WriteUnresolvedDescription(file, record);
        return false;
    }

    char expanded[kExpandedBuffer] = {};
    DWORD needed = ::ExpandEnvironmentStringsA(value->c_str(), expanded, kExpandedBuffer);
    if (needed == 0 || needed > kExpandedBuffer) {
        DWORD error = ::GetLastError();
        report_.LogFailure("Failed to expand %s!!!. REASON: %s", value->c_str(), GetErrorText(error).c_str());
        WriteUnresolvedDescription(file, record);
        return false;
    }

    SplitMessageFiles(expanded);
    bool resolved = false;
    for (const std::string& path : messageFiles) {
        if (path.empty()) continue;
        HMODULE module = messageModules.Load(path);
        if (module != nullptr && FormatEventMessage(file, record, module)) {
            resolved = true;
            break;
        }
    }
    messageFiles.clear();
    messageModules.EndRecord();
    if (!resolved) WriteUnresolvedDescription(file, record);
    return resolved;
}
