// The captures that run a script through the system's script host: the service's hang dump
// and the replication configuration.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"
#include "framework/WaitCursor.h"

namespace {
constexpr const char* kScriptHost = "cscript.exe";  // the program a failed start names
constexpr const char* kDebuggingToolsFolder = "Program Files\\Debugging Tools for Windows (x64)";
constexpr const char* kDumpedProcess = "qzsvc.exe";
}  // namespace

int Collection::CaptureDumpThroughADPlus() {
    LogReport("Start - CaptureDumpThroughADPlus");
    std::string commandLine = "cscript ";
    commandLine += text::Format("\"%s%s\\adplus_old.vbs\" -quiet -hang -pn %s -o %s", folders.homeDrive.c_str(),
                                kDebuggingToolsFolder, kDumpedProcess, run.runFolder.c_str());
    LogReport("CaptureDumpThroughADPlus Args: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    LogReport("CaptureDumpThroughADPlus Target Folder Name: %s", run.runFolder.c_str());
    DWORD status = 0;
    ChildrenOf(*this).StartDirect("", commandLine, kScriptHost, status);
    LogReport("Finish - CaptureDumpThroughADPlus");
    return 1;
}

int Collection::CaptureZRXInfo(std::string targetOutputFile, DWORD timeout) {
    framework::WaitCursor wait;
    std::string commandLine = "cscript ";
    commandLine += paths.zrxScript;
    commandLine += " ";
    commandLine += targetOutputFile;
    LogReport("Start - CaptureZRXInfo");
    LogReport("Start - Application Name:  cscript.exe");
    LogReport("Start - Arguments: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    LogReport("Start - Target Output File:%s", targetOutputFile.c_str());
    // Shown only: the script is waited for under the run's own time limit, if it has one.
    LogReport("Start - Timeout: %d", static_cast<int>(timeout));
    DWORD status = 0;
    int created = ChildrenOf(*this).StartDirect("", commandLine, kScriptHost, status);
    LogReport("Finish - CaptureZRXInfo Error=%d", static_cast<int>(status));
    return created;
}
