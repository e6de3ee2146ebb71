// Command lines of the run: the length check every built command passes, the command
// interpreter, and the status line.

#include "console/ConsoleWriter.h"
#include "console/ProgressLine.h"
#include "dialog/CULVIXDlg.h"
#include "report/ErrorText.h"
#include "resources/resource.h"

namespace {
// Enough of a refused command to recognise it; the whole of it could overflow a report entry.
constexpr int kShownCommandCharacters = 200;
// The report's 511-character entry less the longest label written before a command line
// ("CaptureDumpThroughADPlus Args: ").
constexpr size_t kLongestShownCommand = 480;
}  // namespace

std::string CULVIXDlg::ShownCommand(const std::string& commandLine) {
    return ShownCommand(commandLine, kLongestShownCommand);
}

std::string CULVIXDlg::ShownCommand(const std::string& commandLine, size_t longest) {
    if (commandLine.size() <= longest) return commandLine;
    std::string shown = commandLine.substr(0, kShownCommandCharacters);
    shown += "...";
    return shown;
}

bool CULVIXDlg::CommandLineFits(const std::string& commandLine, size_t limit) {
    if (commandLine.size() <= limit) return true;
    LogReport("Command line too long (%zu characters, at most %zu), not run: %.*s...", commandLine.size(), limit,
              kShownCommandCharacters, commandLine.c_str());
    return false;
}

int CULVIXDlg::RunCommand(const std::string& commandLine, size_t limit) {
    if (!CommandLineFits(commandLine, limit)) {
        RecordRefusedChild(commandLine);
        return -1;
    }
    // Started as the C runtime's system starts it, so redirections and what the tools print
    // behave as they always did, but as a child the run can watch and end. Pending report
    // text is on disk already, since every entry is flushed.
    process::ChildStart start;
    start.application = process::InterpreterPath();
    start.commandLine = "cmd.exe /c ";
    start.commandLine += commandLine;
    start.inheritHandles = true;
    ChildRecord child = RunChild(start, commandLine, false);
    // system() kept quiet about an interpreter it could not start; the report says so, since
    // every command of the run is lost with it.
    if (!child.started)
        LogReport("CreateProcess() failed to create %s!!! REASON: %s", start.application.c_str(),
                  GetErrorText(child.error).c_str());
    if (!child.started || child.error) return -1;
    return static_cast<int>(child.exitCode);
}

void CULVIXDlg::SetStatusText(const char* text) {
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_STATUS, text);
    if (console != nullptr) console->WriteLine(console::ProgressLine(progress.GetPos(), progress.GetStep(), text));
}
