#pragma once
#include <windows.h>

#include <string>

#include "common/win32/UniqueHandle.h"

namespace win32 {

// The whole file into `text`: 0, or the system's error (ERROR_FILE_NOT_FOUND when there is none).
inline DWORD ReadWholeFile(const std::string& path, std::string& text) {
    text.clear();
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError();
    char buffer[16 * 1024];
    DWORD got = 0;
    for (;;) {
        if (!::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr)) return ::GetLastError();
        if (got == 0) return 0;
        text.append(buffer, got);
    }
}

}  // namespace win32
