#pragma once
#include <windows.h>

#include <string>

namespace framework {

// A window's whole text (a control's caption or contents), however long.
inline std::string GetWindowTextString(HWND window) {
    int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int copied = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

}  // namespace framework
