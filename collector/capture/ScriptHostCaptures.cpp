// The captures that run a script through the system's script host: the service's hang dump
// and the replication configuration.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "capture/Captures.h"
#include "engine/FolderWatch.h"
#include "engine/StepContext.h"
#include "framework/WaitCursor.h"

namespace {
constexpr const char* kScriptHost = "cscript.exe";  // the program a failed start names
constexpr const char* kDebuggingToolsFolder = "Program Files\\Debugging Tools for Windows (x64)";
constexpr const char* kDumpedProcess = "qzsvc.exe";
}  // namespace

int CaptureDumpThroughADPlus(StepContext& context) {
    context.LogReport("Start - CaptureDumpThroughADPlus");
    std::string commandLine = "cscript ";
    commandLine += text::Format("\"%s%s\\adplus_old.vbs\" -quiet -hang -pn %s -o %s", context.folders.homeDrive.c_str(),
                                kDebuggingToolsFolder, kDumpedProcess, context.run.runFolder.c_str());
    context.LogReport("CaptureDumpThroughADPlus Args: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    context.LogReport("CaptureDumpThroughADPlus Target Folder Name: %s", context.run.runFolder.c_str());
    DWORD status = 0;
    {
        FolderWatch watch(context, context.run.runFolder);
        ChildrenOf(context).StartDirect("", commandLine, kScriptHost, status);
    }
    context.LogReport("Finish - CaptureDumpThroughADPlus");
    return 1;
}

int CaptureZRXInfo(StepContext& context, std::string targetOutputFile, DWORD timeout) {
    framework::WaitCursor wait;
    std::string commandLine = "cscript ";
    commandLine += context.paths.zrxScript;
    commandLine += " ";
    commandLine += targetOutputFile;
    context.LogReport("Start - CaptureZRXInfo");
    context.LogReport("Start - Application Name:  cscript.exe");
    context.LogReport("Start - Arguments: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    context.LogReport("Start - Target Output File:%s", targetOutputFile.c_str());
    // Shown only: the script is waited for under the run's own time limit, if it has one.
    context.LogReport("Start - Timeout: %d", static_cast<int>(timeout));
    DWORD status = 0;
    int created = ChildrenOf(context).StartDirect("", commandLine, kScriptHost, status);
    context.Produced(targetOutputFile);
    context.LogReport("Finish - CaptureZRXInfo Error=%d", static_cast<int>(status));
    return created;
}
