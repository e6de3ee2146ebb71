// The management server's gather script, and the storage-foundation-manager diagnostic that
// stands in for it where it cannot run.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "capture/Captures.h"
#include "engine/FolderWatch.h"
#include "engine/StepContext.h"
#include "probes/Probes.h"

namespace {
constexpr const char* kManagementServerKey = "SOFTWARE\\TOBRIN\\NLDH\\quintl";
constexpr const char* kGatherScript = "wkegather.pl";
}  // namespace

void CaptureWKEInfo(StepContext& context) {
    context.LogReport("Start - CaptureWKEInfo");
    std::string managementServerFolder = context.services.ManagementServerFolder();
    const bool found = IsPathExistsInRegistry(context, kManagementServerKey, "Installdir", managementServerFolder, 0);
    // The comms row takes it from here when its own read finds none.
    context.services.SetManagementServerFolder(managementServerFolder);
    if (!found) {
        CaptureNLDInfo(context);
        return;
    }
    // The stored folder ends with a backslash, so the names follow it directly.
    context.LogReport("WKE Install Dir: %s", managementServerFolder.c_str());
    std::string script = text::Format("%sadm\\%s", managementServerFolder.c_str(), kGatherScript);
    if (!IsFileExists(context, script)) {
        context.LogReport("%s is NOT available", kGatherScript);
        CaptureNLDInfo(context);
        return;
    }
    context.LogReport("%s is available", kGatherScript);
    // The outer quotes are the interpreter's to take off, so both inner paths stay quoted.
    std::string commandLine = text::Format("\"\"%sbin\\perl\" \"%s\" --dir %s\"", managementServerFolder.c_str(),
                                           script.c_str(), context.run.wkeFolder.c_str());
    context.LogReport("WKE App and Args: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    context.LogReport("WKE Target Folder Name: %s", context.run.wkeFolder.c_str());
    int result = 0;
    {
        FolderWatch watch(context, context.run.wkeFolder);
        result = ChildrenOf(context).RunCommand(commandLine);
    }
    if (result != 0) {
        // "-list" cannot know how the gather would end: the diagnostic is planned as its fallback.
        if (context.plan != nullptr) context.plan->IfThatFails();
        CaptureNLDInfo(context);
    }
}

void CaptureNLDInfo(StepContext& context) {
    context.LogReport("Start - CaptureNLDInfo");
    std::string commandLine = text::Format("\"%s\" \"%s\"", context.paths.nldDiagScript.c_str(), context.run.nldFolder.c_str());
    context.LogReport("NLD App and Args: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    context.LogReport("NLD Target Folder Name: %s", context.run.nldFolder.c_str());
    FolderWatch watch(context, context.run.nldFolder);
    ChildrenOf(context).RunQuotedCommand(commandLine);
    context.LogReport("Finish - CaptureNLDInfo");
}
