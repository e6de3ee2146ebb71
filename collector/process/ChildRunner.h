#pragma once
// Every child of the run goes through one runner: it checks the command line's length, starts
// the child watched by the run's time limit, writes the waiting, heartbeat and time-limit lines
// to the report and keeps the child in the run record, refused ones too.
#include <windows.h>

#include <functional>
#include <string>

#include "engine/ReportSink.h"
#include "engine/RunRecord.h"
#include "process/WatchedChild.h"

namespace process {

// Asked before each child starts, with its command: 0 lets it start; else the child is not
// started and the code is kept as its start error (the check writes its own report line).
using StartCheck = std::function<DWORD(const std::string& command)>;

class ChildRunner {
public:
    ChildRunner(ReportSink& report, ChildWatch limits, StartCheck mayStart = {}) noexcept
        : report_(report), limits_(limits), mayStart_(std::move(mayStart)) {}

    // The command line buffers hold 262 characters: 261 and the terminating zero.
    static constexpr size_t kCommandLineLimit = 261;
    static constexpr size_t kHACommandLineLimit = 271;  // the cluster snapshot packing command

    // A command line longer than its buffer allows is refused with a report line naming it:
    // never cut, never run.
    bool CommandLineFits(const std::string& commandLine, size_t limit = kCommandLineLimit);
    // Hands a complete command line to the command interpreter, as the C runtime's system
    // does ("cmd.exe /c <line>"), and waits for it under the run's time limit. Returns the
    // interpreter's result, or -1 when refused or not started.
    int RunCommand(const std::string& commandLine, size_t limit = kCommandLineLimit);
    // Hands a command line that begins with a quoted path to the command interpreter inside
    // one more pair of quotes, which the interpreter takes off, so every quote of the line stays.
    // The length limit applies to the line as built. Returns RunCommand's result.
    int RunQuotedCommand(const std::string& commandLine);
    // The direct start of the tool captures. Starts a program hidden from view, waits for it
    // under the run's time limit and puts its exit code, or the system error of a start that
    // failed or was refused, into `status`. An empty application lets the command line name
    // the program; `shownName` is the program a failed start names. Returns 1 when the process
    // was created.
    int StartDirect(const std::string& application, const std::string& commandLine, const std::string& shownName,
                    DWORD& status);
    // Starts any child watched, writes its heartbeat and time-limit lines, and records it;
    // `command` names it there. `announceWait` writes the direct start's waiting line once the
    // child runs.
    ChildRecord Run(const ChildStart& start, const std::string& command, bool announceWait);
    // A command line refused for its length (or the start check's code), kept in the run
    // record as a child not started.
    void RecordRefused(const std::string& command, DWORD error = ERROR_FILENAME_EXCED_RANGE);

    // A command line as a report entry shows it: whole while the entry has room for it, else
    // its beginning, so an overlong line is refused with its report line, never with a box.
    static std::string ShownCommand(const std::string& commandLine);
    // Likewise for an entry whose own text leaves room for at most `longest` characters of it.
    static std::string ShownCommand(const std::string& commandLine, size_t longest);

private:
    ReportSink& report_;
    ChildWatch limits_;
    StartCheck mayStart_;

    // The start check's code for the command; 0 when there is no check.
    DWORD StartRefusal(const std::string& command) const { return mayStart_ ? mayStart_(command) : 0; }
    // Why `commandLine` may not start: too long for `limit`, or the start check's code; a
    // refusal is recorded under `command`. 0: it may start.
    DWORD Refusal(const std::string& command, const std::string& commandLine, size_t limit);
};

}  // namespace process
