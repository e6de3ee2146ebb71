#include "framework/WindowThreadCall.h"

namespace framework {

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
    ::SendMessageA(window, kWindowThreadCall, 0, reinterpret_cast<LPARAM>(&marked));
    if (!taken) call();
}

}  // namespace framework
