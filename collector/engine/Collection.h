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
struct CabinetFile;
}  // namespace console

// One collection: its state as plain data, and the operations of a run on it. It needs no
// window: a view (the main dialog, or none in a silent run) shows its boxes, status and
// progress and gives back what the user chose. The operations are defined in the folder of
// their subsystem (probes/, run/, report/, manifest/). The capture steps do not work on it: each
// works on a context of its own (engine/StepContext.h), made from the facts it freezes.
class Collection : public ReportSink {
public:
    Collection();
    ~Collection() override;
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    // Start-up: creates the report log in the current directory and writes its header,
    // with the version, folder and product probes and the fixed paths. Without the report
    // ("-list") the same probes run and nothing is written.
    void Start(OsVersionReader readOsVersion = ReadSystemOsVersion, bool withReport = true);
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
    void ReportDlgState();
    void ReportCheckBoxState(int controlId);
    void ReportTimeInformation();

    // Probes
    int IsQzSvcRunning(std::string serviceName);
    int DetectWow64();
    int IsZRXInstalled();
    void DetectMpsReportTool(std::string toolSubFolder);
    // The component detection: every box's start state, the probes' decisions on them,
    // their findings in the report, then the boxes shown.
    void Initialize();
    // Applies a detection decision to the box it names.
    void Apply(const BoxDecision& decision);
    // The box of an option by its control.
    BoxState& Box(int controlId);

    // Collection run
    void RunCollection();
    // A refused incident number is told with a beep and a box (a run's, and "-list"'s), and
    // ends the program with kExitIncidentRefused when no dialog stays open for another try.
    bool AcceptIncidentNumber();
    int CreateTargetFolder();
    // Where the run folder goes when the share is not used: the folder chosen, else the home drive.
    const std::string& LocalRoot() const noexcept {
        return entries.destinationFolder.empty() ? folders.homeDrive : entries.destinationFolder;
    }
    void AssignTargetPaths();
    // What the capture steps read of the run, once the target paths are set.
    RunFacts Facts() const noexcept { return {options, os, folders, paths, detection, run, unattended}; }
    // Hashes every file of the run folder and writes "MANIFEST.json" and "SHA256SUMS" into it.
    // Returns a failure line for each of the two that could not be written (it is then gone).
    std::vector<std::string> WriteRunManifest();
    // "redact": rewrites every text file of the run folder with stand-ins for the machine's
    // names, addresses and secrets and moves what is not text out, beside it. Returns a
    // failure line for each thing it could not do.
    std::vector<std::string> RedactRunFolder();
    // The computer name's stand-in, from the stand-ins of earlier runs: a redacted run's machine
    // folder on the share is named with it.
    std::string ComputerStandIn() const;
    // Keeps the stand-ins for later runs and writes this run's map beside the run folder.
    std::vector<std::string> KeepRedactionMap();
    // The status line and its console line, numbered by the progress mark being worked on.
    void SetStatusText(const char* text);
    void StepProgress();
    // The console's end of the run; `collected` are the run folder's files before packaging.
    void WriteRunSummary(const std::vector<RunFolderFile>& collected);
    std::vector<console::CabinetFile> CabinetsOfRun() const;

    // The run folder's cabinet list: 0 when whole, else the error that stopped the list.
    DWORD WriteCabList();

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
    void SetOsFacts(const OsVersionInfo& version);
    void SetFixedPaths();

    RunView silentView_;
    RunView* view_ = &silentView_;
};
