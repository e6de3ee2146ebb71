// Row actions of the capture step table that copy files or dump data.
#include "common/text/Format.h"
#include "dialog/CULVIXDlg.h"
#include "regdump/CRegInfo.h"
#include "run/RedirectionOff.h"
#include "run/StepActions.h"

namespace step_actions {

namespace {

// A trace is captured with its rotated siblings: every file whose name starts with the
// trace file's name.
void CaptureTraceFiles(CULVIXDlg& dialog, const std::string& tracePath, const std::string& targetFolder) {
    size_t slash = tracePath.find_last_of('\\');
    // A trace path without a folder would search the root of the current drive.
    std::string folder = slash == std::string::npos ? std::string(".") : tracePath.substr(0, slash);
    std::string name = slash == std::string::npos ? tracePath : tracePath.substr(slash + 1);
    name += "*";
    dialog.GrabMultipleFiles(folder, name, targetFolder);
}

void CaptureEventLogTwice(CULVIXDlg& dialog, const char* logName, const std::string& folder, const char* prefix,
                          const char* sourcesKey) {
    std::string backup = folder + prefix;
    backup += "_Events.evt";
    std::string text = folder + prefix;
    text += "_Events.log";
    dialog.CaptureEventLog(logName, backup, 2, "");
    dialog.CaptureEventLog(logName, text, 0, sourcesKey);
}

}  // namespace

void StopBootLogging(CULVIXDlg& dialog, const char*) { dialog.RunCommand(text::Format("%s", "stop_wpp_ssn.cmd")); }

void CopySetupLogs(CULVIXDlg& dialog, const char*) {
    dialog.GrabFile(dialog.paths.setupLog, dialog.run.setupLogTarget, 0);
    if (dialog.os.isVersion6)
        dialog.GrabMultipleFiles(dialog.folders.windowsDirectory + "\\INF", "setupapi*.log",
                                 dialog.run.osFolder + "\\");
}

void CaptureClusterLog(CULVIXDlg& dialog, const char*) {
    if (!dialog.os.isVersion6) {
        dialog.GrabFile(dialog.detection.clusterLogPath, dialog.run.clusterLogTarget, 0);
        return;
    }
    RedirectionOff redirection(dialog.os.isWow64);
    dialog.RunCommand(text::Format("%s %s %d", "get_foc_logs.cmd", dialog.run.osFolder.c_str(),
                                   dialog.os.isVersion62Or63 ? 1 : 0));
}

void CaptureOkapoTraces(CULVIXDlg& dialog, const char*) {
    CaptureTraceFiles(dialog, dialog.detection.okapoTracePath, dialog.run.okapoTraceTargetFolder);
}

void CaptureConsoleTraces(CULVIXDlg& dialog, const char*) {
    CaptureTraceFiles(dialog, dialog.detection.yebTracePath, dialog.run.consoleTraceTargetFolder);
}

void CaptureApplicationEventLog(CULVIXDlg& dialog, const char*) {
    CaptureEventLogTwice(dialog, "Application", dialog.run.appEventLogFolder, "APP",
                         "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\");
}

void CaptureSystemEventLog(CULVIXDlg& dialog, const char*) {
    CaptureEventLogTwice(dialog, "System", dialog.run.systemEventLogFolder, "SYS",
                         "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System\\");
}

void DumpRegistry(CULVIXDlg& dialog, const char*) {
    CRegInfo registry(dialog.run.registryDumpPath);
    registry.DumpFromList();
}

void CaptureMultipathInformation(CULVIXDlg& dialog, const char*) {
    dialog.CaptureQzUtils(dialog.paths.flxInfoTool, " -x", dialog.paths.flxInfoOutputName, dialog.run.flxInfoTarget,
                          1, INFINITE);
    dialog.CaptureMPIOInfo();
}

void CaptureProviders(CULVIXDlg& dialog, const char*) {
    if (dialog.detection.productMajorVersion == 5)
        dialog.CaptureQzUtils(dialog.paths.productProvidersTool, "", dialog.paths.productProvidersReportName,
                              dialog.run.productProvidersReportTarget, 1, INFINITE);
    else
        dialog.CaptureQzUtils(dialog.paths.providersTool, "", dialog.paths.providersReportName,
                              dialog.run.providersReportTarget, 1, INFINITE);
}

void CaptureVdsLogs(CULVIXDlg& dialog, const char*) {
    dialog.GrabFile(dialog.paths.vdsLog, dialog.run.vdsLogTarget, 0);
    dialog.GrabFile(dialog.paths.qzVdsProviderLog, dialog.run.qzVdsProviderLogTarget, 0);
}

void CaptureVersions(CULVIXDlg& dialog, const char*) {
    // With the MPS report chosen the versions are in its cabinet already.
    if (dialog.options.mpsReports) return;
    dialog.EnsureSubFolder(dialog.run.osFolder, "OS");
    {
        RedirectionOff redirection(dialog.os.isWow64);
        dialog.ListVersions("SYSTEM32_EXE_VER.TXT", "\\*.exe");
        dialog.ListVersions("SYSTEM32_DLL_VER.TXT", "\\*.dll");
        dialog.ListVersions("SYSTEM32_SYS_VER.TXT", "\\drivers\\*.sys");
    }
    dialog.EnsureSubFolder(dialog.run.vmFolder, "VM");
    dialog.CaptureKDXFileInfo();
}

}  // namespace step_actions
