// CaptureQzUtils: runs one of the product's tools and brings its output file in.
#include <optional>

#include "capture/Captures.h"
#include "capture/ChildrenOf.h"
#include "engine/FolderWatch.h"
#include "engine/StepContext.h"
#include "probes/Probes.h"
#include "framework/WaitCursor.h"

int CaptureQzUtils(StepContext& context, std::string application, std::string arguments, std::string sourceOutputFile,
                              std::string targetOutputFile, int move, DWORD timeout) {
    framework::WaitCursor wait;
    context.LogReport("Start - CaptureQzUtils");
    context.LogReport("Start - Application Name: %s", application.c_str());
    context.LogReport("Start - Arguments: %s", process::ChildRunner::ShownCommand(arguments).c_str());
    context.LogReport("Start - Source Output File:%s", sourceOutputFile.c_str());
    context.LogReport("Start - Target Output File:%s", targetOutputFile.c_str());
    context.LogReport("Start - Move File: %d", move);
    // Shown only: the tools are waited for under the run's own time limit, if it has one.
    context.LogReport("Start - Timeout: %d", static_cast<int>(timeout));

    // Only the argument string fills the command line buffer; the application path is the
    // system's to judge, and a path it cannot take fails the start with its own reason.
    DWORD status = 0;
    int created = 0;
    {
        // A tool without an output file writes into its target folder.
        std::optional<FolderWatch> watch;
        if (sourceOutputFile.empty() && !targetOutputFile.empty()) watch.emplace(context, targetOutputFile);
        created = ChildrenOf(context).StartDirect(application, arguments, application, status);
    }
    if (context.plan != nullptr && !sourceOutputFile.empty()) context.plan->TakesOutput(sourceOutputFile, move != 0);
    if (created) {
        if (sourceOutputFile.empty())
            context.LogReport("Log files will be captured in target folder by %s directly.", application.c_str());
        else if (IsFileExists(context, sourceOutputFile))
            GrabFile(context, sourceOutputFile, targetOutputFile, move);
    }
    context.LogReport("Finish - CaptureQzUtils Error=%d", static_cast<int>(status));
    return created;
}
