#pragma once
#include <windows.h>

#include <string>

namespace win32 {

// Copy and move that leave no half-written target behind. A copy that fails part-way (a full
// disk) can leave a truncated or empty target that looks like the file; Windows removes it,
// Wine does not. Only a target the failed call itself made is removed: a file that was there
// before belongs to someone else. The failure's error code is kept for the caller.
namespace detail {

inline bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

template <typename Transfer>
bool TransferWhole(const std::string& target, Transfer transfer) {
    const bool existed = Exists(target);
    if (transfer()) return true;
    const DWORD error = ::GetLastError();
    if (!existed && Exists(target)) {
        // The copy takes the source's attributes: a read-only part would refuse the delete.
        ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(target.c_str());
    }
    ::SetLastError(error);
    return false;
}

}  // namespace detail

// CopyFileA that overwrites an existing target.
inline bool CopyWholeFile(const std::string& source, const std::string& target) {
    return detail::TransferWhole(target, [&] { return ::CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE; });
}

// MoveFileA: no replace, so a target that is already there keeps the source where it was.
inline bool MoveWholeFile(const std::string& source, const std::string& target) {
    return detail::TransferWhole(target, [&] { return ::MoveFileA(source.c_str(), target.c_str()) != FALSE; });
}

}  // namespace win32
