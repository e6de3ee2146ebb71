#pragma once
// Lets a test drive code that shows a message box: a thread of the test waits for the box,
// notes what it says and presses its first button. Make one BEFORE the box appears; the code
// under test then blocks in MessageBoxA only until the box is answered.
#include <windows.h>

#include <atomic>
#include <future>
#include <optional>
#include <string>

#include "BoxAnswer.h"

class MessageBoxAnswerer {
public:
    // ownerPid 0 accepts a box of any process; lookMs is how long the thread looks for the box.
    explicit MessageBoxAnswerer(std::string caption, DWORD ownerPid = GetCurrentProcessId(),
                                DWORD lookMs = 20000);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // True once a box was answered; false if the thread gave up or is still looking.
    bool Wait(DWORD timeoutMs = 30000);

    // What the answered box said, and its icon (see AnsweredBox). Empty until Wait returned true.
    std::string Text() const { return answered_ ? answered_->text : ""; }
    std::string Icon() const { return answered_ ? answered_->icon : ""; }

private:
    std::atomic<bool> stop_{false};
    std::future<std::optional<AnsweredBox>> looking_;
    std::optional<AnsweredBox> answered_;
};
