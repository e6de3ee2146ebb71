// Initialize: the component detection that gives every option box its start state.
#include "common/profile/SectionTimer.h"
#include "engine/Collection.h"
#include "engine/OptionTable.h"
#include "probes/DetectionSteps.h"
#include "resources/resource.h"

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

void Collection::Initialize() {
    ZELTRIN_PROFILE_SECTION("detection");
    LogReport("Start - Initialize");
    LogReport("Enable and Set all Check Boxes...");
    const auto table = OptionTable();
    boxes.assign(table.size(), BoxState{});
    for (size_t index = 0; index < table.size(); ++index) boxes[index].check = table[index].startCheck;

    for (DetectionStep step : kDetectionSteps) {
        const BoxDecisions decided = step(*this);
        for (const BoxDecision& decision : decided.List()) Apply(decision);
    }
    Apply({IDC_TEJ_RQN, BoxChange::kEnableAndCheck});
    detection.tejRqnEnabled = 1;

    for (const char* line : kGreyedByMpsReports) LogReport("%s", line);
    ReportDlgState();
    View().ShowBoxes(boxes);
    LogReport("Finish - Initialize. Error=%d<BR>", 0);
}

BoxState& Collection::Box(int controlId) { return boxes.at(OptionIndex(controlId)); }

void Collection::Apply(const BoxDecision& decision) {
    BoxState& box = Box(decision.controlId);
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
