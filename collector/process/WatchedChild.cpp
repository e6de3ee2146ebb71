// Starting a watched child and waiting for it under its time limit and heartbeat.
#include "process/WatchedChild.h"

#include <algorithm>

#include "common/win32/TickCount.h"

namespace process {

namespace {
constexpr ULONGLONG kNever = ~0ULL;
constexpr ULONGLONG kMillisecondsPerSecond = 1000;
// The longest single wait short of INFINITE, which would mean "no limit" to the system.
constexpr ULONGLONG kLongestWait = INFINITE - 1;
// How long the processes of an ended job are given to go; ending them is already under way.
constexpr ULONGLONG kLongestTreeEnd = 10 * 1000;
constexpr ULONGLONG kTreeEndPoll = 50;
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
    return EndProcessTree(process_.get(), ERROR_TIMEOUT);
}

void WatchedChild::AwaitEmptyJob() const {
    if (!job_) return;
    for (ULONGLONG waited = 0; waited < kLongestTreeEnd; waited += kTreeEndPoll) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (!::QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &accounting,
                                         sizeof accounting, nullptr) ||
            accounting.ActiveProcesses == 0)
            return;
        ::Sleep(static_cast<DWORD>(kTreeEndPoll));
    }
}

ChildOutcome WatchedChild::Wait(const ChildWatch& watch, const Heartbeat& heartbeat) {
    ChildOutcome outcome;
    outcome.started = true;
    const ULONGLONG begun = win32::TickCount();
    ULONGLONG limit = watch.timeoutSeconds ? watch.timeoutSeconds * kMillisecondsPerSecond : kNever;
    const ULONGLONG interval = watch.heartbeatMilliseconds;
    ULONGLONG nextBeat = interval ? interval : kNever;
    bool endedAtLimit = false;
    for (;;) {
        const ULONGLONG until = std::min(limit, nextBeat);
        const ULONGLONG ran = win32::TickCount() - begun;
        DWORD wait = INFINITE;
        if (until != kNever) wait = static_cast<DWORD>(until > ran ? std::min(until - ran, kLongestWait) : 0);
        const DWORD result = ::WaitForSingleObject(process_.get(), wait);
        if (result == WAIT_OBJECT_0) break;
        if (result != WAIT_TIMEOUT) {
            outcome.error = ::GetLastError();
            return outcome;
        }
        const ULONGLONG now = win32::TickCount() - begun;
        if (now >= limit) {
            // A child that has just ended on its own keeps its own exit code.
            if (::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) break;
            // Ended or not, the limit is spent: a child that cannot be ended is waited for
            // like one without a limit, heartbeat and all.
            limit = kNever;
            endedAtLimit = EndAtTheLimit();
            continue;
        }
        if (now >= nextBeat) {
            if (heartbeat) heartbeat(now / kMillisecondsPerSecond);
            // A wait that came back late skips the beats it missed instead of firing them at once.
            while (nextBeat <= now) nextBeat += interval;
        }
    }
    if (endedAtLimit) AwaitEmptyJob();
    if (!::GetExitCodeProcess(process_.get(), &outcome.exitCode)) outcome.error = ::GetLastError();
    // A child that ended on its own in the moment before it was ended keeps its own code and
    // is no time-limit failure.
    outcome.timedOut = endedAtLimit && outcome.exitCode == ERROR_TIMEOUT;
    return outcome;
}

}  // namespace process
