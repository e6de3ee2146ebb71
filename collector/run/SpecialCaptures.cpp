// Row actions of the capture step table that start the product's tools and command files.
#include "common/text/Format.h"
#include "dialog/CULVIXDlg.h"
#include "report/ErrorText.h"
#include "run/RedirectionOff.h"
#include "run/StepActions.h"

namespace step_actions {

namespace {

// The run folder exists at this point; a creation that fails for any other reason than
// that means its volume went away, and the tools would have nowhere to write.
bool RunFolderIsThere(CULVIXDlg& dialog) {
    if (::CreateDirectoryA(dialog.run.runFolder.c_str(), nullptr)) return true;
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return true;
    dialog.LogReport("%s - %s", GetErrorText(error).c_str(), dialog.run.runFolder.c_str());
    return false;
}

// False, after the report line, when the tool had nowhere to write.
bool CaptureSnapshot(CULVIXDlg& dialog, const std::string& tool, const std::string& targetFolder) {
    if (!RunFolderIsThere(dialog)) return false;
    std::string arguments = text::Format("\"%s\" -o \"%s\"", tool.c_str(), dialog.run.runFolder.c_str());
    dialog.CaptureQzUtils(tool, arguments, "", targetFolder, 1, INFINITE);
    return true;
}

// Sub-folders the step table makes itself; a failure is only written down, the copies or
// tools that follow then fail on their own and say so.
void MakeSubFolder(CULVIXDlg& dialog, const std::string& path, const char* failureFormat) {
    if (!::CreateDirectoryA(path.c_str(), nullptr)) dialog.LogReport(failureFormat, path.c_str());
}

}  // namespace

void CaptureQzDiag(CULVIXDlg& dialog, const char*) {
    dialog.LogReport("Start - Capturing QzDiag Information ...");
    std::string command = text::Format("%s >> %s", dialog.paths.qzdiagTool.c_str(), dialog.run.qzdiagTarget.c_str());
    dialog.LogReport("QzDiag App: %s", CULVIXDlg::ShownCommand(command).c_str());
    dialog.LogReport("QzDiag Target Folder Name: %s", dialog.run.qzdiagTarget.c_str());
    dialog.RunQuotedCommand(command);
    dialog.LogReport("Finish - Capturing QzDiag Information");
}

void CaptureBootLogs(CULVIXDlg& dialog, const char*) {
    dialog.LogReport("Start - Capturing WPP Boot Logs ...");
    {
        RedirectionOff redirection(dialog.os.isWow64);
        dialog.RunCommand(text::Format("%s", "get_wpp_logs.cmd"));
    }
    dialog.LogReport("Finish - Capturing WPP Boot Logs ...");
    dialog.SetStatusText("Starting WPP Boot log ...");
    dialog.RunCommand("start_wpp_ssn.cmd");
}

void CaptureClusterSnapshot(CULVIXDlg& dialog, const char*) {
    if (!CaptureSnapshot(dialog, dialog.detection.clusterSnapshotToolPath, dialog.run.clusterSnapshotFolder)) return;
    dialog.RunCommand(text::Format("%s %s ", "get_ha_filever.cmd", dialog.run.runFolder.c_str()));
    dialog.PackageHALogs(dialog.os.isServerCore);
}

void CaptureWltSnapshot(CULVIXDlg& dialog, const char*) {
    CaptureSnapshot(dialog, dialog.detection.wltSnapshotToolPath, dialog.run.wltSnapshotFolder);
}

void CaptureInstallerDiagnostics(CULVIXDlg& dialog, const char* capturingText) {
    MakeSubFolder(dialog, dialog.run.ruqFolder, "Failed to create RUQ folder %s");
    dialog.SetStatusText(capturingText);
    std::string diagnostics = dialog.paths.ruqDiagTool + " " + dialog.run.ruqFolder;
    diagnostics += " /silent";
    dialog.CaptureQzUtils(dialog.paths.ruqDiagTool, diagnostics, "", "", 0, INFINITE);
    dialog.CaptureQzUtils(dialog.paths.ruqDumpTool, dialog.paths.ruqDumpTool + " " + dialog.run.ruqFolder, "", "", 0,
                          INFINITE);
}

void CaptureCommunicationLogs(CULVIXDlg& dialog, const char* capturingText) {
    // The folder keeps what an earlier read put there when the value is missing.
    dialog.IsPathExistsInRegistry("SOFTWARE\\TOBRIN\\NLDH\\quintl", "Installdir", dialog.run.managementServerFolder, 0);
    dialog.SetStatusText(capturingText);
    if (!RunFolderIsThere(dialog)) return;
    dialog.RunCommand(text::Format("\"\"%sbin\\perl\" \"%s\" -local -d %s\\TEJ\"",
                                   dialog.run.managementServerFolder.c_str(), dialog.paths.linkgrabScript.c_str(),
                                   dialog.run.commsLogFolder.c_str()));
}

void CaptureLicences(CULVIXDlg& dialog, const char* capturingText) {
    MakeSubFolder(dialog, dialog.run.licencesTargetFolder, "Failed to create Licenses folder %s");
    dialog.SetStatusText(capturingText);
    dialog.GrabMultipleFiles(dialog.detection.licenceFolder, "*.*", dialog.run.licencesTargetFolder);
}

void CapturePelorinLogs(CULVIXDlg& dialog, const char* capturingText) {
    MakeSubFolder(dialog, dialog.run.pelorinTargetFolder, "Failed to create PLR folder %s");
    dialog.SetStatusText(capturingText);
    dialog.GrabMultipleFiles(dialog.detection.pelorinLogFolder, "Log.Pelorin", dialog.run.pelorinTargetFolder);
    dialog.GrabMultipleFiles(dialog.detection.pelorinLogFolder, "Product.Inventory.Pelorin",
                             dialog.run.pelorinTargetFolder);
}

}  // namespace step_actions
