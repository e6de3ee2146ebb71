#pragma once
#include <windows.h>

#include <string>

namespace win32 {

// Writes the whole text to an open file: 0, the system's error, or ERROR_DISK_FULL where the
// system took less than all of it.
inline DWORD WriteText(HANDLE file, const std::string& text) {
    if (text.empty()) return 0;
    DWORD written = 0;
    if (!::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) return ::GetLastError();
    return written == text.size() ? 0 : ERROR_DISK_FULL;
}

}  // namespace win32
