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

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "../StockIcons.h"
#include "common/win32/UniqueHandle.h"

namespace {

constexpr DWORD kPollIntervalMs = 20;
constexpr DWORD kDefaultTimeoutMs = 20000;
// A box whose owner stopped pumping messages must not hang the helper as well.
constexpr UINT kSendTimeoutMs = 2000;

struct Options {
    std::string caption;
    std::string recordPath;
    DWORD ownerPid = 0;
    DWORD timeoutMs = kDefaultTimeoutMs;
    int buttonId = 0;  // 0: the box's first button
};

std::optional<unsigned long> ParseNumber(std::string_view text) {
    unsigned long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    if (argc < 4 || argc > 6) return std::nullopt;
    Options options;
    options.caption = argv[1];
    options.recordPath = argv[2];
    auto pid = ParseNumber(argv[3]);
    if (!pid || options.recordPath.empty()) return std::nullopt;
    options.ownerPid = static_cast<DWORD>(*pid);
    if (argc > 4) {
        auto timeout = ParseNumber(argv[4]);
        if (!timeout) return std::nullopt;
        options.timeoutMs = static_cast<DWORD>(*timeout);
    }
    if (argc > 5) {
        auto button = ParseNumber(argv[5]);
        if (!button || *button == 0 || *button > 0xFFFF) return std::nullopt;
        options.buttonId = static_cast<int>(*button);
    }
    return options;
}

std::string WindowText(HWND window) {
    // The length is an upper bound for ANSI text, so trim to what was really copied.
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

bool IsStaticIcon(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

struct Search {
    const Options* options;
    HWND box = nullptr;
};

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    if (search.options->ownerPid != 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != search.options->ownerPid) return TRUE;
    }
    if (!IsWindowVisible(window) || ClassName(window) != "#32770" ||
        WindowText(window) != search.options->caption)
        return TRUE;
    search.box = window;
    return FALSE;
}

HWND FindBox(const Options& options) {
    Search search{&options};
    EnumWindows(ConsiderWindow, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

// The message sits in a static control whose id is Windows' or Wine's own choice; it is the
// one with the longest text (the others are empty or the icon).
std::string MessageText(HWND box) {
    std::string longest;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) != "Static" || IsStaticIcon(child)) continue;
        std::string text = WindowText(child);
        if (text.size() > longest.size()) longest = std::move(text);
    }
    return longest;
}

std::string IconWord(HWND box) {
    HICON shown = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child && !shown; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) != "Static" || !IsStaticIcon(child) || !IsWindowVisible(child)) continue;
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
            shown = reinterpret_cast<HICON>(result);
    }
    if (!shown) return "none";
    // Windows shares the stock icons system-wide, so the box holds the very handle LoadIcon
    // gives here. Wine loads them anew in every process: then the handle itself is recorded,
    // and the box's own process can still tell which stock icon it is.
    if (const char* word = StockIconWord(shown)) return word;
    return "handle:" + std::to_string(reinterpret_cast<UINT_PTR>(shown));
}

// The box's first button in tab order, e.g. IDOK for MB_OK; a hidden one is nothing a user
// could press, so it does not count.
HWND FirstButton(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == "Button" && IsWindowVisible(child)) return child;
    return nullptr;
}

bool WriteRecord(const std::string& path, const std::string& icon, const std::string& text) {
    win32::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::string record = icon + '\n' + text;
    DWORD written = 0;
    return WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
           written == record.size();
}

}  // namespace

int main(int argc, char** argv) {
    auto options = ParseOptions(argc, argv);
    if (!options) {
        std::fputs("usage: msgbox-answer.exe <caption> <record-file> <owner-pid|0> [timeout-ms] [button-id]\n",
                   stderr);
        return 2;
    }

    const ULONGLONG deadline = GetTickCount64() + options->timeoutMs;
    for (;;) {
        if (HWND box = FindBox(*options)) {
            HWND button = options->buttonId ? GetDlgItem(box, options->buttonId) : FirstButton(box);
            int buttonId = options->buttonId ? options->buttonId : (button ? GetDlgCtrlID(button) : 0);
            // A box without buttons is still being built; look again on the next round.
            if (buttonId != 0) {
                bool recorded = WriteRecord(options->recordPath, IconWord(box), MessageText(box));
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
                return recorded ? 0 : 3;
            }
        }
        if (GetTickCount64() >= deadline) return 1;
        Sleep(kPollIntervalMs);
    }
}
