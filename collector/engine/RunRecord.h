#pragma once
#include <windows.h>

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
};

// A file the free-space floor kept from being copied.
struct NotCopiedFile {
    std::string source;
    ULONGLONG bytes = 0;  // what the copy would have written
};

struct StepRecord {
    int row = 0;
    std::string name;
    bool carriedOut = false;
    SYSTEMTIME start{};  // local time
    ULONGLONG durationMilliseconds = 0;
    std::vector<ChildRecord> children;
    std::vector<std::string> filesProduced;  // relative to the run folder, "/"-separated
    std::vector<NotCopiedFile> notCopied;
};

class RunRecord {
public:
    // The run starts now: local time and a tick count for the run's duration.
    void StartRun();
    void BeginStep(int row, const char* name, bool carriedOut);
    void EndStep();
    // Kept with the open step, or with the run when no step is open (the packaging command).
    void AddChild(ChildRecord child);
    // Kept with the open step; outside a step the report line is all there is.
    void AddNotCopied(NotCopiedFile file);
    // A copy cut to its newest part, by its path relative to the run folder ("/"-separated).
    void AddCutFile(const std::string& relativePath, ULONGLONG originalSize) { originalSizes_[relativePath] = originalSize; }
    const std::map<std::string, ULONGLONG>& OriginalSizes() const noexcept { return originalSizes_; }
    // A report line that records a failure.
    void CountFailure() noexcept { ++failures_; }

    const std::vector<StepRecord>& Steps() const noexcept { return steps_; }
    std::vector<StepRecord>& Steps() noexcept { return steps_; }
    const std::vector<ChildRecord>& ChildrenOutsideSteps() const noexcept { return childrenOutsideSteps_; }
    const SYSTEMTIME& RunStart() const noexcept { return runStart_; }
    ULONGLONG ElapsedMilliseconds() const;
    unsigned Failures() const noexcept { return failures_; }
    unsigned StepsSkipped() const noexcept;
    bool StepOpen() const noexcept { return stepOpen_; }

private:
    std::vector<StepRecord> steps_;
    std::vector<ChildRecord> childrenOutsideSteps_;
    std::map<std::string, ULONGLONG> originalSizes_;
    SYSTEMTIME runStart_{};
    ULONGLONG runStartTick_ = 0;
    ULONGLONG stepStartTick_ = 0;
    bool stepOpen_ = false;
    unsigned failures_ = 0;
};
