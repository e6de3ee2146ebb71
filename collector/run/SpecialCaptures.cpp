// Row actions of the capture step table that start the product's tools and command files.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"
#include "report/ErrorText.h"
#include "run/RedirectionOff.h"
#include "run/StepActions.h"

namespace step_actions {

namespace {

// The run folder exists at this point; a creation that fails for any other reason than
// that means its volume went away, and the tools would have nowhere to write.
bool RunFolderIsThere(Collection& collection) {
    if (collection.plan != nullptr || ::CreateDirectoryA(collection.run.runFolder.c_str(), nullptr)) return true;
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return true;
    collection.LogReport("%s - %s", GetErrorText(error).c_str(), collection.run.runFolder.c_str());
    return false;
}

// False, after the report line, when the tool had nowhere to write.
bool CaptureSnapshot(Collection& collection, const std::string& tool, const std::string& targetFolder) {
    if (!RunFolderIsThere(collection)) return false;
    std::string arguments = text::Format("\"%s\" -o \"%s\"", tool.c_str(), collection.run.runFolder.c_str());
    collection.CaptureQzUtils(tool, arguments, "", targetFolder, 1, INFINITE);
    return true;
}

// Sub-folders the step table makes itself; a failure is only written down, the copies or
// tools that follow then fail on their own and say so.
void MakeSubFolder(Collection& collection, const std::string& path, const char* failureFormat) {
    if (collection.plan == nullptr && !::CreateDirectoryA(path.c_str(), nullptr))
        collection.LogFailure(failureFormat, path.c_str());
}

}  // namespace

void CaptureQzDiag(Collection& collection, const char*) {
    collection.LogReport("Start - Capturing QzDiag Information ...");
    std::string command =
        text::Format("%s >> %s", collection.paths.qzdiagTool.c_str(), collection.run.qzdiagTarget.c_str());
    collection.LogReport("QzDiag App: %s", process::ChildRunner::ShownCommand(command).c_str());
    collection.LogReport("QzDiag Target Folder Name: %s", collection.run.qzdiagTarget.c_str());
    ChildrenOf(collection).RunQuotedCommand(command);
    collection.LogReport("Finish - Capturing QzDiag Information");
}

void CaptureBootLogs(Collection& collection, const char*) {
    collection.LogReport("Start - Capturing WPP Boot Logs ...");
    {
        RedirectionOff redirection(collection.os.isWow64);
        ChildrenOf(collection).RunCommand(text::Format("%s", "get_wpp_logs.cmd"));
    }
    collection.LogReport("Finish - Capturing WPP Boot Logs ...");
    collection.SetStatusText("Starting WPP Boot log ...");
    ChildrenOf(collection).RunCommand("start_wpp_ssn.cmd");
}

void CaptureClusterSnapshot(Collection& collection, const char*) {
    if (!CaptureSnapshot(collection, collection.detection.clusterSnapshotToolPath, collection.run.clusterSnapshotFolder)) return;
    ChildrenOf(collection).RunCommand(text::Format("%s %s ", "get_ha_filever.cmd", collection.run.runFolder.c_str()));
    collection.PackageHALogs(collection.os.isServerCore);
}

void CaptureWltSnapshot(Collection& collection, const char*) {
    CaptureSnapshot(collection, collection.detection.wltSnapshotToolPath, collection.run.wltSnapshotFolder);
}

void CaptureInstallerDiagnostics(Collection& collection, const char* capturingText) {
    MakeSubFolder(collection, collection.run.ruqFolder, "Failed to create RUQ folder %s");
    collection.SetStatusText(capturingText);
    std::string diagnostics = collection.paths.ruqDiagTool + " " + collection.run.ruqFolder;
    diagnostics += " /silent";
    collection.CaptureQzUtils(collection.paths.ruqDiagTool, diagnostics, "", "", 0, INFINITE);
    collection.CaptureQzUtils(collection.paths.ruqDumpTool, collection.paths.ruqDumpTool + " " + collection.run.ruqFolder, "", "", 0,
                          INFINITE);
}

void CaptureCommunicationLogs(Collection& collection, const char* capturingText) {
    // The folder keeps what an earlier read put there when the value is missing.
    collection.IsPathExistsInRegistry("SOFTWARE\\TOBRIN\\NLDH\\quintl", "Installdir", collection.run.managementServerFolder, 0);
    collection.SetStatusText(capturingText);
    if (!RunFolderIsThere(collection)) return;
    ChildrenOf(collection).RunCommand(text::Format("\"\"%sbin\\perl\" \"%s\" -local -d %s\\TEJ\"",
                                   collection.run.managementServerFolder.c_str(), collection.paths.linkgrabScript.c_str(),
                                   collection.run.commsLogFolder.c_str()));
}

void CaptureLicences(Collection& collection, const char* capturingText) {
    MakeSubFolder(collection, collection.run.licencesTargetFolder, "Failed to create Licenses folder %s");
    collection.SetStatusText(capturingText);
    collection.GrabMultipleFiles(collection.detection.licenceFolder, "*.*", collection.run.licencesTargetFolder);
}

void CapturePelorinLogs(Collection& collection, const char* capturingText) {
    MakeSubFolder(collection, collection.run.pelorinTargetFolder, "Failed to create PLR folder %s");
    collection.SetStatusText(capturingText);
    collection.GrabMultipleFiles(collection.detection.pelorinLogFolder, "Log.Pelorin", collection.run.pelorinTargetFolder);
    collection.GrabMultipleFiles(collection.detection.pelorinLogFolder, "Product.Inventory.Pelorin",
                             collection.run.pelorinTargetFolder);
}

}  // namespace step_actions
