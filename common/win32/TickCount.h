#pragma once
// Milliseconds since the system started, as a 64-bit count that does not wrap. GetTickCount64
// would give it, but Windows 5.2 lacks it and a program importing it does not start there.
#include <windows.h>

#include <atomic>

namespace win32 {

// The 32-bit count wraps after 49.7 days; each wrap seen since the last call is carried into
// the high half. Callers read it far more often than that (a waiting child at least at every
// heartbeat), so no wrap goes unseen.
inline ULONGLONG TickCount() {
    static std::atomic<ULONGLONG> last{0};
    ULONGLONG seen = last.load();
    for (;;) {
        const DWORD now = ::GetTickCount();
        ULONGLONG high = seen & ~0xFFFFFFFFULL;
        if (now < static_cast<DWORD>(seen)) high += 1ULL << 32;
        const ULONGLONG next = high | now;
        if (last.compare_exchange_weak(seen, next)) return next;
    }
}

}  // namespace win32
