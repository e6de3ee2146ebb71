#include "framework/WindowThreadCall.h"

namespace framework {

WPARAM WindowThreadCallKey() noexcept {
    // Where the program was loaded, when and by which process: nothing another process knows.
    static const WPARAM key = reinterpret_cast<WPARAM>(&key) ^ static_cast<WPARAM>(::GetTickCount64() << 20) ^
                              static_cast<WPARAM>(::GetCurrentProcessId()) ^ 0x5a17'0c3bU;
    return key;
}

void CallOnWindowThread(HWND window, const std::function<void()>& call) {
    if (window == nullptr || ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
        call();
        return;
    }
    bool taken = false;
    const std::function<void()> marked = [&] {
        taken = true;
        call();
    };
    ::SendMessageA(window, kWindowThreadCall, WindowThreadCallKey(), reinterpret_cast<LPARAM>(&marked));
    if (!taken) call();
}

}  // namespace framework
