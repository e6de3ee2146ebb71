#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

// Copy and move that never leave a file under the target's name that is not whole: the bytes go
// to a temporary name beside the target, which is renamed once they are all there. A run killed
// mid-copy leaves a file that says what it is, and no run lists it as collected. A failure
// removes the temporary file and keeps its error code for the caller.
constexpr std::string_view kPartialSuffix = ".zeltrin-part";

inline bool IsPartialFile(std::string_view name) {
    return name.size() >= kPartialSuffix.size() && name.substr(name.size() - kPartialSuffix.size()) == kPartialSuffix;
}

// "<target>.zeltrin-part", or "~.zeltrin-part" in the target's folder where the longer name
// would not fit the system's path limit.
inline std::string PartialName(const std::string& target) {
    std::string partial = target + std::string(kPartialSuffix);
    if (partial.size() < MAX_PATH) return partial;
    const size_t slash = target.find_last_of('\\');
    return target.substr(0, slash == std::string::npos ? 0 : slash + 1) + "~" + std::string(kPartialSuffix);
}

// Makes the target through `make(partialName)` and renames it when whole; `replace`: a target
// that is there already is replaced, else it stays and the transfer fails.
template <typename Make>
bool MakeWhole(const std::string& target, bool replace, Make make) {
    const std::string partial = PartialName(target);
    if (make(partial) &&
        ::MoveFileExA(partial.c_str(), target.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return true;
    const DWORD error = ::GetLastError();
    // The copy takes the source's attributes: a read-only part would refuse the delete.
    ::SetFileAttributesA(partial.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(partial.c_str());
    ::SetLastError(error);
    return false;
}

// CopyFileA that overwrites an existing target.
inline bool CopyWholeFile(const std::string& source, const std::string& target) {
    return MakeWhole(target, true,
                     [&](const std::string& partial) { return ::CopyFileA(source.c_str(), partial.c_str(), FALSE) != FALSE; });
}

// MoveFileA: no replace, so a target that is already there keeps the source where it was. On
// one volume a rename; between volumes a whole copy first, and the source goes after it.
inline bool MoveWholeFile(const std::string& source, const std::string& target) {
    if (::MoveFileExA(source.c_str(), target.c_str(), 0)) return true;
    if (::GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
    if (::GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    if (!MakeWhole(target, false, [&](const std::string& partial) {
            return ::CopyFileA(source.c_str(), partial.c_str(), FALSE) != FALSE;
        }))
        return false;
    // The copy is whole: a source that cannot be removed is still there, which loses nothing.
    ::DeleteFileA(source.c_str());
    return true;
}

}  // namespace win32
