#include "engine/StepServices.h"

void StepServices::MakeSubFolderOnce(SubFolder which, const std::function<void()>& make) {
    std::lock_guard<std::mutex> lock(subFolderMutex_);
    bool& made = which == SubFolder::kOs ? osMade_ : vmMade_;
    if (made) return;
    made = true;
    make();
}

void StepServices::SetManagementServerFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    managementServerFolder_ = folder;
}

std::string StepServices::ManagementServerFolder() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return managementServerFolder_;
}
