#pragma once
#include <windows.h>

namespace framework {

// Shows the hourglass for the life of the object and puts back whatever cursor was there,
// on every way out of the scope.
class WaitCursor {
public:
    WaitCursor() noexcept : previous_(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace framework
