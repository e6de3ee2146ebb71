#include "MessageBoxAnswerer.h"

#include <chrono>

MessageBoxAnswerer::MessageBoxAnswerer(std::string caption, DWORD ownerPid, DWORD lookMs)
    : looking_(std::async(std::launch::async, [this, caption = std::move(caption), ownerPid, lookMs] {
          return AnswerBox(caption, ownerPid, lookMs, stop_);
      })) {}

// The future's own destructor waits for the thread, which sees the stop on its next round.
MessageBoxAnswerer::~MessageBoxAnswerer() { stop_ = true; }

bool MessageBoxAnswerer::Wait(DWORD timeoutMs) {
    if (looking_.valid()) {
        if (looking_.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) return false;
        answered_ = looking_.get();
    }
    return answered_.has_value();
}
