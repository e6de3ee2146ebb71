// CaptureOSInfo: the system information tool's report of the machine.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"

int Collection::CaptureOSInfo() {
    // Windows 2000's tool needs /a to report every category.
    const char* options = os.isWindows2000 ? " /a /report" : " /report";
    std::string arguments = text::Format("%s %s", options, run.msinfoReportTarget.c_str());
    LogReport("Start - CaptureOSInfo");
    LogReport("Application Name: %s", detection.msinfoPath.c_str());
    LogReport("Arguments: %s", arguments.c_str());
    DWORD status = 0;
    int created = ChildrenOf(*this).StartDirect(detection.msinfoPath, arguments, detection.msinfoPath, status);
    LogReport("Finish - CaptureOSInfo Error=%d", static_cast<int>(status));
    return created;
}
