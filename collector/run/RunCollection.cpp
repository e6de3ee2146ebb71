// The whole collection: what OK starts in the dialog, and what a silent run does.
#include "common/profile/SectionTimer.h"
#include "common/text/Format.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/WholeFileTransfer.h"
#include "console/ConsoleWriter.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"
#include "engine/StepProblems.h"
#include "framework/MessageBoxes.h"
#include "resources/resource.h"
#include "run/IncidentNumber.h"
#include "run/ResultFile.h"
#include "run/RoomToPack.h"
#include "run/StepCoordinator.h"

namespace {

// The room the closing records keep for themselves: the fixed parts of the manifest, the summary
// page and their step records; per file the manifest's, the page's, the sums' and the cabinet
// list's line (a path of up to 260 characters in each, a hash, a size); per failure line its
// text and its reasons in the manifest and on the page.
constexpr ULONGLONG kClosingRecordsBytes = 256 * 1024;
constexpr ULONGLONG kClosingBytesPerFile = 2048;
constexpr ULONGLONG kClosingBytesPerFailure = 3072;

// "Server Core" in the installation type; the flag keeps its value when it cannot be read.
void ReadServerCore(int& isServerCore) {
    win32::UniqueRegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_QUERY_VALUE,
                        key.put()) != ERROR_SUCCESS)
        return;
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (::RegQueryValueExA(key.get(), "InstallationType", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return;
    isServerCore = ::lstrcmpiA(value, "Server Core") == 0 ? 1 : 0;
}

// The report's move into the run folder: a rename on one volume; onto another a copy, which the
// floor must allow like every closing record. 0, or why it stays where it is.
DWORD MoveReport(Collection& collection) {
    const std::string& source = collection.report.fileName;
    const std::string& target = collection.report.destination;
    if (::MoveFileExA(source.c_str(), target.c_str(), 0)) return 0;
    if (::GetLastError() != ERROR_NOT_SAME_DEVICE) return ::GetLastError();
    const ULONGLONG bytes = collection.report.file.Bytes();
    if (std::optional<VolumeSpace> low = collection.floor.ClosingShortfall(FolderOf(target), bytes)) {
        const std::string line = text::Format("Not moved: %s (%llu bytes) would leave less than %u MiB free on %s!!!",
                                              source.c_str(), bytes, low->floorMiB, low->volume.c_str());
        collection.KeepFailureLine(line);
        collection.record.AddProblem(ProblemOf(kBelowFloorError, source));
        return kBelowFloorError;
    }
    return win32::MoveWholeFile(source, target) ? 0 : ::GetLastError();
}

}  // namespace

bool Collection::AcceptIncidentNumber() {
    if (IsValidIncidentNumber(entries.incidentNumber)) return true;
    ::MessageBeep(MB_ICONEXCLAMATION);
    framework::ShowMessageBox(View().BoxOwner(), framework::LoadResourceString(IDS_INVALID_INCIDENT), "Zeltrin",
                              MB_OK | MB_ICONEXCLAMATION);
    exitStatus = kExitIncidentRefused;
    return false;
}

