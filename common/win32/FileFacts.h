#pragma once
// What the system says of a path, without opening it.
#include <windows.h>

#include <string>

namespace win32 {

// Whether `path` names a folder the system can see (a file of that name is no folder).
inline bool FolderExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The size of the file at `path`; false when the system cannot tell (the error is the last error).
inline bool FileSize(const std::string& path, ULONGLONG& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

}  // namespace win32
