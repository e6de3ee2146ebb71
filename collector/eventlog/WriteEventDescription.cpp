// The description of one record, from the message files its source names in the registry.
#include <algorithm>
#include <cstring>

#include "common/win32/UniqueHandle.h"
#include "dialog/CULVIXDlg.h"
#include "framework/WaitCursor.h"
#include "report/ErrorText.h"

namespace {

constexpr DWORD kValueBuffer = 260;     // the "EventMessageFile" value as read, in bytes
constexpr DWORD kExpandedBuffer = 260;  // the expanded list, terminator included

// The source's "EventMessageFile" value; false when the key or the value cannot be read.
bool ReadMessageFileValue(const std::string& key, std::string& value) {
    win32::UniqueRegKey sourceKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, sourceKey.put()) != ERROR_SUCCESS) return false;
    char bytes[kValueBuffer] = {};
    DWORD size = kValueBuffer;
    if (::RegQueryValueExA(sourceKey.get(), "EventMessageFile", nullptr, nullptr, reinterpret_cast<BYTE*>(bytes),
                           &size) != ERROR_SUCCESS)
        return false;
    // The type is not checked: a value that fills the buffer need not carry a terminator.
    value.assign(bytes, ::strnlen(bytes, std::min<DWORD>(size, kValueBuffer)));
    return true;
}

}  // namespace

bool CULVIXDlg::WriteEventDescription(FILE* file, const EventRecord& record, std::string sourcesKey) {
    framework::WaitCursor wait;
    std::string value;
    if (!ReadMessageFileValue(sourcesKey + record.sourceName, value)) {
        WriteUnresolvedDescription(file, record);
        return false;
    }

    char expanded[kExpandedBuffer] = {};
    DWORD needed = ::ExpandEnvironmentStringsA(value.c_str(), expanded, kExpandedBuffer);
    if (needed == 0 || needed > kExpandedBuffer) {
        DWORD error = ::GetLastError();
        LogReport("Failed to expand %s!!!. REASON: %s", value.c_str(), GetErrorText(error).c_str());
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
