#pragma once
#include <windows.h>

#include <string>

namespace win32 {

// The text in the ANSI code page. A character that code page lacks becomes "?", never a
// look-alike ("５" is not "5", "ｃ" is not "c"), so it cannot pass for what it is not.
inline std::string AnsiText(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    // Code pages without best-fit tables (UTF-8) refuse the flag; they have every character.
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    const char* unknown = "?";
    int length = ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, unknown, nullptr);
    if (length <= 0) {
        flags = 0;
        unknown = nullptr;
        length = ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, unknown, nullptr);
    }
    if (length <= 0) return std::string(text.size(), '?');
    std::string ansi(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, ansi.data(), length, unknown, nullptr);
    return ansi;
}

}  // namespace win32
