#pragma once
#include <windows.h>

#include <functional>

namespace framework {

// The private message a framework dialog answers by carrying out the call its lParam points to
// (a const std::function<void()>*) when its wParam is this process's key. Only
// CallOnWindowThread sends it; the key keeps another program's WM_APP from being taken for one.
constexpr UINT kWindowThreadCall = WM_APP;
WPARAM WindowThreadCallKey() noexcept;

// Carries out `call` on the thread that owns `window`, and returns once it is done: at once
// when that thread is the caller's (or there is no window); from any other thread through
// SendMessage, which waits for the window's thread to take the call while it answers its
// messages, in a message loop, a message box or a wait of WorkerThread. A window that is gone,
// or is no framework dialog, takes no call: it is then carried out on the calling thread.
void CallOnWindowThread(HWND window, const std::function<void()>& call);

}  // namespace framework
