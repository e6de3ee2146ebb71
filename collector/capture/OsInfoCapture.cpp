// CaptureOSInfo: the system information tool's report of the machine.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "capture/Captures.h"
#include "engine/StepContext.h"

int CaptureOSInfo(StepContext& context) {
    // Windows 2000's tool needs /a to report every category.
    const char* options = context.os.isWindows2000 ? " /a /report" : " /report";
    std::string arguments = text::Format("%s %s", options, context.run.msinfoReportTarget.c_str());
    context.LogReport("Start - CaptureOSInfo");
    context.LogReport("Application Name: %s", context.detection.msinfoPath.c_str());
    context.LogReport("Arguments: %s", arguments.c_str());
    DWORD status = 0;
    int created = ChildrenOf(context).StartDirect(context.detection.msinfoPath, arguments, context.detection.msinfoPath, status);
    context.Produced(context.run.msinfoReportTarget);
    context.LogReport("Finish - CaptureOSInfo Error=%d", static_cast<int>(status));
    return created;
}
