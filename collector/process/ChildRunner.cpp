// The run's children: started watched, their waits and ends written to the report, each kept
// in the run record; and the length check every built command line passes.
#include "process/ChildRunner.h"

#include "engine/ErrorText.h"

namespace process {

namespace {
// The report's 511-character entry less the longest text around the command in the
// time-limit and heartbeat lines ("Still waiting for ...: running for <20 digits> seconds").
constexpr size_t kLongestCommandInWaitLines = 451;
// Enough of a refused command to recognise it; the whole of it could overflow a report entry.
constexpr int kShownCommandCharacters = 200;
// The report's 511-character entry less the longest label written before a command line
// ("CaptureDumpThroughADPlus Args: ").
constexpr size_t kLongestShownCommand = 480;
}  // namespace

std::string ChildRunner::ShownCommand(const std::string& commandLine) {
    return ShownCommand(commandLine, kLongestShownCommand);
}

std::string ChildRunner::ShownCommand(const std::string& commandLine, size_t longest) {
    if (commandLine.size() <= longest) return commandLine;
    std::string shown = commandLine.substr(0, kShownCommandCharacters);
    shown += "...";
    return shown;
}

bool ChildRunner::CommandLineFits(const std::string& commandLine, size_t limit) {
    if (commandLine.size() <= limit) return true;
    report_.LogFailure("Command line too long (%zu characters, at most %zu), not run: %.*s...", commandLine.size(),
                      limit, kShownCommandCharacters, commandLine.c_str());
    return false;
}

DWORD ChildRunner::Refusal(const std::string& command, const std::string& commandLine, size_t limit) {
    const DWORD refusal = CommandLineFits(commandLine, limit) ? StartRefusal(command) : ERROR_FILENAME_EXCED_RANGE;
    if (refusal) RecordRefused(command, refusal);
    return refusal;
}

int ChildRunner::RunCommand(const std::string& commandLine, size_t limit) {
    if (Refusal(commandLine, commandLine, limit)) return -1;
    // Started as the C runtime's system starts it, so redirections and what the tools print
    // behave as they always did, but as a child the run can watch and end. Pending report
    // text is on disk already, since every entry is flushed.
    ChildStart start;
    start.application = InterpreterPath();
    start.commandLine = "cmd.exe /c ";
    start.commandLine += commandLine;
    start.inheritHandles = true;
    ChildRecord child = Run(start, commandLine, false);
    // system() kept quiet about an interpreter it could not start; the report says so, since
    // every command of the run is lost with it.
    if (!child.started)
        report_.LogFailure("CreateProcess() failed to create %s!!! REASON: %s", start.application.c_str(),
                          GetErrorText(child.error).c_str());
    if (!child.started || child.error) return -1;
    return static_cast<int>(child.exitCode);
}

ChildRecord ChildRunner::Run(const ChildStart& start, const std::string& command, bool announceWait) {
    ChildRecord child;
    child.commandLine = command;
    WatchedChild watched;
    if (!watched.Start(start, child.error)) {
        report_.KeepChild(child);
        return child;
    }
    child.started = true;
    const ULONGLONG startTick = ::GetTickCount64();
    if (!watched.InJob() && report_.FirstChildOutsideAJob())
        report_.LogReport("The system would not put the tools into jobs of their own (the program runs in a job that "
                          "allows none): a tool may outlive a run that is ended");
    if (announceWait) report_.LogReport("Waiting for the process to terminate ...");
    const std::string shown = ShownCommand(command, kLongestCommandInWaitLines);
    ChildOutcome outcome = watched.Wait(limits_, [this, &shown](ULONGLONG seconds) {
        report_.LogReport("Still waiting for %s: running for %llu seconds", shown.c_str(), seconds);
    });
    if (outcome.timedOut)
        report_.LogFailure("Ended after the time limit of %u seconds!!! Command: %s", limits_.timeoutSeconds,
                          shown.c_str());
    child.milliseconds = ::GetTickCount64() - startTick;
    child.exitCode = outcome.exitCode;
    child.error = outcome.error;
    child.timedOut = outcome.timedOut;
    report_.KeepChild(child);
    return child;
}

void ChildRunner::RecordRefused(const std::string& command, DWORD error) {
    ChildRecord child;
    child.commandLine = command;
    child.error = error;
    report_.KeepChild(child);
}

}  // namespace process
