// The captures whose tools run under the command interpreter, their standard output
// appended to a file of the run or their files written into a folder of the run.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"

void Collection::CaptureOSMUInfo() {
    LogReport("Start - CaptureOSMUInfo");
    std::string commandLine = text::Format("\"%s\" -o %s", paths.osmuSnapshotScript.c_str(), run.osmuFolder.c_str());
    LogReport("OSMU App and Args: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    LogReport("OSMU Target Folder Name: %s", run.osmuFolder.c_str());
    ChildrenOf(*this).RunQuotedCommand(commandLine);
    LogReport("Finish - CaptureOSMUInfo");
}

void Collection::CaptureKDXFileInfo() {
    LogReport("Start - CaptureKDXFileInfo");
    // Named bare: the interpreter finds it in the program folder or on the search path.
    std::string commandLine = text::Format("%s >> %s", "qzfilever.EXE", run.kdxBinaryVersionTarget.c_str());
    LogReport("KDX File Ver AppArgs: %s", commandLine.c_str());
    LogReport("KDX File Ver Target Folder Name: %s", run.kdxBinaryVersionTarget.c_str());
    ChildrenOf(*this).RunCommand(commandLine);
    LogReport("Finish - CaptureKDXFileInfo");
}

void Collection::CaptureMountVolInfo() {
    LogReport("Start - CaptureMountVolInfo");
    // Without arguments the utility prints its usage and every volume with its mount points.
    std::string commandLine = text::Format("%s\\%s >> %s", folders.systemDirectory.c_str(), "mountvol.exe",
                                           run.mountVolTarget.c_str());
    LogReport("CaptureMountVolInfo AppArgs: %s", commandLine.c_str());
    LogReport("CaptureMountVolInfo Target Folder Name: %s", run.mountVolTarget.c_str());
    ChildrenOf(*this).RunCommand(commandLine);
    LogReport("Finish - CaptureMountVolInfo");
}

void Collection::CaptureHNVInfo() {
    LogReport("Start - CaptureHNVInfo");
    ChildrenOf(*this).RunCommand(text::Format("%s >> %s", "qzclustadm nidmap", run.hnvNidmapTarget.c_str()));
    ChildrenOf(*this).RunCommand(text::Format("%s >> %s", "qzclustadm -v nodestate", run.hnvNodestateTarget.c_str()));
    LogReport("Finish - CaptureHNVInfo");
}
