// The direct start of the tool captures: a hidden child, watched by the run's time limit.
#include "process/ChildRunner.h"
#include "engine/ErrorText.h"

namespace process {

int ChildRunner::StartDirect(const std::string& application, const std::string& commandLine,
                             const std::string& shownName, DWORD& status) {
    const std::string command = ChildCommandText(application, commandLine);
    // A line too long carries the system's own "too long" code.
    if ((status = Refusal(command, commandLine, kCommandLineLimit)) != 0) return 0;
    ChildStart start;
    start.application = application;
    start.commandLine = commandLine;
    start.creationFlags = CREATE_NO_WINDOW;
    ChildRecord child = Run(start, command, true);
    if (!child.started) {
        status = child.error;
        report_.LogFailure("CreateProcess() failed to create %s!!! REASON: %s", shownName.c_str(),
                  GetErrorText(status).c_str());
        return 0;
    }
    // A failed wait would leave the "still active" code in place of an exit code: the status
    // then carries the failure instead.
    if (child.error) {
        report_.LogFailure("Could not read the exit code of %s!!! REASON: %s", shownName.c_str(),
                  GetErrorText(child.error).c_str());
    }
    status = child.error ? child.error : child.exitCode;
    report_.LogReport("Termination status: 0x%08x", static_cast<unsigned>(status));
    return 1;
}

}  // namespace process
