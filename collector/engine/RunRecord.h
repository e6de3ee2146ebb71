#pragma once
#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

// What one run did, step by step, kept for the run manifest: every row of the capture step
// table, the children each started and the files each left in the run folder.

struct ChildRecord {
    std::string commandLine;  // as the process was started
    bool started = false;
    DWORD exitCode = 0;       // when started
    DWORD error = 0;          // the system error of a start that failed or was refused
    bool timedOut = false;    // ended with its process tree at the time limit
    ULONGLONG milliseconds = 0;  // from its start to its end or to the end of the wait
};

// A file the free-space floor kept from being copied.
struct NotCopiedFile {
    std::string source;
    ULONGLONG bytes = 0;  // what the copy would have written
};

// Something a step was to collect and did not, with why ("not found on this machine", "access
// denied", "in use", "refused by the floor", "cut short", "write error", "time limit", "tool
// exit code N", "tool crashed", ...). `lostData`: the run could have had it (a write cut short,
// the floor, the time limit); a source that is simply not there is no loss.
struct StepProblem {
    std::string reason;
    std::string item;  // the file or command
    bool lostData = false;
};

// A file of the run's own writing that is not whole: cut short after `bytes` (0: nothing of it
// could be written, and it is not there).
struct ShortFile {
    std::string path;  // relative to the run folder ("/"-separated), or as written outside it
    ULONGLONG bytes = 0;
};

struct StepRecord {
    int row = 0;
    std::string name;
    bool carriedOut = false;
    std::string skipReason;  // why a row was not carried out: its box, or what the detection did not find
    SYSTEMTIME start{};  // local time
    ULONGLONG durationMilliseconds = 0;
    std::vector<ChildRecord> children;
    std::vector<std::string> filesProduced;  // relative to the run folder, "/"-separated
    std::vector<NotCopiedFile> notCopied;
    unsigned itemsDone = 0;  // copies, writes and children that did what they were to do
    std::vector<StepProblem> problems;
    std::vector<ShortFile> shortFiles;
};

struct OutcomeCounts {
    unsigned ok = 0, partial = 0, failed = 0, skipped = 0;
};

// "ok" (all it was to collect is there), "partial" (some of it), "failed" (none of it) or
// "skipped" (its box or the detection).
const char* StepOutcome(const StepRecord& step) noexcept;

class RunRecord {
public:
    // The run starts now: local time and a tick count for the run's duration.
    void StartRun();
    // A row of the table as its step left it, in table order; with the copies it cut to their
    // newest part, by their paths relative to the run folder ("/"-separated).
    void AddStep(StepRecord step, const std::map<std::string, ULONGLONG>& cutFiles);
    const std::map<std::string, ULONGLONG>& OriginalSizes() const noexcept { return originalSizes_; }
    // A child of the run itself, outside the steps (the packaging command).
    void AddChild(ChildRecord child);
    // Something the run itself did not achieve, outside the steps.
    void AddProblem(StepProblem problem) { problemsOutsideSteps_.push_back(std::move(problem)); }
    const std::vector<StepProblem>& ProblemsOutsideSteps() const noexcept { return problemsOutsideSteps_; }
    // Whether the run lost data it could have had: the exit status says so.
    bool LostData() const noexcept;
    // True for the first child of the run that could not be put into a job, which the report names once.
    bool FirstChildOutsideAJob() noexcept { return !childOutsideAJob_.exchange(true); }
    // The same mark, for the steps that run beside each other.
    std::atomic<bool>& ChildOutsideAJobMark() noexcept { return childOutsideAJob_; }
    // A line that records a failure, as the console shows it.
    void AddFailure(std::string line) { failureLines_.push_back(std::move(line)); }
    const std::vector<std::string>& FailureLines() const noexcept { return failureLines_; }

    const std::vector<StepRecord>& Steps() const noexcept { return steps_; }
    std::vector<StepRecord>& Steps() noexcept { return steps_; }
    const std::vector<ChildRecord>& ChildrenOutsideSteps() const noexcept { return childrenOutsideSteps_; }
    const SYSTEMTIME& RunStart() const noexcept { return runStart_; }
    ULONGLONG ElapsedMilliseconds() const;
    unsigned Failures() const noexcept { return static_cast<unsigned>(failureLines_.size()); }
    unsigned StepsSkipped() const noexcept;
    OutcomeCounts Outcomes() const noexcept;

private:
    std::vector<StepRecord> steps_;
    std::vector<ChildRecord> childrenOutsideSteps_;
    std::vector<StepProblem> problemsOutsideSteps_;
    std::map<std::string, ULONGLONG> originalSizes_;
    SYSTEMTIME runStart_{};
    ULONGLONG runStartTick_ = 0;
    std::vector<std::string> failureLines_;
    std::atomic<bool> childOutsideAJob_{false};
};
