// The whole collection: what OK starts in the dialog, and what a silent run does.
#include "common/profile/SectionTimer.h"
#include "common/text/Format.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/WholeFileTransfer.h"
#include "console/ConsoleWriter.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"
#include "probes/CollectionProbes.h"
#include "engine/StepProblems.h"
#include "framework/MessageBoxes.h"
#include "resources/resource.h"
#include "run/IncidentNumber.h"
#include "run/ResultFile.h"
#include "run/RoomToPack.h"
#include "run/StepCoordinator.h"
#include "report/CollectionReport.h"
#include "run/CollectionRun.h"
#include "manifest/RunManifest.h"
#include "redact/RunRedaction.h"

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

bool AcceptIncidentNumber(Collection& collection) {
    if (IsValidIncidentNumber(collection.entries.incidentNumber)) return true;
    ::MessageBeep(MB_ICONEXCLAMATION);
    framework::ShowMessageBox(collection.View().BoxOwner(), framework::LoadResourceString(IDS_INVALID_INCIDENT), "Zeltrin",
                              MB_OK | MB_ICONEXCLAMATION);
    collection.exitStatus = kExitIncidentRefused;
    return false;
}

void RunCollection(Collection& collection) {
    ZELTRIN_PROFILE_SECTION("collection run");
    collection.record.StartRun();
    // The report is moved in beside the closing records at the end: a copy onto another volume.
    collection.floor.HoldBackForClosing([&collection](unsigned files) {
        std::lock_guard<std::mutex> lock(collection.report.guard);
        return kClosingRecordsBytes + kClosingBytesPerFile * files + kClosingBytesPerFailure * collection.record.Failures() +
               collection.report.file.Bytes();
    });
    ReadServerCore(collection.os.isServerCore);
    collection.View().ReadBack(collection);

    if (!AcceptIncidentNumber(collection)) return;
    collection.run.bugFolderNumber = collection.entries.incidentNumber;

    bool placed = false;
    if (!collection.unattended.noShare) {
        collection.run.runFolder = collection.run.networkShareRoot + collection.run.bugFolderNumber + "\\";
        if (collection.redaction.requested) collection.run.machineFolderName = ComputerStandIn(collection);
        // The share is only a first try: what fails there is not a failure of the run.
        collection.report.countFailures = false;
        placed = CreateTargetFolder(collection) != 0;
        collection.report.countFailures = true;
    }
    if (!placed) {
        collection.run.machineFolderName.clear();
        collection.run.runFolder = collection.LocalRoot() + collection.run.bugFolderNumber + "\\";
        if (!CreateTargetFolder(collection)) {
            collection.LogFailure("FATAL: failed to create %s", collection.run.runFolder.c_str());
            collection.exitStatus = kExitNoRunFolder;
            return;
        }
        collection.run.runRoot = collection.LocalRoot();
    } else {
        collection.run.runRoot = collection.run.networkShareRoot;
    }
    // Whoever watches an unattended run learns at once where its logs go, and why.
    if (collection.console != nullptr)
        collection.console->WriteLine(text::Format("Run root: %s (%s)", collection.run.runRoot.c_str(),
                                        placed                ? "the support share"
                                        : collection.unattended.noShare ? "local: noshare"
                                                             : "local: the support share could not be used"));
    AssignTargetPaths(collection);
    ReportDlgState(collection);

    collection.View().ShowRunStarted();
    collection.StepProgress();

    RunCaptureSteps(collection);

    // The packaging command runs after the report is closed; a command that would be refused
    // is said so while the report can still take the line.
    const std::string packagingCommand =
        text::Format("%s %s %s %s %s %s %d", "qzcab.cmd", collection.run.runFolder.c_str(), collection.folders.systemDirectory.c_str(),
                     collection.run.bugFolderNumber.c_str(), collection.options.deleteAfterCompress ? "YES" : "NO", collection.run.timeStamp.c_str(),
                     collection.os.isServerCore);
    const bool packagingFits = !collection.options.compress || ChildrenOf(collection).CommandLineFits(packagingCommand);
    if (!packagingFits) ChildrenOf(collection).RecordRefused(packagingCommand);
    // Decided now for the same reason; the closing records still to come are packed too, and the
    // room held back for them counts.
    const bool packagingRoom = !collection.options.compress || !packagingFits || RoomToPack(collection, collection.floor, collection.run.runFolder, packagingCommand);

    ReportTimeInformation(collection);
    // The report travels redacted: it names the map by its file name only.
    if (collection.redaction.requested) {
        collection.redaction.keptBeside =
            placed ? collection.LocalRoot() + collection.run.bugFolderNumber + "\\" + collection.folders.nodeName + "\\" + collection.run.timeStamp : collection.run.runFolder;
        const std::string map = RedactionMapPath(collection.redaction.keptBeside);
        if (placed)
            collection.LogReport("Redacted: the names behind the stand-ins are kept on this machine in %s; that file is not packed",
                      map.c_str());
        else
            collection.LogReport("Redacted: the names behind the stand-ins are kept beside the run folder in %s; that file is not packed",
                      map.substr(map.find_last_of('\\') + 1).c_str());
    }
    collection.LogReport("ULVIX - Done!");
    collection.exitStatus = kExitDone;
    collection.report.file.Close();
    // A move onto a full drive must not leave an empty report in the run folder beside the
    // complete one that stays here.
    if (MoveReport(collection) != 0) {
        framework::ShowMessageBox(collection.View().BoxOwner(),
                                  text::Format(framework::LoadResourceString(IDS_REPORT_MOVE_FAILED).c_str(),
                                               collection.report.fileName.c_str(), collection.report.destination.c_str()),
                                  collection.kMessageCaption, MB_OK | MB_ICONERROR);
    }
    collection.StepProgress();

    // The report is closed by now: what could not be redacted or written reaches the user
    // through the console and the run's failure count only.
    auto countFailures = [&collection](const std::vector<std::string>& failures) {
        for (const std::string& failure : failures) collection.KeepFailureLine(failure);
    };
    if (collection.redaction.requested) countFailures(RedactRunFolder(collection));
    countFailures(WriteRunManifest(collection));
    countFailures(KeepRedactionMap(collection));
    // Counted with the manifest files, before the cabinet list is written and before
    // packaging may delete them.
    const std::vector<RunFolderFile> collected =
        collection.console != nullptr ? ListRunFolderFiles(collection.run.runFolder) : std::vector<RunFolderFile>();

    if (collection.options.compress) {
        ZELTRIN_PROFILE_SECTION("packaging");
        collection.SetStatusText("Packaging all the logs files ...");
        // qzcab.cmd names the cabinet after the machine folder unless it is given a stand-in.
        if (collection.redaction.done) ::SetEnvironmentVariableA("ZELTRIN_CABINET_NODE", collection.redaction.cabinetNode.c_str());
        // A list that is not whole would pack, and with "Delete after compress" delete, only part.
        const DWORD listError = WriteCabList(collection);
        // The closing records are written: the packing may use what was held back for them.
        collection.floor.HoldBackForClosing(nullptr);
        if (listError != 0 && packagingFits && packagingRoom) ChildrenOf(collection).RecordRefused(packagingCommand, listError);
        if (listError == 0 && packagingFits && packagingRoom) ChildrenOf(collection).RunCommand(packagingCommand);
    } else {
        collection.SetStatusText("Skip packaging the logs files ...");
    }

    // Data the run could have had and lost (cut short, refused by the floor, ended at the time
    // limit) is said by the exit status too, for whoever runs it unattended.
    if (collection.exitStatus == kExitDone && collection.record.LostData()) collection.exitStatus = kExitDataLost;

    if (collection.os.isServerCore)
        framework::ShowMessageBox(collection.View().BoxOwner(), text::Format("The logs are located at %s", collection.run.runFolder.c_str()),
                                  "Zeltrin", MB_OK);
    WriteRunSummary(collection, collected);
    if (collection.redaction.done && collection.console != nullptr) {
        collection.console->WriteLine("Redaction map: " + collection.redaction.mappingFile);
        if (!collection.redaction.withheld.empty())
            collection.console->WriteLine(text::Format("Files withheld: %zu, in %s", collection.redaction.withheld.size(),
                                            collection.redaction.withheldFolder.c_str()));
    }
    // Last of all, so that it names every cabinet and the status the run ends with.
    const std::string resultLine = WriteResultFile(collection);
    if (collection.console != nullptr) collection.console->WriteLine(resultLine);
    // The fields were read back at the start; reading them again would show an overlong
    // number's length message a second time and leave a finished run's dialog open.
    collection.View().RunEnded();
}
