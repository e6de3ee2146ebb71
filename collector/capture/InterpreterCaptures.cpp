// The captures whose tools run under the command interpreter, their standard output
// appended to a file of the run or their files written into a folder of the run.
#include "common/text/Format.h"
#include "dialog/CULVIXDlg.h"

void CULVIXDlg::CaptureOSMUInfo() {
    LogReport("Start - CaptureOSMUInfo");
    std::string commandLine = text::Format("\"%s\" -o %s", paths.osmuSnapshotScript.c_str(), run.osmuFolder.c_str());
    LogReport("OSMU App and Args: %s", ShownCommand(commandLine).c_str());
    LogReport("OSMU Target Folder Name: %s", run.osmuFolder.c_str());
    RunQuotedCommand(commandLine);
    LogReport("Finish - CaptureOSMUInfo");
}

void CULVIXDlg::CaptureKDXFileInfo() {
    LogReport("Start - CaptureKDXFileInfo");
    // Named bare: the interpreter finds it in the program folder or on the search path.
    std::string commandLine = text::Format("%s >> %s", "qzfilever.EXE", run.kdxBinaryVersionTarget.c_str());
    LogReport("KDX File Ver AppArgs: %s", commandLine.c_str());
    LogReport("KDX File Ver Target Folder Name: %s", run.kdxBinaryVersionTarget.c_str());
    RunCommand(commandLine);
    LogReport("Finish - CaptureKDXFileInfo");
}

void CULVIXDlg::CaptureMountVolInfo() {
    LogReport("Start - CaptureMountVolInfo");
    // Without arguments the utility prints its usage and every volume with its mount points.
    std::string commandLine = text::Format("%s\\%s >> %s", folders.systemDirectory.c_str(), "mountvol.exe",
                                           run.mountVolTarget.c_str());
    LogReport("CaptureMountVolInfo AppArgs: %s", commandLine.c_str());
    LogReport("CaptureMountVolInfo Target Folder Name: %s", run.mountVolTarget.c_str());
    RunCommand(commandLine);
    LogReport("Finish - CaptureMountVolInfo");
}

void CULVIXDlg::CaptureHNVInfo() {
    LogReport("Start - CaptureHNVInfo");
    RunCommand(text::Format("%s >> %s", "qzclustadm nidmap", run.hnvNidmapTarget.c_str()));
    RunCommand(text::Format("%s >> %s", "qzclustadm -v nodestate", run.hnvNodestateTarget.c_str()));
    LogReport("Finish - CaptureHNVInfo");
}
