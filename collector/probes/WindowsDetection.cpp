// Detection of what Windows holds for the run: the cluster, the system information tool,
// the dump, boot, setup and Dr. Watson files, and the MPS report tools.
#include "engine/Collection.h"
#include "probes/Probes.h"
#include "probes/DetectionSteps.h"
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

void DetectFixedFile(Collection& collection, const FixedFile& file, BoxDecisions& boxes) {
    bool exists = IsFileExists(collection, collection.paths.*file.path) != 0;
    if (exists) collection.detection.*file.found = 1;
    boxes.EnableOrDisableAndClear(file.controlId, exists);
}

}  // namespace

namespace detection_steps {

BoxDecisions DetectWindowsCluster(Collection& collection) {
    DetectionResults& found = collection.detection;
    found.clusterLogPath = collection.folders.windowsDirectory + "\\CLUSTER";
    if (collection.os.isVersion6) {
        collection.LogReport("Cluster Path: %s", found.clusterLogPath.c_str());
    } else {
        found.clusterLogPath += "\\CLUSTER.LOG";
        collection.LogReport("Cluster Log and path: %s", found.clusterLogPath.c_str());
    }
    BoxDecisions boxes;
    if (IsFileExists(collection, found.clusterLogPath)) {
        found.clusterPresent = 1;
        found.clusterLogFound = 1;
        boxes.Enable(IDC_CLUSTER_LOGS);
    } else {
        boxes.Disable(IDC_CLUSTER_LOGS);
        collection.LogReport("MSCS: NOT Installed");
    }
    return boxes;
}

BoxDecisions DetectSystemInformationTool(Collection& collection) {
    DetectionResults& found = collection.detection;
    BoxDecisions boxes;
    if (!IsPathExistsInRegistry(collection, "SOFTWARE\\Microsoft\\Shared Tools\\MSInfo", "Path", found.msinfoPath,
                                       collection.os.isWow64)) {
        boxes.Disable(IDC_MSINFO32);
        collection.LogReport("MS Info application not found!");
        return boxes;
    }
    collection.LogReport("MS Info application path and name: %s", found.msinfoPath.c_str());
    found.msinfoFound = IsFileExists(collection, found.msinfoPath);
    boxes.EnableOrDisable(IDC_MSINFO32, found.msinfoFound);
    return boxes;
}

BoxDecisions DetectSystemFiles(Collection& collection) {
    BoxDecisions boxes;
    DetectFixedFile(collection, kMemoryDump, boxes);
    DetectFixedFile(collection, kBootFile, boxes);
    DetectFixedFile(collection, kSetupLog, boxes);
    // Dr. Watson exists only up to Windows XP and Server 2003.
    if ((collection.os.isWindows2000 || collection.os.isXpOr2003) && !collection.os.isVersion6)
        DetectFixedFile(collection, kDrWatsonLog, boxes);
    else
        boxes.DisableAndClear(IDC_DR_WATSON_LOG);
    return boxes;
}

BoxDecisions DetectMpsReports(Collection& collection) {
    // Only the box's state follows the tool: its check mark starts clear and stays so.
    bool found = collection.detection.mpsToolFound != 0;
    BoxDecisions boxes;
    boxes.EnableOrDisable(IDC_MPS_REPORTS, found);
    collection.LogReport(found ? "MPS Report option is enabled" : "MPS Report option is disabled");
    return boxes;
}

BoxDecisions DetectUserDump(Collection& collection) {
    BoxDecisions boxes;
    DetectFixedFile(collection, kUserDump, boxes);
    return boxes;
}

}  // namespace detection_steps
