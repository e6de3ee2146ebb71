// The run's children: started watched, their waits and ends written to the report, each kept
// in the run record.
#include "dialog/CULVIXDlg.h"

namespace {
// The report's 511-character entry less the longest text around the command in the
// time-limit and heartbeat lines ("Still waiting for ...: running for <20 digits> seconds").
constexpr size_t kLongestCommandInWaitLines = 451;
}  // namespace

ChildRecord CULVIXDlg::RunChild(const process::ChildStart& start, const std::string& command, bool announceWait) {
    ChildRecord child;
    child.commandLine = command;
    process::WatchedChild watched;
    if (!watched.Start(start, child.error)) {
        record.AddChild(child);
        return child;
    }
    child.started = true;
    if (announceWait) LogReport("Waiting for the process to terminate ...");
    process::ChildWatch watch;
    watch.timeoutSeconds = unattended.timeoutSeconds;
    watch.heartbeatMilliseconds = unattended.heartbeatMilliseconds;
    const std::string shown = ShownCommand(command, kLongestCommandInWaitLines);
    process::ChildOutcome outcome = watched.Wait(watch, [this, &shown](ULONGLONG seconds) {
        LogReport("Still waiting for %s: running for %llu seconds", shown.c_str(), seconds);
    });
    if (outcome.timedOut)
        LogReport("Ended after the time limit of %u seconds!!! Command: %s", unattended.timeoutSeconds, shown.c_str());
    child.exitCode = outcome.exitCode;
    child.error = outcome.error;
    child.timedOut = outcome.timedOut;
    record.AddChild(child);
    return child;
}

void CULVIXDlg::RecordRefusedChild(const std::string& command) {
    ChildRecord child;
    child.commandLine = command;
    child.error = ERROR_FILENAME_EXCED_RANGE;  // the system's own "too long" code
    record.AddChild(child);
}
