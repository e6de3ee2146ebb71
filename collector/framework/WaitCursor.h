#pragma once
#include <windows.h>

namespace framework {

// Shows the hourglass for the life of the object and puts back whatever cursor was there,
// on every way out of the scope. Only the outermost of nested wait cursors touches the
// cursor: the inner ones would set and restore the same hourglass, at a real cost per call
// in loops such as the event export's per-record formatting.
class WaitCursor {
public:
    WaitCursor() noexcept {
        if (depth_++ == 0) previous_ = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    }
    ~WaitCursor() {
        if (--depth_ == 0) ::SetCursor(previous_);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    // Per thread, as the cursor a thread sets is: a run on a thread of its own nests its own.
    static inline thread_local int depth_ = 0;
    HCURSOR previous_ = nullptr;
};

}  // namespace framework
