#include "engine/ErrorText.h"

#include "common/win32/UniqueHandle.h"
#include "framework/WaitCursor.h"

namespace {
// Network error codes; their texts live in netmsg.dll, not in the system's table.
constexpr DWORD kFirstNetworkError = 2100;
constexpr DWORD kLastNetworkError = 2999;
}  // namespace

std::string GetErrorText(DWORD code) {
    framework::WaitCursor wait;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;

    win32::UniqueModule networkMessages;
    if (code >= kFirstNetworkError && code <= kLastNetworkError) {
        networkMessages.reset(::LoadLibraryExA("netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (networkMessages) flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }

    char* buffer = nullptr;
    DWORD length = ::FormatMessageA(flags, networkMessages.get(), code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                    reinterpret_cast<char*>(&buffer), 0, nullptr);
    win32::UniqueLocalMemory owner(buffer);
    if (length == 0 || buffer == nullptr) return "Error::Message string not found for " + std::to_string(code);
    return std::string(buffer, length) + "Error = " + std::to_string(code);
}

std::string FailureLine(const std::string& what, const std::string& path, DWORD error) {
    return what + " " + path + "!!! REASON: " + GetErrorText(error);
}
