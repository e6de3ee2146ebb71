#pragma once
// Lets a test drive code that shows a message box: starts msgbox-answer.exe, which waits for
// the box, records what it says and presses a button. Make one BEFORE the box appears; the
// code under test then blocks in MessageBoxA only until the helper answers.
#include <windows.h>

#include <string>

#include "common/win32/UniqueHandle.h"

class MessageBoxAnswerer {
public:
    static constexpr DWORD kDefaultHelperTimeoutMs = 20000;

    // ownerPid 0 accepts a box of any process; buttonId 0 presses the box's first button;
    // helperTimeoutMs is how long the helper looks before giving up.
    explicit MessageBoxAnswerer(std::string caption, DWORD ownerPid = GetCurrentProcessId(), int buttonId = 0,
                                DWORD helperTimeoutMs = kDefaultHelperTimeoutMs);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // True once the helper has answered a box; false if it gave up or is still looking.
    bool Wait(DWORD timeoutMs = 30000);

    // What the answered box said, and its icon: "exclamation", "stop", "information",
    // "question", "none" or "unknown". Empty until Wait returned true.
    std::string Text() const { return text_; }
    std::string Icon() const { return icon_; }

private:
    std::string recordPath_;
    win32::UniqueKernelHandle helper_;
    bool answered_ = false;
    std::string icon_;
    std::string text_;
};
