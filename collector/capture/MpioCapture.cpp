// CaptureMPIOInfo: the MPIO installation log and the output of qdsminfo.
#include "common/text/Format.h"
#include "common/win32/Environment.h"
#include "capture/ChildrenOf.h"
#include "capture/Captures.h"
#include "engine/StepContext.h"

namespace {
constexpr const char* kMpioLogName = "instmpio.log";
}  // namespace

int CaptureMPIOInfo(StepContext& context) {
    context.LogReport("Start - CaptureMPIOInfo");
    std::string temp = win32::ExpandEnvironment("%TEMP%");
    std::string logPath = temp + "\\qzmpio\\" + kMpioLogName;
    context.LogReport("TEMP: %s", temp.c_str());
    context.LogReport("MPIO Log Path: %s", logPath.c_str());
    if (!GrabFile(context, logPath, context.run.mpioLogTarget, 0)) {
        context.LogReport("KDX43 stores instmpio.log in different location");
        std::string allUsers = win32::ExpandEnvironment("%allusersprofile%");
        // What this copy gives shows in its own lines; qdsminfo runs either way.
        GrabFile(context, allUsers + "\\application data\\brennock\\mpio\\" + kMpioLogName, context.run.mpioLogTarget, 0);
    }

    // Named bare: the interpreter finds it in the program folder or on the search path.
    std::string commandLine = text::Format("%s >> %s", "qdsminfo.exe", context.run.qdsminfoLogTarget.c_str());
    context.LogReport("QDSMInfo AppArgs: %s", commandLine.c_str());
    context.LogReport("QDSMInfo Target Folder Name: %s", context.run.qdsminfoLogTarget.c_str());
    ChildrenOf(context).RunCommand(commandLine);
    context.Produced(context.run.qdsminfoLogTarget);
    context.LogReport("Finish - CaptureMPIOInfo");
    return 1;
}
