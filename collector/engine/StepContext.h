#pragma once
// What one capture step works with: the run's facts, read-only (they are frozen once the target
// paths are set), its own log and record, and the services the steps share. Steps that run
// beside each other share nothing else, so a capture is a function of its context.
#include <cstdarg>
#include <map>
#include <set>
#include <string>

#include "engine/CollectionState.h"
#include "engine/Options.h"
#include "engine/ReportSink.h"
#include "engine/RunFolderFiles.h"
#include "engine/RunRecord.h"
#include "engine/StepServices.h"

// The facts of a run that its steps read.
struct RunFacts {
    const OptionFlags& options;
    const OsFacts& os;
    const MachineFolders& folders;
    const FixedPaths& paths;
    const DetectionResults& detection;
    const RunPaths& run;
    const UnattendedRun& unattended;
};

// The facts are the context's own members (context.run, context.options, ...).
class StepContext final : public ReportSink, public RunFacts {
public:
    StepContext(const RunFacts& facts, StepServices& services, int row, const char* name, bool carriedOut);
    StepContext(const StepContext&) = delete;
    StepContext& operator=(const StepContext&) = delete;

    StepServices& services;
    FreeSpaceFloor& floor;
    RunPlan* const plan;

    // ReportSink: the entries go to the step's output under its row, the items to its record.
    void LogReport(const char* format, ...) override __attribute__((format(gnu_printf, 2, 3)));
    void LogFailure(const char* format, ...) override __attribute__((format(gnu_printf, 2, 3)));
    void ItemDone() override { ++record_.itemsDone; }
    void ItemLost(StepProblem problem) override { record_.problems.push_back(std::move(problem)); }
    void ReportWrite(const disk::WriteOutcome& outcome, bool creationFailureSaid = false) override;
    void KeepChild(ChildRecord child) override;
    bool FirstChildOutsideAJob() override { return services.FirstChildOutsideAJob(); }

    // The status line while this step works.
    void SetStatusText(const char* text);
    // A file the floor kept from being copied.
    void NotCopied(NotCopiedFile file) { record_.notCopied.push_back(std::move(file)); }
    // A copy cut to its newest part, with the size of its source.
    void CutFile(const std::string& relativePath, ULONGLONG originalSize) { cutFiles_[relativePath] = originalSize; }
    // A file this step wrote or moved into the run folder (a path outside it is not kept).
    void Produced(const std::string& path);
    // Every file below `folder` of the run folder that is not in `before` as it was: what a
    // tool left in a folder given to it (engine/FolderWatch.h).
    void ProducedIn(const std::string& folder, const std::vector<RunFolderFile>& before);

    int Row() const noexcept { return record_.row; }
    // The record as the step leaves it: its clock stopped, its files in path order.
    StepRecord Finish();
    const std::map<std::string, ULONGLONG>& CutFiles() const noexcept { return cutFiles_; }

private:
    void WriteEntry(bool failure, const char* format, va_list arguments) __attribute__((format(gnu_printf, 3, 0)));

    StepRecord record_;
    std::set<std::string> produced_;
    std::map<std::string, ULONGLONG> cutFiles_;
    ULONGLONG startTick_ = 0;
};
