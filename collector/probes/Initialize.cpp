// Initialize: the component detection that gives every option box its start state.
#include "common/profile/SectionTimer.h"
#include "engine/Collection.h"
#include "engine/OptionTable.h"
#include "probes/DetectionSteps.h"
#include "resources/resource.h"
#include "probes/CollectionProbes.h"

namespace {

using namespace detection_steps;

constexpr DetectionStep kDetectionSteps[] = {
    DetectVolumeManagerService, DetectWindowsCluster, DetectAlertLog,     DetectTraces,
    DetectPlugInXmlFolder,      DetectSystemInformationTool, DetectSolutionsLog, DetectSnapshotSchedules,
    DetectSystemFiles,          DetectReplication,    DetectMpsReports,   DetectUserDump,
    DetectKerdLogs,             DetectPelorin,        DetectLicences,     DetectSnapshotTools,
};

// The options that the MPS Reports box greys out, as the report names them.
constexpr const char* kGreyedByMpsReports[] = {
    "NOTE: Following options are enabled/disabled based on MPS Report option state",
    "Application Event Log",
    "System Event Log",
    "Boot.INI ",
    "MSCS Cluster Log",
    "OS Info",
};

}  // namespace

void Initialize(Collection& collection) {
    ZELTRIN_PROFILE_SECTION("detection");
    collection.LogReport("Start - Initialize");
    collection.LogReport("Enable and Set all Check Boxes...");
    const auto table = OptionTable();
    collection.boxes.assign(table.size(), BoxState{});
    for (size_t index = 0; index < table.size(); ++index) collection.boxes[index].check = table[index].startCheck;

    for (DetectionStep step : kDetectionSteps) {
        const BoxDecisions decided = step(collection);
        for (const BoxDecision& decision : decided.List()) Apply(collection, decision);
    }
    Apply(collection, {IDC_TEJ_RQN, BoxChange::kEnableAndCheck});
    collection.detection.tejRqnEnabled = 1;

    for (const char* line : kGreyedByMpsReports) collection.LogReport("%s", line);
    ReportDlgState(collection);
    collection.View().ShowBoxes(collection.boxes);
    collection.LogReport("Finish - Initialize. Error=%d<BR>", 0);
}

BoxState& Box(Collection& collection, int controlId) { return collection.boxes.at(OptionIndex(controlId)); }

void Apply(Collection& collection, const BoxDecision& decision) {
    BoxState& box = Box(collection, decision.controlId);
    switch (decision.change) {
        case BoxChange::kEnable: box.enabled = true; break;
        case BoxChange::kDisable: box.enabled = false; break;
        case BoxChange::kDisableAndClear:
            box.enabled = false;
            box.check = BST_UNCHECKED;
            break;
        case BoxChange::kEnableAndCheck:
            box.enabled = true;
            box.check = BST_CHECKED;
            break;
    }
}
