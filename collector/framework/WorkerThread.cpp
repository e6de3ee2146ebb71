#include "framework/WorkerThread.h"

namespace framework {

bool WorkerThread::Start(std::function<void()> work) {
    Join();
    work_ = std::move(work);
    thread_.reset(::CreateThread(nullptr, 0, &WorkerThread::Run, this, 0, nullptr));
    return Busy();
}

void WorkerThread::Join() {
    if (!thread_) return;
    HANDLE thread = thread_.get();
    // The calls the work sends to this thread are carried out as they come; nothing else of
    // this thread's messages is taken.
    MSG message;
    do {
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    } while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1);
    thread_.reset();
}

DWORD WINAPI WorkerThread::Run(void* self) {
    static_cast<WorkerThread*>(self)->work_();
    return 0;
}

}  // namespace framework