void Collection::RunCollection() {
    ZELTRIN_PROFILE_SECTION("collection run");
    record.StartRun();
    // The report is moved in beside the closing records at the end: a copy onto another volume.
    floor.HoldBackForClosing([this](unsigned files) {
        std::lock_guard<std::mutex> lock(report.guard);
        return kClosingRecordsBytes + kClosingBytesPerFile * files + kClosingBytesPerFailure * record.Failures() +
               report.file.Bytes();
    });
    ReadServerCore(os.isServerCore);
    View().ReadBack(*this);

    if (!AcceptIncidentNumber()) return;
    run.bugFolderNumber = entries.incidentNumber;

    bool placed = false;
    if (!unattended.noShare) {
        run.runFolder = run.networkShareRoot + run.bugFolderNumber + "\\";
        if (redaction.requested) run.machineFolderName = ComputerStandIn();
        // The share is only a first try: what fails there is not a failure of the run.
        report.countFailures = false;
        placed = CreateTargetFolder() != 0;
        report.countFailures = true;
    }
    if (!placed) {
        run.machineFolderName.clear();
        run.runFolder = LocalRoot() + run.bugFolderNumber + "\\";
        if (!CreateTargetFolder()) {
            LogFailure("FATAL: failed to create %s", run.runFolder.c_str());
            exitStatus = kExitNoRunFolder;
            return;
        }
        run.runRoot = LocalRoot();
    } else {
        run.runRoot = run.networkShareRoot;
    }
    // Whoever watches an unattended run learns at once where its logs go, and why.
    if (console != nullptr)
        console->WriteLine(text::Format("Run root: %s (%s)", run.runRoot.c_str(),
                                        placed                ? "the support share"
                                        : unattended.noShare ? "local: noshare"
                                                             : "local: the support share could not be used"));
    AssignTargetPaths();
    ReportDlgState();

    View().ShowRunStarted();
    StepProgress();

    RunCaptureSteps(*this);

    // The packaging command runs after the report is closed; a command that would be refused
    // is said so while the report can still take the line.
    const std::string packagingCommand =
        text::Format("%s %s %s %s %s %s %d", "qzcab.cmd", run.runFolder.c_str(), folders.systemDirectory.c_str(),
                     run.bugFolderNumber.c_str(), options.deleteAfterCompress ? "YES" : "NO", run.timeStamp.c_str(),
                     os.isServerCore);
    const bool packagingFits = !options.compress || ChildrenOf(*this).CommandLineFits(packagingCommand);
    if (!packagingFits) ChildrenOf(*this).RecordRefused(packagingCommand);
    // Decided now for the same reason; the closing records still to come are packed too, and the
    // room held back for them counts.
    const bool packagingRoom = !options.compress || !packagingFits || RoomToPack(*this, floor, run.runFolder, packagingCommand);

    ReportTimeInformation();
    // The report travels redacted: it names the map by its file name only.
    if (redaction.requested) {
        redaction.keptBeside =
            placed ? LocalRoot() + run.bugFolderNumber + "\\" + folders.nodeName + "\\" + run.timeStamp : run.runFolder;
        const std::string map = RedactionMapPath(redaction.keptBeside);
        if (placed)
            LogReport("Redacted: the names behind the stand-ins are kept on this machine in %s; that file is not packed",
                      map.c_str());
        else
            LogReport("Redacted: the names behind the stand-ins are kept beside the run folder in %s; that file is not packed",
                      map.substr(map.find_last_of('\\') + 1).c_str());
    }
    LogReport("ULVIX - Done!");
    exitStatus = kExitDone;
    report.file.Close();
    // A move onto a full drive must not leave an empty report in the run folder beside the
    // complete one that stays here.
    if (MoveReport(*this) != 0) {
        framework::ShowMessageBox(View().BoxOwner(),
                                  text::Format(framework::LoadResourceString(IDS_REPORT_MOVE_FAILED).c_str(),
                                               report.fileName.c_str(), report.destination.c_str()),
                                  kMessageCaption, MB_OK | MB_ICONERROR);
    }
    StepProgress();

    // The report is closed by now: what could not be redacted or written reaches the user
    // through the console and the run's failure count only.
    auto countFailures = [this](const std::vector<std::string>& failures) {
        for (const std::string& failure : failures) KeepFailureLine(failure);
    };
    if (redaction.requested) countFailures(RedactRunFolder());
    countFailures(WriteRunManifest());
    countFailures(KeepRedactionMap());
    // Counted with the manifest files, before the cabinet list is written and before
    // packaging may delete them.
    const std::vector<RunFolderFile> collected =
        console != nullptr ? ListRunFolderFiles(run.runFolder) : std::vector<RunFolderFile>();

    if (options.compress) {
        ZELTRIN_PROFILE_SECTION("packaging");
        SetStatusText("Packaging all the logs files ...");
        // qzcab.cmd names the cabinet after the machine folder unless it is given a stand-in.
        if (redaction.done) ::SetEnvironmentVariableA("ZELTRIN_CABINET_NODE", redaction.cabinetNode.c_str());
        // A list that is not whole would pack, and with "Delete after compress" delete, only part.
        const DWORD listError = WriteCabList();
        // The closing records are written: the packing may use what was held back for them.
        floor.HoldBackForClosing(nullptr);
        if (listError != 0 && packagingFits && packagingRoom) ChildrenOf(*this).RecordRefused(packagingCommand, listError);
        if (listError == 0 && packagingFits && packagingRoom) ChildrenOf(*this).RunCommand(packagingCommand);
    } else {
        SetStatusText("Skip packaging the logs files ...");
    }

    // Data the run could have had and lost (cut short, refused by the floor, ended at the time
    // limit) is said by the exit status too, for whoever runs it unattended.
    if (exitStatus == kExitDone && record.LostData()) exitStatus = kExitDataLost;

    if (os.isServerCore)
        framework::ShowMessageBox(View().BoxOwner(), text::Format("The logs are located at %s", run.runFolder.c_str()),
                                  "Zeltrin", MB_OK);
    WriteRunSummary(collected);
    if (redaction.done && console != nullptr) {
        console->WriteLine("Redaction map: " + redaction.mappingFile);
        if (!redaction.withheld.empty())
            console->WriteLine(text::Format("Files withheld: %zu, in %s", redaction.withheld.size(),
                                            redaction.withheldFolder.c_str()));
    }
    // Last of all, so that it names every cabinet and the status the run ends with.
    const std::string resultLine = WriteResultFile(*this);
    if (console != nullptr) console->WriteLine(resultLine);
    // The fields were read back at the start; reading them again would show an overlong
    // number's length message a second time and leave a finished run's dialog open.
    View().RunEnded();
}
