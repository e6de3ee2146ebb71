#pragma once
#include <windows.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "common/disk/FreeSpaceFloor.h"
#include "engine/CollectionState.h"
#include "engine/ExitStatus.h"
#include "engine/OsVersion.h"
#include "engine/Options.h"
#include "engine/Redaction.h"
#include "engine/ReportSink.h"
#include "engine/RunFolderFiles.h"
#include "engine/RunPlan.h"
#include "engine/RunRecord.h"
#include "engine/RunView.h"
#include "engine/ReportEntry.h"
#include "engine/StepContext.h"

namespace console {
class ConsoleWriter;
}  // namespace console

// One collection: its state as plain data, and the operations of a run on it. It needs no
// window: a view (the main dialog, or none in a silent run) shows its boxes, status and
// progress and gives back what the user chose. The operations of a run on it are functions in
// the folder of their subsystem (probes/CollectionProbes.h, report/CollectionReport.h,
// run/CollectionRun.h, manifest/RunManifest.h, redact/RunRedaction.h). The capture steps do not
// work on it: each works on a context of its own (engine/StepContext.h), made from its facts.
class Collection : public ReportSink {
public:
    Collection();
    ~Collection() override;
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    // The view that shows this collection from now on; the silent one when it goes.
    void Show(RunView& view) noexcept { view_ = &view; }
    void StopShowing() noexcept { view_ = &silentView_; }
    RunView& View() const noexcept { return *view_; }
    // Cancel: the report is closed and deleted; nothing was collected.
    void DiscardReport();
    // The problem's date and time start as now.
    void SetProblemTimeToNow();

    // Report log
    void LogReport(const char* format, ...) override __attribute__((format(gnu_printf, 2, 3)));
    void LogFailure(const char* format, ...) override __attribute__((format(gnu_printf, 2, 3)));
    void ItemDone() override;
    void ItemLost(StepProblem problem) override;
    void ReportWrite(const disk::WriteOutcome& outcome, bool creationFailureSaid = false) override;
    void KeepChild(ChildRecord child) override { record.AddChild(std::move(child)); }
    bool FirstChildOutsideAJob() override { return record.FirstChildOutsideAJob(); }
    // A failure line of the run's own (outside the steps): counted, and on the console.
    void KeepFailureLine(const std::string& line);
    // The status line and its console line, numbered by the progress mark being worked on.
    void SetStatusText(const char* text);
    void StepProgress();

    // Where the run folder goes when the share is not used: the folder chosen, else the home drive.
    const std::string& LocalRoot() const noexcept {
        return entries.destinationFolder.empty() ? folders.homeDrive : entries.destinationFolder;
    }
    // What the capture steps read of the run, once the target paths are set.
    RunFacts Facts() const noexcept { return {options, os, folders, paths, detection, run, unattended}; }

    OptionFlags options;
    std::vector<BoxState> boxes;  // one per row of the option table
    EntryFields entries;
    OsFacts os;
    MachineFolders folders;
    FixedPaths paths;
    DetectionResults detection;
    RunPaths run;
    ReportLogState report;
    std::string programVersion;
    UnattendedRun unattended;
    RedactionState redaction;
    // The free space the run leaves on the volumes it writes to; "reserve=" as set now.
    FreeSpaceFloor floor{unattended.reserveMiB};
    RunRecord record;
    // Progress marks passed; the run has kRunProgressSteps.
    int progressSteps = 0;
    // Progress, failure and summary lines go here; nullptr: nowhere.
    console::ConsoleWriter* console = nullptr;
    // How the run ended, for the program's exit status (an ExitStatus value).
    int exitStatus = kExitCancelled;

    static constexpr const char* kMessageCaption = kReportBoxCaption;

private:
    void WriteEntry(bool failure, const char* format, va_list arguments) __attribute__((format(gnu_printf, 3, 0)));

    RunView silentView_;
    RunView* view_ = &silentView_;
};
