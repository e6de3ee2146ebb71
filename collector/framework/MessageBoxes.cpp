#include "framework/MessageBoxes.h"

#include "common/win32/AnsiText.h"
#include "framework/MessageBoxReplacement.h"
#include "framework/WindowThreadCall.h"

namespace framework {

namespace {
constexpr UINT kAppTitleString = 0xE000;
constexpr int kMaxResourceString = 1024;  // the longest string the program carries, with room
}  // namespace

std::string LoadResourceString(UINT id) {
    char text[kMaxResourceString] = {};
    int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring LoadResourceStringW(UINT id) {
    wchar_t text[kMaxResourceString] = {};
    int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, text, kMaxResourceString);
    return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string ApplicationTitle() {
    std::string title = LoadResourceString(kAppTitleString);
    if (!title.empty()) return title;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    if (auto slash = name.find_last_of("\\/"); slash != std::string::npos) name.erase(0, slash + 1);
    if (auto dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

// A box is shown by its owner's thread, whichever thread asks for it: a box of a thread that
// has no window of its own would not be modal to the window it belongs to.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    int pressed = 0;
    CallOnWindowThread(owner, [&] {
        // Every box of the program has one button, OK.
        pressed = MessageBoxReplacement::Take(text) ? IDOK : ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
    });
    return pressed;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::string& caption, UINT type) {
    int pressed = 0;
    CallOnWindowThread(owner, [&] {
        if (MessageBoxReplacement::Take(win32::AnsiText(text))) {
            pressed = IDOK;
            return;
        }
        const std::wstring wideCaption(caption.begin(), caption.end());  // the program's captions are ASCII
        pressed = ::MessageBoxW(owner, text.c_str(), wideCaption.c_str(), type);
    });
    return pressed;
}

}  // namespace framework
