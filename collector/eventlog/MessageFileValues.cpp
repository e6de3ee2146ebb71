#include "eventlog/MessageFileValues.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "common/win32/UniqueHandle.h"

namespace {

constexpr DWORD kValueBuffer = 260;  // the "EventMessageFile" value as read, in bytes

// The registry calls answer with their result and leave the thread's last error alone, so a
// value read once stands for every later read without changing what the export reports.
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

const std::string* MessageFileValues::Find(const std::string& key) {
    if (!keepAcrossRecords) Clear();
    auto found = values_.find(key);
    if (found == values_.end()) {
        ++readsMade_;
        Value value;
        value.readable = ReadMessageFileValue(key, value.text);
        found = values_.emplace(key, std::move(value)).first;
    }
    return found->second.readable ? &found->second.text : nullptr;
}
