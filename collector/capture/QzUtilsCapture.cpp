// CaptureQzUtils: runs one of the product's tools and brings its output file in.
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"
#include "framework/WaitCursor.h"

int Collection::CaptureQzUtils(std::string application, std::string arguments, std::string sourceOutputFile,
                              std::string targetOutputFile, int move, DWORD timeout) {
    framework::WaitCursor wait;
    LogReport("Start - CaptureQzUtils");
    LogReport("Start - Application Name: %s", application.c_str());
    LogReport("Start - Arguments: %s", process::ChildRunner::ShownCommand(arguments).c_str());
    LogReport("Start - Source Output File:%s", sourceOutputFile.c_str());
    LogReport("Start - Target Output File:%s", targetOutputFile.c_str());
    LogReport("Start - Move File: %d", move);
    // Shown only: the tools are waited for under the run's own time limit, if it has one.
    LogReport("Start - Timeout: %d", static_cast<int>(timeout));

    // Only the argument string fills the command line buffer; the application path is the
    // system's to judge, and a path it cannot take fails the start with its own reason.
    DWORD status = 0;
    int created = ChildrenOf(*this).StartDirect(application, arguments, application, status);
    if (plan != nullptr && !sourceOutputFile.empty()) plan->TakesOutput(sourceOutputFile, move != 0);
    if (created) {
        if (sourceOutputFile.empty())
            LogReport("Log files will be captured in target folder by %s directly.", application.c_str());
        else if (IsFileExists(sourceOutputFile))
            GrabFile(sourceOutputFile, targetOutputFile, move);
    }
    LogReport("Finish - CaptureQzUtils Error=%d", static_cast<int>(status));
    return created;
}
