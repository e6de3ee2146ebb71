// msgbox-answer: answers one message box for a test, so code paths that call MessageBoxA can
// run unattended, in the test process or in a child it started.
//
//   msgbox-answer.exe <caption> <record-file> <owner-pid|0> [timeout-ms] [button-id]
//
// Waits for a visible "#32770" top-level window titled <caption> (owned by <owner-pid> unless
// it is 0), writes "<icon word>\n<message text>" to <record-file>, then presses <button-id>
// (default: the box's first button). Exit status: 0 answered, 1 timed out (no record),
// 2 bad usage, 3 answered but the record could not be written.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "../StockIcons.h"
#include "common/win32/UniqueHandle.h"

namespace {

// A box whose owner stopped pumping messages must not hang the helper as well.
constexpr UINT kSendTimeoutMs = 2000;

std::string WindowText(HWND window) {
    char text[4096] = {};
    return std::string(text, static_cast<size_t>(std::max(0, GetWindowTextA(window, text, sizeof text))));
}

std::string ClassName(HWND window) {
    char name[256] = {};
    return std::string(name, static_cast<size_t>(std::max(0, GetClassNameA(window, name, sizeof name))));
}

bool IsStaticIcon(HWND control) { return (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON; }

struct Search {
    std::string caption;
    DWORD ownerPid;
    HWND box = nullptr;
};

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((search.ownerPid != 0 && pid != search.ownerPid) || !IsWindowVisible(window) ||
        ClassName(window) != "#32770" || WindowText(window) != search.caption)
        return TRUE;
    search.box = window;
    return FALSE;
}

// The message sits in a static control whose id is Windows' or Wine's own choice; it is the
// one with the longest text (the others are empty or the icon). The icon: Windows shares the
// stock icons system-wide, so the box holds the very handle LoadIcon gives here; Wine loads
// them anew in every process, so then the handle is recorded for the box's own process to name.
std::string Record(HWND box) {
    std::string text;
    std::string icon = "none";
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) != "Static") continue;
        DWORD_PTR shown = 0;
        if (!IsStaticIcon(child)) {
            std::string found = WindowText(child);
            if (found.size() > text.size()) text = found;
        } else if (IsWindowVisible(child) && icon == "none" &&
                   SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &shown) && shown) {
            const char* word = StockIconWord(reinterpret_cast<HICON>(shown));
            icon = word ? word : "handle:" + std::to_string(shown);
        }
    }
    return icon + '\n' + text;
}

// The box's first visible button in tab order, e.g. IDOK for MB_OK.
HWND FirstButton(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == "Button" && IsWindowVisible(child)) return child;
    return nullptr;
}

bool WriteRecord(const char* path, const std::string& record) {
    win32::UniqueFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
           written == record.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 6 || !*argv[2]) {
        std::fputs("usage: msgbox-answer.exe <caption> <record-file> <owner-pid|0> [timeout-ms] [button-id]\n", stderr);
        return 2;
    }
    Search search{argv[1], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10))};
    const ULONGLONG deadline = GetTickCount64() + (argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 20000);
    const int wanted = argc > 5 ? std::atoi(argv[5]) : 0;
    do {
        search.box = nullptr;
        EnumWindows(ConsiderWindow, reinterpret_cast<LPARAM>(&search));
        if (search.box) {
            HWND button = wanted ? GetDlgItem(search.box, wanted) : FirstButton(search.box);
            const int buttonId = wanted ? wanted : (button ? GetDlgCtrlID(button) : 0);
            // A box without buttons is still being built; look again on the next round.
            if (buttonId != 0) {
                const bool recorded = WriteRecord(argv[2], Record(search.box));
                PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
                return recorded ? 0 : 3;
            }
        }
        Sleep(20);
    } while (GetTickCount64() < deadline);
    return 1;
}
