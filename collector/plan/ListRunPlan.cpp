#include "plan/ListRunPlan.h"

#include "common/disk/FreeSpaceFloor.h"
#include "common/text/Format.h"
#include "common/win32/FileFacts.h"
#include "console/ConsoleWriter.h"
#include "engine/Collection.h"
#include "engine/TimeText.h"
#include "run/CaptureStep.h"
#include "run/CollectionRun.h"

namespace {

// Where a run would make its folder, without making it: the share when it can be reached.
std::string DestinationRoot(const Collection& collection, std::string& why) {
    if (collection.unattended.noShare) {
        why = "local: noshare";
    } else if (win32::FolderExists(collection.run.networkShareRoot)) {
        why = "the support share";
        return collection.run.networkShareRoot;
    } else {
        why = "local: the support share cannot be reached";
    }
    return collection.LocalRoot();
}

// The plan is the output: what the steps would write to the report goes nowhere.
class NoOutput final : public StepOutput {
public:
    void Entry(int, std::string) override {}
    void Failure(int, std::string) override {}
    void Status(int, std::string) override {}
};

}  // namespace

int ListRunPlan(Collection& collection, console::ConsoleWriter& console) {
    collection.View().ReadBack(collection);
    // What the run would refuse is refused alike; without a number the plan names none.
    if (!collection.entries.incidentNumber.empty() && !AcceptIncidentNumber(collection)) return collection.exitStatus;
    collection.run.bugFolderNumber =
        collection.entries.incidentNumber.empty() ? "<incident>" : collection.entries.incidentNumber;
    std::string why;
    const std::string root = DestinationRoot(collection, why);
    if (!win32::FolderExists(root)) {
        console.WriteLine(text::Format("Run folder: none, there is no folder %s (%s)", root.c_str(), why.c_str()));
        return kExitNoRunFolder;
    }
    collection.run.timeStamp = RunFolderTimeStamp();
    collection.run.runFolder = root + collection.run.bugFolderNumber + "\\" + collection.folders.nodeName + "\\" +
                               collection.run.timeStamp;
    AssignTargetPaths(collection);

    RunPlan plan;
    const RunFacts facts = collection.Facts();
    NoOutput nowhere;
    StepServices services(collection.floor, nowhere, &plan, nullptr, collection.run.osFolderMade,
                          collection.run.vmFolderMade, collection.record.ChildOutsideAJobMark());
    for (const CaptureStep& step : CaptureStepTable()) {
        if (!StepRuns(step, facts)) {
            console.WriteLine(text::Format("%2d %s: skipped, %s", step.row, step.name, StepSkipReason(step, facts).c_str()));
            continue;
        }
        StepContext context(facts, services, step.row, step.name, true);
        CarryOutStep(step, context);
        console.WriteLine(text::Format("%2d %s: runs", step.row, step.name));
        for (const std::string& detail : plan.TakeDetails()) console.WriteLine(detail);
    }

    console.WriteLine(text::Format("Packing: %s", collection.options.compress ? "qzcab.cmd, into cabinet files" : "none"));
    console.WriteLine(
        text::Format("Total to copy: %u files, %llu bytes", plan.FilesToCopy(), plan.BytesToCopy()));
    console.WriteLine(text::Format("Run folder: %s (%s)", collection.run.runFolder.c_str(), why.c_str()));
    if (std::optional<VolumeSpace> space = SpaceOf(root, collection.floor.ReserveMiB()))
        console.WriteLine(text::Format("Free space on %s: %llu bytes, floor %u MiB", space->volume.c_str(),
                                       space->freeBytes, space->floorMiB));
    else
        console.WriteLine(text::Format("Free space on %s: unknown", root.c_str()));
    return kExitDone;
}
