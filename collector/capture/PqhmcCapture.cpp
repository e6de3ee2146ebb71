// CapturePQHMCInfo: the cluster management console's diagnostic, written into its folder.
#include "common/text/Format.h"
#include "capture/Captures.h"
#include "engine/StepContext.h"
#include "process/ChildRunner.h"

void CapturePQHMCInfo(StepContext& context) {
    context.LogReport("Start - CapturePQHMCInfo");
    std::string arguments = text::Format("\"%s\" \"%s\"", context.paths.pqhmcDiagTool.c_str(), context.run.pqhmcFolder.c_str());
    context.LogReport("PQHMC App and Args: %s", process::ChildRunner::ShownCommand(arguments).c_str());
    context.LogReport("PQHMC Target Folder Name: %s", context.run.pqhmcFolder.c_str());
    CaptureQzUtils(context, context.paths.pqhmcDiagTool, arguments, "", context.run.pqhmcFolder, 1, INFINITE);
    context.LogReport("Finish - CapturePQHMCInfo");
}
