// The direct start of the tool captures: a hidden child, watched by the run's time limit.
#include "dialog/CULVIXDlg.h"
#include "report/ErrorText.h"

int CULVIXDlg::StartDirect(const std::string& application, const std::string& commandLine,
                           const std::string& shownName, DWORD& status) {
    const std::string command = process::ChildCommandText(application, commandLine);
    if (!CommandLineFits(commandLine)) {
        RecordRefusedChild(command);
        status = ERROR_FILENAME_EXCED_RANGE;  // the system's own "too long" code
        return 0;
    }
    process::ChildStart start;
    start.application = application;
    start.commandLine = commandLine;
    start.creationFlags = CREATE_NO_WINDOW;
    ChildRecord child = RunChild(start, command, true);
    if (!child.started) {
        status = child.error;
        LogReport("CreateProcess() failed to create %s!!! REASON: %s", shownName.c_str(),
                  GetErrorText(status).c_str());
        return 0;
    }
    // A failed wait would leave the "still active" code in place of an exit code: the status
    // then carries the failure instead.
    if (child.error) {
        LogReport("Could not read the exit code of %s!!! REASON: %s", shownName.c_str(),
                  GetErrorText(child.error).c_str());
    }
    status = child.error ? child.error : child.exitCode;
    LogReport("Termination status: 0x%08x", static_cast<unsigned>(status));
    return 1;
}
