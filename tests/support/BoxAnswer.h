#pragma once
// Answers one message box, so code paths that call MessageBoxA can run unattended: waits for a
// visible "#32770" top-level window with the caption (of the given process, any when 0), notes
// what it says and presses its first button.
#include <windows.h>

#include <atomic>
#include <optional>
#include <string>

struct AnsweredBox {
    // "exclamation", "stop", "information", "question", "none", or "unknown" for an icon that
    // is no stock icon of this process (Wine loads them anew in every process).
    std::string icon;
    std::string text;
};

// Nothing when no box came within the time or `stop` was set first.
std::optional<AnsweredBox> AnswerBox(const std::string& caption, DWORD ownerPid, DWORD timeoutMs,
                                     const std::atomic<bool>& stop);
