// The management server's gather script, and the storage-foundation-manager diagnostic that
// stands in for it where it cannot run.
#include "common/text/Format.h"
#include "capture/ChildrenOf.h"
#include "engine/Collection.h"

namespace {
constexpr const char* kManagementServerKey = "SOFTWARE\\TOBRIN\\NLDH\\quintl";
constexpr const char* kGatherScript = "wkegather.pl";
}  // namespace

void Collection::CaptureWKEInfo() {
    LogReport("Start - CaptureWKEInfo");
    if (!IsPathExistsInRegistry(kManagementServerKey, "Installdir", run.managementServerFolder, 0)) {
        CaptureNLDInfo();
        return;
    }
    // The stored folder ends with a backslash, so the names follow it directly.
    LogReport("WKE Install Dir: %s", run.managementServerFolder.c_str());
    std::string script = text::Format("%sadm\\%s", run.managementServerFolder.c_str(), kGatherScript);
    if (!IsFileExists(script)) {
        LogReport("%s is NOT available", kGatherScript);
        CaptureNLDInfo();
        return;
    }
    LogReport("%s is available", kGatherScript);
    // The outer quotes are the interpreter's to take off, so both inner paths stay quoted.
    std::string commandLine = text::Format("\"\"%sbin\\perl\" \"%s\" --dir %s\"", run.managementServerFolder.c_str(),
                                           script.c_str(), run.wkeFolder.c_str());
    LogReport("WKE App and Args: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    LogReport("WKE Target Folder Name: %s", run.wkeFolder.c_str());
    if (ChildrenOf(*this).RunCommand(commandLine) != 0) {
        // "-list" cannot know how the gather would end: the diagnostic is planned as its fallback.
        if (plan != nullptr) plan->IfThatFails();
        CaptureNLDInfo();
    }
}

void Collection::CaptureNLDInfo() {
    LogReport("Start - CaptureNLDInfo");
    std::string commandLine = text::Format("\"%s\" \"%s\"", paths.nldDiagScript.c_str(), run.nldFolder.c_str());
    LogReport("NLD App and Args: %s", process::ChildRunner::ShownCommand(commandLine).c_str());
    LogReport("NLD Target Folder Name: %s", run.nldFolder.c_str());
    ChildrenOf(*this).RunQuotedCommand(commandLine);
    LogReport("Finish - CaptureNLDInfo");
}
