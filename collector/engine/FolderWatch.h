#pragma once
// What a tool leaves in a folder given to it: the folder's files as they were when the watch
// began, credited to the step when it ends as the files that are new or changed. Only for a
// folder no other step writes into meanwhile.
#include <string>
#include <vector>

#include "engine/RunFolderFiles.h"
#include "engine/StepContext.h"

class FolderWatch {
public:
    FolderWatch(StepContext& context, std::string folder)
        : context_(context), folder_(std::move(folder)), before_(ListRunFolderFiles(folder_)) {}
    ~FolderWatch() { context_.ProducedIn(folder_, before_); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

private:
    StepContext& context_;
    std::string folder_;
    std::vector<RunFolderFile> before_;
};
