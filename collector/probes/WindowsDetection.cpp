// Detection of what Windows holds for the run: the cluster, the system information tool,
// the dump, boot, setup and Dr. Watson files, and the MPS report tools.
#include "dialog/CULVIXDlg.h"
#include "probes/DetectionSteps.h"
#include "probes/OptionBoxes.h"
#include "resources/resource.h"

namespace {

// A fixed file of the machine whose presence alone decides its box.
struct FixedFile {
    std::string FixedPaths::* path;
    int DetectionResults::* found;
    int controlId;
};

constexpr FixedFile kMemoryDump{&FixedPaths::memoryDump, &DetectionResults::memoryDumpFound, IDC_MEMORY_DUMP};
constexpr FixedFile kBootFile{&FixedPaths::bootFile, &DetectionResults::bootFileFound, IDC_BOOT_INI};
constexpr FixedFile kSetupLog{&FixedPaths::setupLog, &DetectionResults::setupLogFound, IDC_SETUP_LOG};
constexpr FixedFile kDrWatsonLog{&FixedPaths::drWatsonLog, &DetectionResults::drWatsonLogFound, IDC_DR_WATSON_LOG};
constexpr FixedFile kUserDump{&FixedPaths::drWatsonUserDump, &DetectionResults::userDumpFound, IDC_USER_DUMP};

void DetectFixedFile(CULVIXDlg& dialog, const FixedFile& file) {
    bool exists = dialog.IsFileExists(dialog.paths.*file.path) != 0;
    if (exists) dialog.detection.*file.found = 1;
    OptionBoxes(dialog.GetSafeHwnd()).EnableOrDisableAndClear(file.controlId, exists);
}

}  // namespace

namespace detection_steps {

void DetectWindowsCluster(CULVIXDlg& dialog) {
    DetectionResults& found = dialog.detection;
    found.clusterLogPath = dialog.folders.windowsDirectory + "\\CLUSTER";
    if (dialog.os.isVersion6) {
        dialog.LogReport("Cluster Path: %s", found.clusterLogPath.c_str());
    } else {
        found.clusterLogPath += "\\CLUSTER.LOG";
        dialog.LogReport("Cluster Log and path: %s", found.clusterLogPath.c_str());
    }
    OptionBoxes boxes(dialog.GetSafeHwnd());
    if (dialog.IsFileExists(found.clusterLogPath)) {
        found.clusterPresent = 1;
        found.clusterLogFound = 1;
        boxes.Enable(IDC_CLUSTER_LOGS);
    } else {
        boxes.Disable(IDC_CLUSTER_LOGS);
        dialog.LogReport("MSCS: NOT Installed");
    }
}

void DetectSystemInformationTool(CULVIXDlg& dialog) {
    DetectionResults& found = dialog.detection;
    OptionBoxes boxes(dialog.GetSafeHwnd());
    if (!dialog.IsPathExistsInRegistry("SOFTWARE\\Microsoft\\Shared Tools\\MSInfo", "Path", found.msinfoPath,
                                       dialog.os.isWow64)) {
        boxes.Disable(IDC_MSINFO32);
        dialog.LogReport("MS Info application not found!");
        return;
    }
    dialog.LogReport("MS Info application path and name: %s", found.msinfoPath.c_str());
    found.msinfoFound = dialog.IsFileExists(found.msinfoPath);
    boxes.EnableOrDisable(IDC_MSINFO32, found.msinfoFound);
}

void DetectSystemFiles(CULVIXDlg& dialog) {
    DetectFixedFile(dialog, kMemoryDump);
    DetectFixedFile(dialog, kBootFile);
    DetectFixedFile(dialog, kSetupLog);
    // Dr. Watson exists only up to Windows XP and Server 2003.
    if ((dialog.os.isWindows2000 || dialog.os.isXpOr2003) && !dialog.os.isVersion6)
        DetectFixedFile(dialog, kDrWatsonLog);
    else
        OptionBoxes(dialog.GetSafeHwnd()).DisableAndClear(IDC_DR_WATSON_LOG);
}

void DetectMpsReports(CULVIXDlg& dialog) {
    // Only the box's state follows the tool: its check mark starts clear and stays so.
    bool found = dialog.detection.mpsToolFound != 0;
    OptionBoxes(dialog.GetSafeHwnd()).EnableOrDisable(IDC_MPS_REPORTS, found);
    dialog.LogReport(found ? "MPS Report option is enabled" : "MPS Report option is disabled");
}

void DetectUserDump(CULVIXDlg& dialog) { DetectFixedFile(dialog, kUserDump); }

}  // namespace detection_steps
