// The direct start of the tool captures: a hidden child, waited for without a time limit.
#include "common/win32/UniqueHandle.h"
#include "dialog/CULVIXDlg.h"
#include "report/ErrorText.h"

namespace {
// The status of a command line refused for its length: the system's own "too long" code.
constexpr DWORD kRefusedStatus = ERROR_FILENAME_EXCED_RANGE;
}  // namespace

int CULVIXDlg::StartDirect(const std::string& application, const std::string& commandLine,
                           const std::string& shownName, DWORD& status) {
    if (!CommandLineFits(commandLine)) {
        status = kRefusedStatus;
        return 0;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::string mutableLine = commandLine;
    if (!::CreateProcessA(application.empty() ? nullptr : application.c_str(), mutableLine.data(), nullptr,
                          nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started)) {
        status = ::GetLastError();
        LogReport("CreateProcess() failed to create %s!!! REASON: %s", shownName.c_str(),
                  GetErrorText(status).c_str());
        return 0;
    }
    win32::UniqueKernelHandle process(started.hProcess);
    win32::UniqueKernelHandle thread(started.hThread);

    LogReport("Waiting for the process to terminate ...");
    DWORD exitCode = 0;
    // A failed wait would leave the "still active" code in place of an exit code: the
    // status then carries the failure instead.
    if (::WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process.get(), &exitCode)) {
        exitCode = ::GetLastError();
        LogReport("Could not read the exit code of %s!!! REASON: %s", shownName.c_str(),
                  GetErrorText(exitCode).c_str());
    }
    status = exitCode;
    LogReport("Termination status: 0x%08x", static_cast<unsigned>(status));
    return 1;
}
