// Detection of the product's own components: its service, alert log, traces, plug-ins,
// replication and volume daemon logs.
#include "engine/Collection.h"
#include "probes/Probes.h"
#include "probes/DetectionSteps.h"
#include "probes/KerdOptions.h"
#include "resources/resource.h"
#include "probes/CollectionProbes.h"

namespace {

constexpr const char* kProductKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion";
constexpr const char* kProductTracingKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\Tracing";
constexpr const char* kConsoleTracingKey = "SOFTWARE\\BRENNOCK\\HLMQobc\\Nib33\\Agents\\StorageAgent\\Tracing";
constexpr const char* kVolumeManagerKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager";

// The console's trace may be registered in two places. The second is the provider framework's
// own key: its value is the console's trace only when the first place names none, or the
// console's trace would never be collected beside the framework's.
void DetectConsoleTrace(Collection& collection, const char* tracingKey, bool secondPlace) {
    DetectionResults& found = collection.detection;
    std::string path;
    if (!IsPathExistsInRegistry(collection, tracingKey, "TRACEFILE", path, 0)) {
        collection.LogReport("YEB: NOT Installed");
        return;
    }
    collection.LogReport("YEB: Installed");
    collection.LogReport("YEB Trace file path: %s", path.c_str());
    if (secondPlace && found.yebTraceRegistered) return;
    found.yebTraceRegistered = 1;
    found.yebTracePath = path;
    if (IsFileExists(collection, path)) found.yebTraceFound = 1;
}

}  // namespace

namespace detection_steps {

BoxDecisions DetectVolumeManagerService(Collection& collection) {
    BoxDecisions boxes;
    bool running = IsQzSvcRunning(collection, "qzsvc") || IsQzSvcRunning(collection, "qzob");
    if (!running) {
        boxes.Disable(IDC_QZSVC_DUMP);
        boxes.Disable(IDC_PROVIDERS);
        collection.LogReport("VM Service is NOT running");
        return boxes;
    }
    collection.detection.serviceRunning = 1;
    boxes.Enable(IDC_QZSVC_DUMP);
    boxes.Enable(IDC_PROVIDERS);
    collection.LogReport("VM Service is running");
    return boxes;
}

BoxDecisions DetectAlertLog(Collection& collection) {
    DetectionResults& found = collection.detection;
    if (!IsPathExistsInRegistry(collection, kProductKey, "INSTALLDIR", found.productInstallFolder, 0)) return {};
    collection.LogReport("OKAPO/YEB AlertLog file path: %s", found.productInstallFolder.c_str());
    found.alertLogPath = found.productInstallFolder;
    found.alertLogPath += "ALERTLOG\\ALERT.LOG";
    collection.LogReport(IsFileExists(collection, found.alertLogPath) ? "YEB Alert is available"
                                                                     : "YEB Alert is NOT available");
    return {};
}

BoxDecisions DetectTraces(Collection& collection) {
    BoxDecisions boxes;
    DetectionResults& found = collection.detection;
    std::string path;
    if (IsPathExistsInRegistry(collection, kProductTracingKey, "TRACEFILE", path, 0)) {
        collection.LogReport("OKAPO: Installed");
        collection.LogReport("OKAPO Trace file path: %s", path.c_str());
        found.okapoTraceRegistered = 1;
        found.okapoTracePath = path;
        found.okapoTraceFound = IsFileExists(collection, path);
        boxes.EnableOrDisable(IDC_OKAPO_LOGS, found.okapoTraceFound);
    } else {
        boxes.Disable(IDC_OKAPO_LOGS);
        collection.LogReport("OKAPO: NOT Installed");
    }
    DetectConsoleTrace(collection, kConsoleTracingKey, false);
    DetectConsoleTrace(collection, kProductTracingKey, true);
    return boxes;
}

BoxDecisions DetectPlugInXmlFolder(Collection& collection) {
    BoxDecisions boxes;
    DetectionResults& found = collection.detection;
    std::string folder;
    bool registered = IsPathExistsInRegistry(collection, "SOFTWARE\\BRENNOCK\\Dunmere Plug-ins", "XMLDIR", folder, 0) ||
                      IsPathExistsInRegistry(collection, kVolumeManagerKey, "XMLDIR", folder, 0);
    if (!registered) {
        boxes.Disable(IDC_TGN);
        collection.LogReport("TGN is NOT installed");
        return boxes;
    }
    collection.LogReport("TGN: Installed");
    collection.LogReport("TGN XML Files path: %s", folder.c_str());
    found.tgnInstalled = 1;
    found.tgnXmlInstalled = 1;
    found.tgnXmlFolder = folder;
    boxes.Enable(IDC_TGN);
    return boxes;
}

BoxDecisions DetectReplication(Collection& collection) {
    BoxDecisions boxes;
    if (IsZRXInstalled(collection)) {
        collection.detection.zrxInstalled = 1;
        collection.LogReport("ZRX: Installed");
        boxes.Enable(IDC_ZRX);
    } else {
        boxes.DisableAndClear(IDC_ZRX);
        collection.LogReport("ZRX: NOT Installed");
    }
    return boxes;
}

BoxDecisions DetectKerdLogs(Collection& collection) {
    BoxDecisions boxes;
    DetectionResults& found = collection.detection;
    if (IsPathExistsInRegistry(collection, kVolumeManagerKey, "KerdOptions", found.kerdOptions, 0)) {
        collection.LogReport("VM Log file path: %s", found.kerdOptions.c_str());
        KerdLogLocation location = ParseKerdLogOption(found.kerdOptions);
        if (location.found) {
            found.kerdLogFolder = location.folder;
            found.kerdLogPattern = location.pattern;
            found.kerdLogsFound = 1;
            collection.LogReport("VM Log file path -- after parsing: %s", found.kerdLogFolder.c_str());
        }
    }
    if (!found.kerdLogsFound) {
        boxes.Disable(IDC_KERD_LOGS);
        collection.LogReport("Path details for VM (kerd) path/logs are not found");
        return boxes;
    }
    if (IsFileExists(collection, found.kerdLogFolder)) {
        found.kerdLogPattern.assign(1, '*');  // every file of the folder
        boxes.Enable(IDC_KERD_LOGS);
    } else {
        boxes.Disable(IDC_KERD_LOGS);
    }
    return boxes;
}

}  // namespace detection_steps
