// CaptureMPIOInfo: the MPIO installation log and the output of qdsminfo.
#include "common/text/Format.h"
#include "common/win32/Environment.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"

namespace {
constexpr const char* kMpioLogName = "instmpio.log";
}  // namespace

int Collection::CaptureMPIOInfo() {
    LogReport("Start - CaptureMPIOInfo");
    std::string temp = win32::ExpandEnvironment("%TEMP%");
    std::string logPath = temp + "\\qzmpio\\" + kMpioLogName;
    LogReport("TEMP: %s", temp.c_str());
    LogReport("MPIO Log Path: %s", logPath.c_str());
    if (!GrabFile(logPath, run.mpioLogTarget, 0)) {
        LogReport("KDX43 stores instmpio.log in different location");
        std::string allUsers = win32::ExpandEnvironment("%allusersprofile%");
        // What this copy gives shows in its own lines; qdsminfo runs either way.
        GrabFile(allUsers + "\\application data\\brennock\\mpio\\" + kMpioLogName, run.mpioLogTarget, 0);
    }

    // Named bare: the interpreter finds it in the program folder or on the search path.
    std::string commandLine = text::Format("%s >> %s", "qdsminfo.exe", run.qdsminfoLogTarget.c_str());
    LogReport("QDSMInfo AppArgs: %s", commandLine.c_str());
    LogReport("QDSMInfo Target Folder Name: %s", run.qdsminfoLogTarget.c_str());
    ChildrenOf(*this).RunCommand(commandLine);
    LogReport("Finish - CaptureMPIOInfo");
    return 1;
}
