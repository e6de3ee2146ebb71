#pragma once
// A child process the run watches: started suspended inside a job of its own, so a time limit
// ends it together with every process it started, and a heartbeat while it runs, so a stuck
// collection can say what it waits for.
#include <windows.h>

#include <functional>
#include <string>

#include "common/win32/UniqueHandle.h"

namespace process {

struct ChildStart {
    std::string application;  // empty: the command line names the program
    std::string commandLine;
    bool inheritHandles = false;
    DWORD creationFlags = 0;
};

struct ChildWatch {
    unsigned timeoutSeconds = 0;      // 0: the child is never ended
    DWORD heartbeatMilliseconds = 0;  // 0: no heartbeat
};

struct ChildOutcome {
    bool started = false;
    DWORD exitCode = 0;
    // The system error of a start that failed, or of a wait or exit code read that failed
    // for a child that did start.
    DWORD error = 0;
    bool timedOut = false;
};

// Called after each heartbeat interval the child has run, with its running time in seconds.
using Heartbeat = std::function<void(ULONGLONG runningSeconds)>;

class WatchedChild {
public:
    // Creates the process; false, with the system error in `error`, when it could not be.
    bool Start(const ChildStart& start, DWORD& error);
    // Waits for the child's end. Past the time limit the child's job is ended, or the child
    // alone when it could not be put into a job.
    ChildOutcome Wait(const ChildWatch& watch, const Heartbeat& heartbeat);
    // Whether the child runs in a job of its own, which ends it with the run.
    bool InJob() const noexcept { return static_cast<bool>(job_); }

private:
    bool EndAtTheLimit();
    // After a job was ended: the processes it held take a moment to go, and may hold files
    // the capture goes on to move.
    void AwaitEmptyJob() const;

    win32::UniqueKernelHandle process_;
    win32::UniqueKernelHandle job_;  // empty when the system would not put the child into a job
};

// A job of its own for a child that has not run yet, which ends the child when the job's last
// handle closes; empty when none can be made or the child cannot be assigned to it (a system
// without nested jobs, a parent job without breakaway).
win32::UniqueKernelHandle JobFor(HANDLE process);

// Ends a process and every process it started, found through their parents' ids; for a child
// that has no job. True when the process itself was ended.
bool EndProcessTree(HANDLE root, DWORD exitCode);

// The command interpreter as the C runtime's system finds it: %COMSPEC% when it holds a full
// path, else cmd.exe of the system directory; never a cmd.exe lying in the current folder.
std::string InterpreterPath();

// How a child is named in the report and the run record: its command line, or the program
// followed by the command line when that holds only the program's options.
std::string ChildCommandText(const std::string& application, const std::string& commandLine);

}  // namespace process
