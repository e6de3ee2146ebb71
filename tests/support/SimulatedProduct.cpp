#include "SimulatedProduct.h"

#include <windows.h>

#include "ProductRegistry.h"
#include "TestFiles.h"

namespace testing_support {

namespace {

constexpr const char* kProductKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion";
constexpr const char* kVolumeManagerKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager";

std::string TempFolder() {
    char path[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, path);
    return path;
}

std::string Expanded(const char* text) {
    char expanded[MAX_PATH] = {};
    ::ExpandEnvironmentStringsA(text, expanded, MAX_PATH);
    return expanded;
}

// Makes the file and every folder above it that is missing.
void PlantFile(const std::string& path, const std::string& bytes) {
    for (std::string::size_type slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    WriteWholeFile(path, bytes);
}

}  // namespace

SimulatedProduct::SimulatedProduct(const std::string& programFolder) {
    root = TempFolder() + "zeltrin-product-" + std::to_string(::GetCurrentProcessId());
    RemoveTree(root);
    RemoveMachineKey(kProductRoot);

    okapoTrace = root + "\\trace\\QzOKAPO.LOG";
    yebTrace = root + "\\trace\\VM_QzOKAPO.LOG";
    xmlFolder = root + "\\xml";
    solutionsFolder = root + "\\solutions";
    kerdFolder = root + "\\kerd";
    clusterSnapshotTool = root + "\\pqh\\bin\\clusnap.exe";
    wltSnapshotTool = root + "\\wlt\\bin\\wltsnap.exe";
    mpsTool = programFolder + "\\DOTNET\\MPSRPT_2003_CLUSTER.exe";
    licenceRoot_ = Expanded("%SystemDrive%\\Program Files (x86)\\Common Files\\Brennock Shared");
    licenceFolder = licenceRoot_ + "\\hlmqlic\\lic";

    PlantFile(root + "\\ALERTLOG\\ALERT.LOG", "alert\r\n");
    PlantFile(okapoTrace, "okapo trace\r\n");
    PlantFile(yebTrace, "console trace\r\n");
    PlantFile(xmlFolder + "\\plugin.xml", "<plugin/>\r\n");
    PlantFile(solutionsFolder + "\\solutions.log", "solutions\r\n");
    PlantFile(kerdFolder + "\\kerd.log", "kerd\r\n");
    PlantFile(licenceFolder + "\\server.lic", "licence\r\n");
    PlantFile(clusterSnapshotTool, "MZ");
    PlantFile(wltSnapshotTool, "MZ");
    PlantFile(mpsTool, "MZ");

    SetMachineString(kProductKey, "INSTALLDIR", root + "\\");
    SetMachineString(std::string(kProductKey) + "\\Tracing", "TRACEFILE", okapoTrace);
    SetMachineString("SOFTWARE\\BRENNOCK\\HLMQobc\\Nib33\\Agents\\StorageAgent\\Tracing", "TRACEFILE", yebTrace);
    SetMachineString("SOFTWARE\\BRENNOCK\\Dunmere Plug-ins", "XMLDIR", xmlFolder);
    SetMachineString(kVolumeManagerKey, "Version", "6.1.0.445");
    SetMachineString(kVolumeManagerKey, "KerdOptions", "-level=3 logfile=\"" + kerdFolder + "\\kerd.log\" -size=10");
    SetMachineString(std::string(kVolumeManagerKey) + "\\constants\\defaultTemplatePath", "ZRXTEMPLATEPATH",
                     root + "\\zrx");
    SetMachineString("SOFTWARE\\BRENNOCK\\rirevirarara\\RirEvirararaLog\\Default", "LogDirectory", solutionsFolder);
    CreateMachineKey(std::string(kProductKey) + "\\Schedules\\Nightly");

    ::SetEnvironmentVariableA("PQH_HOME", (root + "\\pqh").c_str());
    ::SetEnvironmentVariableA("WLT_HOME", (root + "\\wlt\\").c_str());
}

SimulatedProduct::~SimulatedProduct() {
    ::SetEnvironmentVariableA("PQH_HOME", nullptr);
    ::SetEnvironmentVariableA("WLT_HOME", nullptr);
    RemoveMachineKey(kProductRoot);
    RemoveTree(licenceRoot_);
    RemoveTree(root);
}

}  // namespace testing_support
