#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace win32 {

// Expands environment references in a text; nothing when the expansion fails or would not fit
// in `limit` characters (terminator included), so an expansion that is rightly empty stays
// apart from one that failed. An undefined variable stays as written.
inline std::optional<std::string> TryExpandEnvironment(const std::string& text, DWORD limit) {
    std::string expanded(limit, '\0');
    DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), limit);
    if (needed == 0 || needed > limit) return std::nullopt;
    expanded.resize(needed - 1);
    return expanded;
}

// The same for a path; a failed expansion gives the empty text.
inline std::string ExpandEnvironment(const std::string& text, DWORD limit = MAX_PATH) {
    return TryExpandEnvironment(text, limit).value_or(std::string());
}

}  // namespace win32
