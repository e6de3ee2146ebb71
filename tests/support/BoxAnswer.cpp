#include "BoxAnswer.h"

#include <algorithm>

namespace {

// A box whose owner stopped pumping messages must not hang the answerer as well.
constexpr UINT kSendTimeoutMs = 2000;

std::string WindowText(HWND window) {
    char text[4096] = {};
    return std::string(text, static_cast<size_t>(std::max(0, GetWindowTextA(window, text, sizeof text))));
}

std::string ClassName(HWND window) {
    char name[256] = {};
    return std::string(name, static_cast<size_t>(std::max(0, GetClassNameA(window, name, sizeof name))));
}

const char* StockIconWord(HICON shown) {
    static const struct {
        LPCSTR id;
        const char* word;
    } kStockIcons[] = {{IDI_EXCLAMATION, "exclamation"}, {IDI_HAND, "stop"}, {IDI_ASTERISK, "information"},
                       {IDI_QUESTION, "question"}};
    for (const auto& stock : kStockIcons)
        if (LoadIconA(nullptr, stock.id) == shown) return stock.word;
    return "unknown";
}

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
// one with the longest text (the others are empty or the icon).
AnsweredBox Record(HWND box) {
    AnsweredBox answered{"none", ""};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) != "Static") continue;
        DWORD_PTR shown = 0;
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            std::string found = WindowText(child);
            if (found.size() > answered.text.size()) answered.text = found;
        } else if (IsWindowVisible(child) && answered.icon == "none" &&
                   SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &shown) && shown) {
            answered.icon = StockIconWord(reinterpret_cast<HICON>(shown));
        }
    }
    return answered;
}

// The box's first visible button in tab order, e.g. IDOK for MB_OK.
HWND FirstButton(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == "Button" && IsWindowVisible(child)) return child;
    return nullptr;
}

}  // namespace

std::optional<AnsweredBox> AnswerBox(const std::string& caption, DWORD ownerPid, DWORD timeoutMs,
                                     const std::atomic<bool>& stop) {
    Search search{caption, ownerPid};
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        search.box = nullptr;
        EnumWindows(ConsiderWindow, reinterpret_cast<LPARAM>(&search));
        // A box without buttons is still being built; look again on the next round.
        if (HWND button = search.box ? FirstButton(search.box) : nullptr) {
            AnsweredBox answered = Record(search.box);
            PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            return answered;
        }
        Sleep(20);
    } while (GetTickCount64() < deadline && !stop);
    return std::nullopt;
}
