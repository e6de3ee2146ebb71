// The captures whose tools run under the command interpreter, their standard output
// appended to a file of the run or their files written into a folder of the run.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "capture/Captures.h"
#include "engine/FolderWatch.h"
#include "engine/StepContext.h"

void CaptureOSMUInfo(StepContext& context) {
    context.LogReport("Start - CaptureOSMUInfo");
    std::string commandLine = text::Format("\"%s\" -o %s", context.paths.osmuSnapshotScript.c_str(), context.run.osmuFolder.c_str());
    context.LogReport("OSMU App and Args: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    context.LogReport("OSMU Target Folder Name: %s", context.run.osmuFolder.c_str());
    {
        FolderWatch watch(context, context.run.osmuFolder);
        ChildrenOf(context).RunQuotedCommand(commandLine);
    }
    context.LogReport("Finish - CaptureOSMUInfo");
}

void CaptureKDXFileInfo(StepContext& context) {
    context.LogReport("Start - CaptureKDXFileInfo");
    // Named bare: the interpreter finds it in the program folder or on the search path.
    std::string commandLine = text::Format("%s >> %s", "qzfilever.EXE", context.run.kdxBinaryVersionTarget.c_str());
    context.LogReport("KDX File Ver AppArgs: %s", commandLine.c_str());
    context.LogReport("KDX File Ver Target Folder Name: %s", context.run.kdxBinaryVersionTarget.c_str());
    ChildrenOf(context).RunCommand(commandLine);
    context.Produced(context.run.kdxBinaryVersionTarget);
    context.LogReport("Finish - CaptureKDXFileInfo");
}

void CaptureMountVolInfo(StepContext& context) {
    context.LogReport("Start - CaptureMountVolInfo");
    // Without arguments the utility prints its usage and every volume with its mount points.
    std::string commandLine = text::Format("%s\\%s >> %s", context.folders.systemDirectory.c_str(), "mountvol.exe",
                                           context.run.mountVolTarget.c_str());
    context.LogReport("CaptureMountVolInfo AppArgs: %s", commandLine.c_str());
    context.LogReport("CaptureMountVolInfo Target Folder Name: %s", context.run.mountVolTarget.c_str());
    ChildrenOf(context).RunCommand(commandLine);
    context.Produced(context.run.mountVolTarget);
    context.LogReport("Finish - CaptureMountVolInfo");
}

void CaptureHNVInfo(StepContext& context) {
    context.LogReport("Start - CaptureHNVInfo");
    ChildrenOf(context).RunCommand(text::Format("%s >> %s", "qzclustadm nidmap", context.run.hnvNidmapTarget.c_str()));
    ChildrenOf(context).RunCommand(text::Format("%s >> %s", "qzclustadm -v nodestate", context.run.hnvNodestateTarget.c_str()));
    context.Produced(context.run.hnvNidmapTarget);
    context.Produced(context.run.hnvNodestateTarget);
    context.LogReport("Finish - CaptureHNVInfo");
}
