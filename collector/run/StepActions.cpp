// Row actions of the capture step table that copy files or dump data.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"
#include "eventlog/EventLogExport.h"
#include "regdump/CRegInfo.h"
#include "run/RedirectionOff.h"
#include "run/StepActions.h"

namespace step_actions {

namespace {

// A trace is captured with its rotated siblings: every file whose name starts with the
// trace file's name.
void CaptureTraceFiles(Collection& collection, const std::string& tracePath, const std::string& targetFolder) {
    size_t slash = tracePath.find_last_of('\\');
    // A trace path without a folder would search the root of the current drive.
    std::string folder = slash == std::string::npos ? std::string(".") : tracePath.substr(0, slash);
    std::string name = slash == std::string::npos ? tracePath : tracePath.substr(slash + 1);
    name += "*";
    collection.GrabMultipleFiles(folder, name, targetFolder);
}

void CaptureEventLogTwice(Collection& collection, const char* logName, const std::string& folder, const char* prefix,
                          const char* sourcesKey) {
    std::string backup = folder + prefix;
    backup += "_Events.evt";
    std::string text = folder + prefix;
    text += "_Events.log";
    if (collection.plan != nullptr) {
        collection.plan->Writes(backup);
        collection.plan->Writes(text);
        return;
    }
    EventLogExport exporter(collection, collection.floor);
    if (collection.unattended.eventLogDays != 0) exporter.daysLimit = static_cast<int>(collection.unattended.eventLogDays);
    exporter.CaptureEventLog(logName, backup, 2, "");
    exporter.CaptureEventLog(logName, text, 0, sourcesKey);
}

}  // namespace

void StopBootLogging(Collection& collection, const char*) { ChildrenOf(collection).RunCommand(text::Format("%s", "stop_wpp_ssn.cmd")); }

void CopySetupLogs(Collection& collection, const char*) {
    collection.GrabFile(collection.paths.setupLog, collection.run.setupLogTarget, 0);
    if (collection.os.isVersion6)
        collection.GrabMultipleFiles(collection.folders.windowsDirectory + "\\INF", "setupapi*.log",
                                 collection.run.osFolder + "\\");
}

void CaptureClusterLog(Collection& collection, const char*) {
    if (!collection.os.isVersion6) {
        collection.GrabFile(collection.detection.clusterLogPath, collection.run.clusterLogTarget, 0);
        return;
    }
    RedirectionOff redirection(collection.os.isWow64);
    ChildrenOf(collection).RunCommand(text::Format("%s %s %d", "get_foc_logs.cmd", collection.run.osFolder.c_str(),
                                   collection.os.isVersion62Or63 ? 1 : 0));
}

void CaptureOkapoTraces(Collection& collection, const char*) {
    CaptureTraceFiles(collection, collection.detection.okapoTracePath, collection.run.okapoTraceTargetFolder);
}

void CaptureConsoleTraces(Collection& collection, const char*) {
    CaptureTraceFiles(collection, collection.detection.yebTracePath, collection.run.consoleTraceTargetFolder);
}

void CaptureApplicationEventLog(Collection& collection, const char*) {
    CaptureEventLogTwice(collection, "Application", collection.run.appEventLogFolder, "APP",
                         "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\");
}

void CaptureSystemEventLog(Collection& collection, const char*) {
    CaptureEventLogTwice(collection, "System", collection.run.systemEventLogFolder, "SYS",
                         "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System\\");
}

void DumpRegistry(Collection& collection, const char*) {
    if (collection.plan != nullptr) {
        collection.plan->Writes(collection.run.registryDumpPath);
        return;
    }
    CRegInfo registry(collection.run.registryDumpPath, collection.floor);
    registry.DumpFromList();
    collection.ReportWrite(registry.Close());
}

void CaptureMultipathInformation(Collection& collection, const char*) {
    collection.CaptureQzUtils(collection.paths.flxInfoTool, " -x", collection.paths.flxInfoOutputName, collection.run.flxInfoTarget,
                          1, INFINITE);
    collection.CaptureMPIOInfo();
}

void CaptureProviders(Collection& collection, const char*) {
    if (collection.detection.productMajorVersion == 5)
        collection.CaptureQzUtils(collection.paths.productProvidersTool, "", collection.paths.productProvidersReportName,
                              collection.run.productProvidersReportTarget, 1, INFINITE);
    else
        collection.CaptureQzUtils(collection.paths.providersTool, "", collection.paths.providersReportName,
                              collection.run.providersReportTarget, 1, INFINITE);
}

void CaptureVdsLogs(Collection& collection, const char*) {
    collection.GrabFile(collection.paths.vdsLog, collection.run.vdsLogTarget, 0);
    collection.GrabFile(collection.paths.qzVdsProviderLog, collection.run.qzVdsProviderLogTarget, 0);
}

void CaptureVersions(Collection& collection, const char*) {
    // With the MPS report chosen the versions are in its cabinet already.
    if (collection.options.mpsReports) return;
    collection.EnsureSubFolder(collection.run.osFolder, "OS");
    {
        RedirectionOff redirection(collection.os.isWow64);
        collection.ListVersions("SYSTEM32_EXE_VER.TXT", "\\*.exe");
        collection.ListVersions("SYSTEM32_DLL_VER.TXT", "\\*.dll");
        collection.ListVersions("SYSTEM32_SYS_VER.TXT", "\\drivers\\*.sys");
    }
    collection.EnsureSubFolder(collection.run.vmFolder, "VM");
    collection.CaptureKDXFileInfo();
}

}  // namespace step_actions
