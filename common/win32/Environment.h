#pragma once
#include <windows.h>

#include <string>

namespace win32 {

// Expands environment references in a path; an expansion that would not fit in `limit`
// characters (terminator included) gives the empty text. An undefined variable stays as written.
inline std::string ExpandEnvironment(const std::string& text, DWORD limit = MAX_PATH) {
    std::string expanded(limit, '\0');
    DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), limit);
    if (needed == 0 || needed > limit) return {};
    expanded.resize(needed - 1);
    return expanded;
}

}  // namespace win32
