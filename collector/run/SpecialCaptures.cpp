// Row actions of the capture step table that start the product's tools and command files.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "capture/Captures.h"
#include "engine/FolderWatch.h"
#include "engine/StepContext.h"
#include "probes/Probes.h"
#include "run/CaptureStep.h"
#include "run/Packaging.h"
#include "engine/ErrorText.h"
#include "run/RedirectionOff.h"
#include "run/StepActions.h"

namespace step_actions {

namespace {

// The run folder exists at this point; a creation that fails for any other reason than
// that means its volume went away, and the tools would have nowhere to write.
bool RunFolderIsThere(StepContext& context) {
    if (context.plan != nullptr || ::CreateDirectoryA(context.run.runFolder.c_str(), nullptr)) return true;
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return true;
    context.LogReport("%s - %s", GetErrorText(error).c_str(), context.run.runFolder.c_str());
    return false;
}

// False, after the report line, when the tool had nowhere to write.
bool CaptureSnapshot(StepContext& context, const std::string& tool, const std::string& targetFolder) {
    if (!RunFolderIsThere(context)) return false;
    std::string arguments = text::Format("\"%s\" -o \"%s\"", tool.c_str(), context.run.runFolder.c_str());
    CaptureQzUtils(context, tool, arguments, "", targetFolder, 1, INFINITE);
    return true;
}

// Sub-folders the step table makes itself; a failure is only written down, the copies or
// tools that follow then fail on their own and say so.
void MakeSubFolder(StepContext& context, const std::string& path, const char* failureFormat) {
    if (context.plan == nullptr && !::CreateDirectoryA(path.c_str(), nullptr))
        context.LogFailure(failureFormat, path.c_str());
}

}  // namespace

void CaptureQzDiag(StepContext& context, const char*) {
    context.LogReport("Start - Capturing QzDiag Information ...");
    std::string command =
        text::Format("%s >> %s", context.paths.qzdiagTool.c_str(), context.run.qzdiagTarget.c_str());
    context.LogReport("QzDiag App: %s", process::ChildRunner::ShownCommand(command).c_str());
    context.LogReport("QzDiag Target Folder Name: %s", context.run.qzdiagTarget.c_str());
    ChildrenOf(context).RunQuotedCommand(command);
    context.LogReport("Finish - Capturing QzDiag Information");
}

void CaptureBootLogs(StepContext& context, const char*) {
    context.LogReport("Start - Capturing WPP Boot Logs ...");
    // Where the boot logs go is the command file's to decide: the row runs alone, so whatever
    // appears in the run folder meanwhile is theirs.
    FolderWatch watch(context, context.run.runFolder);
    {
        RedirectionOff redirection(context.os.isWow64);
        ChildrenOf(context).RunCommand(text::Format("%s", "get_wpp_logs.cmd"));
    }
    context.LogReport("Finish - Capturing WPP Boot Logs ...");
    context.SetStatusText("Starting WPP Boot log ...");
    ChildrenOf(context).RunCommand("start_wpp_ssn.cmd");
}

void CaptureClusterSnapshot(StepContext& context, const char*) {
    FolderWatch watch(context, context.run.runFolder);
    if (!CaptureSnapshot(context, context.detection.clusterSnapshotToolPath, context.run.clusterSnapshotFolder)) return;
    ChildrenOf(context).RunCommand(text::Format("%s %s ", "get_ha_filever.cmd", context.run.runFolder.c_str()));
    PackageHALogs(context, context.os.isServerCore);
}

void CaptureWltSnapshot(StepContext& context, const char*) {
    CaptureSnapshot(context, context.detection.wltSnapshotToolPath, context.run.wltSnapshotFolder);
}

void CaptureInstallerDiagnostics(StepContext& context, const char* capturingText) {
    MakeSubFolder(context, context.run.ruqFolder, "Failed to create RUQ folder %s");
    context.SetStatusText(capturingText);
    std::string diagnostics = context.paths.ruqDiagTool + " " + context.run.ruqFolder;
    diagnostics += " /silent";
    FolderWatch watch(context, context.run.ruqFolder);
    CaptureQzUtils(context, context.paths.ruqDiagTool, diagnostics, "", "", 0, INFINITE);
    CaptureQzUtils(context, context.paths.ruqDumpTool, context.paths.ruqDumpTool + " " + context.run.ruqFolder, "", "", 0,
                          INFINITE);
}

void CaptureCommunicationLogs(StepContext& context, const char* capturingText) {
    // The folder keeps what the NLD/WKE row read when the value is missing now.
    std::string managementServerFolder = context.services.ManagementServerFolder();
    IsPathExistsInRegistry(context, "SOFTWARE\\TOBRIN\\NLDH\\quintl", "Installdir", managementServerFolder, 0);
    context.SetStatusText(capturingText);
    if (!RunFolderIsThere(context)) return;
    FolderWatch watch(context, context.run.commsLogFolder + "\\TEJ");
    ChildrenOf(context).RunCommand(text::Format("\"\"%sbin\\perl\" \"%s\" -local -d %s\\TEJ\"",
                                   managementServerFolder.c_str(), context.paths.linkgrabScript.c_str(),
                                   context.run.commsLogFolder.c_str()));
}

void CaptureLicences(StepContext& context, const char* capturingText) {
    MakeSubFolder(context, context.run.licencesTargetFolder, "Failed to create Licenses folder %s");
    context.SetStatusText(capturingText);
    GrabMultipleFiles(context, context.detection.licenceFolder, "*.*", context.run.licencesTargetFolder);
}

void CapturePelorinLogs(StepContext& context, const char* capturingText) {
    MakeSubFolder(context, context.run.pelorinTargetFolder, "Failed to create PLR folder %s");
    context.SetStatusText(capturingText);
    GrabMultipleFiles(context, context.detection.pelorinLogFolder, "Log.Pelorin", context.run.pelorinTargetFolder);
    GrabMultipleFiles(context, context.detection.pelorinLogFolder, "Product.Inventory.Pelorin",
                             context.run.pelorinTargetFolder);
}

}  // namespace step_actions
