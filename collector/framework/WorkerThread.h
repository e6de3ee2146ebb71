#pragma once
#include <windows.h>

#include <functional>

#include "common/win32/UniqueHandle.h"

namespace framework {

// One piece of work on a thread of its own, started from a window's thread, which goes on
// answering its messages meanwhile. The work may call back into the window's thread
// (CallOnWindowThread); waiting for its end answers those calls, so that the wait never
// holds up the work it waits for.
class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { Join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // False when no thread could be started: the work has not run.
    bool Start(std::function<void()> work);
    // From a successful start until Join.
    bool Busy() const noexcept { return static_cast<bool>(thread_); }
    // Waits until the work has ended; nothing to wait for when none was started.
    void Join();

private:
    static DWORD WINAPI Run(void* self);

    std::function<void()> work_;
    win32::UniqueKernelHandle thread_;
};

}  // namespace framework
