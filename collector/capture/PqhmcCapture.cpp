// CapturePQHMCInfo: the cluster management console's diagnostic, written into its folder.
#include "common/text/Format.h"
#include "engine/Collection.h"
#include "process/ChildRunner.h"

void Collection::CapturePQHMCInfo() {
    LogReport("Start - CapturePQHMCInfo");
    std::string arguments = text::Format("\"%s\" \"%s\"", paths.pqhmcDiagTool.c_str(), run.pqhmcFolder.c_str());
    LogReport("PQHMC App and Args: %s", process::ChildRunner::ShownCommand(arguments).c_str());
    LogReport("PQHMC Target Folder Name: %s", run.pqhmcFolder.c_str());
    CaptureQzUtils(paths.pqhmcDiagTool, arguments, "", run.pqhmcFolder, 1, INFINITE);
    LogReport("Finish - CapturePQHMCInfo");
}
