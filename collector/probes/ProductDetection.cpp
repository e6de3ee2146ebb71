// Detection of the product's own components: its service, alert log, traces, plug-ins,
// replication and volume daemon logs.
#include "dialog/CULVIXDlg.h"
#include "probes/DetectionSteps.h"
#include "probes/KerdOptions.h"
#include "probes/OptionBoxes.h"
#include "resources/resource.h"

namespace {

constexpr const char* kProductKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion";
constexpr const char* kProductTracingKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\Tracing";
constexpr const char* kConsoleTracingKey = "SOFTWARE\\BRENNOCK\\HLMQobc\\Nib33\\Agents\\StorageAgent\\Tracing";
constexpr const char* kVolumeManagerKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager";

OptionBoxes BoxesOf(CULVIXDlg& dialog) { return OptionBoxes(dialog.GetSafeHwnd()); }

// The console's trace may be registered in two places; what one finds the other never clears.
void DetectConsoleTrace(CULVIXDlg& dialog, const char* tracingKey) {
    DetectionResults& found = dialog.detection;
    std::string path;
    if (!dialog.IsPathExistsInRegistry(tracingKey, "TRACEFILE", path, 0)) {
        dialog.LogReport("YEB: NOT Installed");
        return;
    }
    dialog.LogReport("YEB: Installed");
    dialog.LogReport("YEB Trace file path: %s", path.c_str());
    found.yebTraceRegistered = 1;
    found.yebTracePath = path;
    if (dialog.IsFileExists(path)) found.yebTraceFound = 1;
}

}  // namespace

namespace detection_steps {

void DetectVolumeManagerService(CULVIXDlg& dialog) {
    bool running = dialog.IsQzSvcRunning("qzsvc") || dialog.IsQzSvcRunning("qzob");
    OptionBoxes boxes = BoxesOf(dialog);
    if (!running) {
        boxes.Disable(IDC_QZSVC_DUMP);
        boxes.Disable(IDC_PROVIDERS);
        dialog.LogReport("VM Service is NOT running");
        return;
    }
    dialog.detection.serviceRunning = 1;
    boxes.Enable(IDC_QZSVC_DUMP);
    boxes.Enable(IDC_PROVIDERS);
    dialog.LogReport("VM Service is running");
}

void DetectAlertLog(CULVIXDlg& dialog) {
    DetectionResults& found = dialog.detection;
    if (!dialog.IsPathExistsInRegistry(kProductKey, "INSTALLDIR", found.productInstallFolder, 0)) return;
    dialog.LogReport("OKAPO/YEB AlertLog file path: %s", found.productInstallFolder.c_str());
    found.alertLogPath = found.productInstallFolder;
    found.alertLogPath += "ALERTLOG\\ALERT.LOG";
    dialog.LogReport(dialog.IsFileExists(found.alertLogPath) ? "YEB Alert is available" : "YEB Alert is NOT available");
}

void DetectTraces(CULVIXDlg& dialog) {
    DetectionResults& found = dialog.detection;
    OptionBoxes boxes = BoxesOf(dialog);
    std::string path;
    if (dialog.IsPathExistsInRegistry(kProductTracingKey, "TRACEFILE", path, 0)) {
        dialog.LogReport("OKAPO: Installed");
        dialog.LogReport("OKAPO Trace file path: %s", path.c_str());
        found.okapoTraceRegistered = 1;
        found.okapoTracePath = path;
        found.okapoTraceFound = dialog.IsFileExists(path);
        boxes.EnableOrDisable(IDC_OKAPO_LOGS, found.okapoTraceFound);
    } else {
        boxes.Disable(IDC_OKAPO_LOGS);
        dialog.LogReport("OKAPO: NOT Installed");
    }
    DetectConsoleTrace(dialog, kConsoleTracingKey);
    DetectConsoleTrace(dialog, kProductTracingKey);
}

void DetectPlugInXmlFolder(CULVIXDlg& dialog) {
    DetectionResults& found = dialog.detection;
    std::string folder;
    bool registered = dialog.IsPathExistsInRegistry("SOFTWARE\\BRENNOCK\\Dunmere Plug-ins", "XMLDIR", folder, 0) ||
                      dialog.IsPathExistsInRegistry(kVolumeManagerKey, "XMLDIR", folder, 0);
    if (!registered) {
        BoxesOf(dialog).Disable(IDC_TGN);
        dialog.LogReport("TGN is NOT installed");
        return;
    }
    dialog.LogReport("TGN: Installed");
    dialog.LogReport("TGN XML Files path: %s", folder.c_str());
    found.tgnInstalled = 1;
    found.tgnXmlInstalled = 1;
    found.tgnXmlFolder = folder;
    BoxesOf(dialog).Enable(IDC_TGN);
}

void DetectReplication(CULVIXDlg& dialog) {
    if (dialog.IsZRXInstalled()) {
        dialog.detection.zrxInstalled = 1;
        dialog.LogReport("ZRX: Installed");
        BoxesOf(dialog).Enable(IDC_ZRX);
    } else {
        BoxesOf(dialog).DisableAndClear(IDC_ZRX);
        dialog.LogReport("ZRX: NOT Installed");
    }
}

void DetectKerdLogs(CULVIXDlg& dialog) {
    DetectionResults& found = dialog.detection;
    if (dialog.IsPathExistsInRegistry(kVolumeManagerKey, "KerdOptions", found.kerdOptions, 0)) {
        dialog.LogReport("VM Log file path: %s", found.kerdOptions.c_str());
        KerdLogLocation location = ParseKerdLogOption(found.kerdOptions);
        if (location.found) {
            found.kerdLogFolder = location.folder;
            found.kerdLogPattern = location.pattern;
            found.kerdLogsFound = 1;
            dialog.LogReport("VM Log file path -- after parsing: %s", found.kerdLogFolder.c_str());
        }
    }
    OptionBoxes boxes = BoxesOf(dialog);
    if (!found.kerdLogsFound) {
        boxes.Disable(IDC_KERD_LOGS);
        dialog.LogReport("Path details for VM (kerd) path/logs are not found");
        return;
    }
    if (dialog.IsFileExists(found.kerdLogFolder)) {
        found.kerdLogPattern.assign(1, '*');  // every file of the folder
        boxes.Enable(IDC_KERD_LOGS);
    } else {
        boxes.Disable(IDC_KERD_LOGS);
    }
}

}  // namespace detection_steps
