// The description of one record, from the message files its source names in the registry.
#include "dialog/CULVIXDlg.h"
#include "framework/WaitCursor.h"
#include "report/ErrorText.h"

namespace {
constexpr DWORD kExpandedBuffer = 260;  // the expanded list, terminator included
}

bool CULVIXDlg::WriteEventDescription(FILE* file, const EventRecord& record, std::string sourcesKey) {
    framework::WaitCursor wait;
    const std::string* value = eventLog.messageFileValues.Find(sourcesKey + record.sourceName);
    if (value == nullptr) {
        WriteUnresolvedDescription(file, record);
        return false;
    }

    char expanded[kExpandedBuffer] = {};
    DWORD needed = ::ExpandEnvironmentStringsA(value->c_str(), expanded, kExpandedBuffer);
    if (needed == 0 || needed > kExpandedBuffer) {
        DWORD error = ::GetLastError();
        LogReport("Failed to expand %s!!!. REASON: %s", value->c_str(), GetErrorText(error).c_str());
        WriteUnresolvedDescription(file, record);
        return false;
    }

    SplitMessageFiles(expanded);
    bool resolved = false;
    for (const std::string& path : eventLog.messageFiles) {
        if (path.empty()) continue;
        HMODULE module = eventLog.messageModules.Load(path);
        if (module != nullptr && FormatEventMessage(file, record, module)) {
            resolved = true;
            break;
        }
    }
    eventLog.messageFiles.clear();
    eventLog.messageModules.EndRecord();
    if (!resolved) WriteUnresolvedDescription(file, record);
    return resolved;
}
