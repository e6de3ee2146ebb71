#pragma once
// What the steps of a run share, each safe to use from several steps at once: the free-space
// floor, the lines' way to the report, the run folder's OS and VM sub-folders, made by the
// first step that needs them, and the one fact a step hands on to a later one.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "common/disk/FreeSpaceFloor.h"
#include "engine/RunPlan.h"
#include "engine/StepOutput.h"

class StepServices {
public:
    // `osMade`, `vmMade`: whether the run folder was made with them.
    // `childOutsideAJob`: the run's "first child outside a job" mark, said once per run.
    StepServices(FreeSpaceFloor& floor, StepOutput& output, RunPlan* plan, HWND boxOwner, bool osMade, bool vmMade,
                 std::atomic<bool>& childOutsideAJob) noexcept
        : floor(floor),
          output(output),
          plan(plan),
          boxOwner(boxOwner),
          osMade_(osMade),
          vmMade_(vmMade),
          childOutsideAJob_(childOutsideAJob) {}
    StepServices(const StepServices&) = delete;
    StepServices& operator=(const StepServices&) = delete;

    FreeSpaceFloor& floor;
    StepOutput& output;
    // "-list": the steps tell the plan what they would do and do nothing; nullptr in a run.
    RunPlan* const plan;
    HWND const boxOwner;  // of a box a step shows; nullptr in a silent run

    enum class SubFolder { kOs, kVm };
    // Calls `make` for the first caller only, when the run folder was not made with the
    // sub-folder; the others wait until it is made, so no step writes into it before.
    void MakeSubFolderOnce(SubFolder which, const std::function<void()>& make);

    // The management server's folder as the NLD/WKE row read it; the comms row keeps it when its
    // own read finds nothing (the table makes that row follow the other).
    void SetManagementServerFolder(const std::string& folder);
    std::string ManagementServerFolder() const;

    // True for the first caller only.
    bool FirstChildOutsideAJob() noexcept { return !childOutsideAJob_.exchange(true); }

private:
    std::mutex subFolderMutex_;
    mutable std::mutex mutex_;
    bool osMade_;
    bool vmMade_;
    std::string managementServerFolder_;
    std::atomic<bool>& childOutsideAJob_;
};
