// Starting a watched child and waiting for it under its time limit and heartbeat.
#include "process/WatchedChild.h"

#include <algorithm>

namespace process {

namespace {
constexpr ULONGLONG kNever = ~0ULL;
constexpr ULONGLONG kMillisecondsPerSecond = 1000;
// The longest single wait short of INFINITE, which would mean "no limit" to the system.
constexpr ULONGLONG kLongestWait = INFINITE - 1;
}  // namespace

bool WatchedChild::Start(const ChildStart& start, DWORD& error) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::string mutableLine = start.commandLine;
    // Suspended, so the child is in its job before it can start anything of its own.
    if (!::CreateProcessA(start.application.empty() ? nullptr : start.application.c_str(), mutableLine.data(),
                          nullptr, nullptr, start.inheritHandles ? TRUE : FALSE,
                          start.creationFlags | CREATE_SUSPENDED, nullptr, nullptr, &startup, &started)) {
        error = ::GetLastError();
        return false;
    }
    process_.reset(started.hProcess);
    win32::UniqueKernelHandle thread(started.hThread);
    job_ = JobFor(process_.get());
    if (::ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        // A child that never runs would be waited for without end.
        error = ::GetLastError();
        ::TerminateProcess(process_.get(), error);
        process_.reset();
        job_.reset();
        return false;
    }
    return true;
}

bool WatchedChild::EndAtTheLimit() {
    if (job_ && ::TerminateJobObject(job_.get(), ERROR_TIMEOUT)) return true;
    return ::TerminateProcess(process_.get(), ERROR_TIMEOUT) != 0;
}

ChildOutcome WatchedChild::Wait(const ChildWatch& watch, const Heartbeat& heartbeat) {
    ChildOutcome outcome;
    outcome.started = true;
    const ULONGLONG begun = ::GetTickCount64();
    ULONGLONG limit = watch.timeoutSeconds ? watch.timeoutSeconds * kMillisecondsPerSecond : kNever;
    const ULONGLONG interval = watch.heartbeatMilliseconds;
    ULONGLONG nextBeat = interval ? interval : kNever;
    for (;;) {
        const ULONGLONG until = std::min(limit, nextBeat);
        const ULONGLONG ran = ::GetTickCount64() - begun;
        DWORD wait = INFINITE;
        if (until != kNever) wait = static_cast<DWORD>(until > ran ? std::min(until - ran, kLongestWait) : 0);
        const DWORD result = ::WaitForSingleObject(process_.get(), wait);
        if (result == WAIT_OBJECT_0) break;
        if (result != WAIT_TIMEOUT) {
            outcome.error = ::GetLastError();
            return outcome;
        }
        const ULONGLONG now = ::GetTickCount64() - begun;
        if (now >= limit) {
            // A child that has just ended on its own keeps its own exit code.
            if (::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) break;
            // Ended or not, the limit is spent: a child that cannot be ended is waited for
            // like one without a limit, heartbeat and all.
            limit = kNever;
            outcome.timedOut = EndAtTheLimit();
            continue;
        }
        if (now >= nextBeat) {
            if (heartbeat) heartbeat(now / kMillisecondsPerSecond);
            // A wait that came back late skips the beats it missed instead of firing them at once.
            while (nextBeat <= now) nextBeat += interval;
        }
    }
    if (!::GetExitCodeProcess(process_.get(), &outcome.exitCode)) outcome.error = ::GetLastError();
    return outcome;
}

}  // namespace process
