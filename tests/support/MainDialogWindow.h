#pragma once
// The main dialog of another Zeltrin.exe process, once it shows; nullptr after about 20 s.
#include <windows.h>

inline HWND WaitForMainDialog(DWORD processId) {
    for (int tries = 0; tries < 1000; ++tries) {
        HWND window = nullptr;
        while ((window = ::FindWindowExA(nullptr, window, "#32770", "Zeltrin - BRENNOCK Dunmere for Windows"))) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == processId && ::IsWindowVisible(window)) return window;
        }
        ::Sleep(20);
    }
    return nullptr;
}
