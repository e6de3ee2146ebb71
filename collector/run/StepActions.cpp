// Row actions of the capture step table that copy files or dump data.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "capture/Captures.h"
#include "engine/FolderWatch.h"
#include "engine/StepContext.h"
#include "run/CaptureStep.h"
#include "run/Packaging.h"
#include "eventlog/EventLogExport.h"
#include "regdump/CRegInfo.h"
#include "run/RedirectionOff.h"
#include "run/StepActions.h"

namespace step_actions {

namespace {

// A trace is captured with its rotated siblings: every file whose name starts with the
// trace file's name.
void CaptureTraceFiles(StepContext& context, const std::string& tracePath, const std::string& targetFolder) {
    size_t slash = tracePath.find_last_of('\\');
    // A trace path without a folder would search the root of the current drive.
    std::string folder = slash == std::string::npos ? std::string(".") : tracePath.substr(0, slash);
    std::string name = slash == std::string::npos ? tracePath : tracePath.substr(slash + 1);
    name += "*";
    GrabMultipleFiles(context, folder, name, targetFolder);
}

void CaptureEventLogTwice(StepContext& context, const char* logName, const std::string& folder, const char* prefix,
                          const char* sourcesKey) {
    std::string backup = folder + prefix;
    backup += "_Events.evt";
    std::string text = folder + prefix;
    text += "_Events.log";
    if (context.plan != nullptr) {
        context.plan->Writes(backup);
        context.plan->Writes(text);
        return;
    }
    EventLogExport exporter(context, context.floor);
    if (context.unattended.eventLogDays != 0) exporter.daysLimit = static_cast<int>(context.unattended.eventLogDays);
    exporter.CaptureEventLog(logName, backup, 2, "");
    exporter.CaptureEventLog(logName, text, 0, sourcesKey);
}

}  // namespace

void StopBootLogging(StepContext& context, const char*) { ChildrenOf(context).RunCommand(text::Format("%s", "stop_wpp_ssn.cmd")); }

void CopySetupLogs(StepContext& context, const char*) {
    GrabFile(context, context.paths.setupLog, context.run.setupLogTarget, 0);
    if (context.os.isVersion6)
        GrabMultipleFiles(context, context.folders.windowsDirectory + "\\INF", "setupapi*.log",
                                 context.run.osFolder + "\\");
}

void CaptureClusterLog(StepContext& context, const char*) {
    if (!context.os.isVersion6) {
        GrabFile(context, context.detection.clusterLogPath, context.run.clusterLogTarget, 0);
        return;
    }
    RedirectionOff redirection(context.os.isWow64);
    // The table keeps every other row that writes into OS from running meanwhile.
    FolderWatch watch(context, context.run.osFolder);
    ChildrenOf(context).RunCommand(text::Format("%s %s %d", "get_foc_logs.cmd", context.run.osFolder.c_str(),
                                   context.os.isVersion62Or63 ? 1 : 0));
}

void CaptureOkapoTraces(StepContext& context, const char*) {
    CaptureTraceFiles(context, context.detection.okapoTracePath, context.run.okapoTraceTargetFolder);
}

void CaptureConsoleTraces(StepContext& context, const char*) {
    CaptureTraceFiles(context, context.detection.yebTracePath, context.run.consoleTraceTargetFolder);
}

void CaptureApplicationEventLog(StepContext& context, const char*) {
    CaptureEventLogTwice(context, "Application", context.run.appEventLogFolder, "APP",
                         "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\");
}

void CaptureSystemEventLog(StepContext& context, const char*) {
    CaptureEventLogTwice(context, "System", context.run.systemEventLogFolder, "SYS",
                         "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System\\");
}

void DumpRegistry(StepContext& context, const char*) {
    if (context.plan != nullptr) {
        context.plan->Writes(context.run.registryDumpPath);
        return;
    }
    CRegInfo registry(context.run.registryDumpPath, context.floor);
    registry.DumpFromList();
    context.ReportWrite(registry.Close());
}

void CaptureMultipathInformation(StepContext& context, const char*) {
    CaptureQzUtils(context, context.paths.flxInfoTool, " -x", context.paths.flxInfoOutputName, context.run.flxInfoTarget,
                          1, INFINITE);
    CaptureMPIOInfo(context);
}

void CaptureProviders(StepContext& context, const char*) {
    if (context.detection.productMajorVersion == 5)
        CaptureQzUtils(context, context.paths.productProvidersTool, "", context.paths.productProvidersReportName,
                              context.run.productProvidersReportTarget, 1, INFINITE);
    else
        CaptureQzUtils(context, context.paths.providersTool, "", context.paths.providersReportName,
                              context.run.providersReportTarget, 1, INFINITE);
}

void CaptureVdsLogs(StepContext& context, const char*) {
    GrabFile(context, context.paths.vdsLog, context.run.vdsLogTarget, 0);
    GrabFile(context, context.paths.qzVdsProviderLog, context.run.qzVdsProviderLogTarget, 0);
}

void CaptureVersions(StepContext& context, const char*) {
    // With the MPS report chosen the versions are in its cabinet already.
    if (context.options.mpsReports) return;
    EnsureSubFolder(context, StepServices::SubFolder::kOs);
    {
        RedirectionOff redirection(context.os.isWow64);
        ListVersions(context, "SYSTEM32_EXE_VER.TXT", "\\*.exe");
        ListVersions(context, "SYSTEM32_DLL_VER.TXT", "\\*.dll");
        ListVersions(context, "SYSTEM32_SYS_VER.TXT", "\\drivers\\*.sys");
    }
    EnsureSubFolder(context, StepServices::SubFolder::kVm);
    CaptureKDXFileInfo(context);
}

}  // namespace step_actions
