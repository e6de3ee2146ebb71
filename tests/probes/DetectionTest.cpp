// The component detection as the dialog's initialisation runs it: on a machine with the
// whole product, and on one without it.
#include <gtest/gtest.h>

#include <algorithm>

#include "ProductRegistry.h"
#include "SimulatedProduct.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "TestService.h"
#include "resources/resource.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

OsVersionInfo Windows2003() { return {VER_PLATFORM_WIN32_NT, 5, 2, 3790, "Service Pack 2"}; }
OsVersionInfo WindowsVista() { return {VER_PLATFORM_WIN32_NT, 6, 0, 6002, "Service Pack 2"}; }

// An environment variable of this process set for the life of the object; its old value
// (or its absence) comes back when the object goes.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        char old[MAX_PATH] = {};
        DWORD length = ::GetEnvironmentVariableA(name_, old, MAX_PATH);
        hadValue_ = length > 0 && length < MAX_PATH;
        if (hadValue_) old_ = old;
        ::SetEnvironmentVariableA(name_, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableA(name_, hadValue_ ? old_.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    bool hadValue_ = false;
    std::string old_;
};

// A started collection with its detection run, as the dialog's initialisation runs it.
class Detected {
public:
    explicit Detected(OsVersionReader reader = ReadSystemOsVersion) : collection(reader) { collection.Initialize(); }
    const BoxState& Box(int id) { return collection.Box(id); }
    // The detection's entries, from its start to its end.
    Lines DetectionEntries() {
        collection.report.file.Close();
        Lines all = ReportEntries(ReadWholeFile(OwnReportName()));
        auto start = std::find(all.begin(), all.end(), "Start - Initialize");
        return Lines(start, all.end());
    }

    StartedCollection collection;
};

// A string value planted in one of Windows' own keys: the key stays, only the value goes again.
class PlantedValue {
public:
    PlantedValue(std::string key, std::string name, const std::string& value)
        : key_(std::move(key)), name_(std::move(name)) {
        SetMachineString(key_, name_, value);
    }
    ~PlantedValue() { ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key_.c_str(), name_.c_str()); }
    PlantedValue(const PlantedValue&) = delete;
    PlantedValue& operator=(const PlantedValue&) = delete;

private:
    std::string key_;
    std::string name_;
};

// True when every line of `wanted` appears in `entries`, in this order (others may stand between).
::testing::AssertionResult InOrder(const Lines& entries, const Lines& wanted) {
    auto at = entries.begin();
    for (const std::string& line : wanted) {
        at = std::find(at, entries.end(), line);
        if (at == entries.end()) return ::testing::AssertionFailure() << "missing or out of order: " << line;
        ++at;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(DetectionWithoutTheProduct, ReportsEachMissingComponentAndGreysItsBox) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    Detected detected;

    EXPECT_TRUE(InOrder(detected.DetectionEntries(),
                        {"Start - Initialize", "Enable and Set all Check Boxes...", "VM Service is NOT running",
                         "OKAPO: NOT Installed", "YEB: NOT Installed", "YEB: NOT Installed", "TGN is NOT installed",
                         "Error Opening Schedules key!", "ZRX: NOT Installed", "MPS Report option is disabled",
                         "Path details for VM (kerd) path/logs are not found", "No License(s) Exist",
                         "NOTE: Following options are enabled/disabled based on MPS Report option state",
                         "Application Event Log", "System Event Log", "Boot.INI ", "MSCS Cluster Log", "OS Info"}));
    for (int greyedButChecked : {IDC_PROVIDERS, IDC_OKAPO_LOGS, IDC_TGN, IDC_KERD_LOGS, IDC_LICENSES}) {
        const BoxState& box = detected.Box(greyedButChecked);
        EXPECT_FALSE(box.enabled) << greyedButChecked;
        EXPECT_TRUE(box.check == BST_CHECKED) << greyedButChecked;
    }
    for (int greyedAndCleared : {IDC_QZSVC_DUMP, IDC_ZRX, IDC_SOLUTIONS, IDC_RBK_SCHEDULES, IDC_PQH_HA, IDC_WLT,
                                 IDC_DR_WATSON_LOG, IDC_USER_DUMP, IDC_MPS_REPORTS}) {
        const BoxState& box = detected.Box(greyedAndCleared);
        EXPECT_FALSE(box.enabled) << greyedAndCleared;
        EXPECT_FALSE(box.check == BST_CHECKED) << greyedAndCleared;
    }
    const BoxState& tejRqn = detected.Box(IDC_TEJ_RQN);
    EXPECT_TRUE(tejRqn.enabled && tejRqn.check == BST_CHECKED);
    const DetectionResults& found = detected.collection.detection;
    EXPECT_EQ(found.serviceRunning + found.okapoTraceRegistered + found.yebTraceRegistered + found.tgnInstalled +
                  found.zrxInstalled + found.kerdLogsFound + found.licenceFilesFound,
              0);
    EXPECT_EQ(found.tejRqnEnabled, 1);
}

TEST(DetectionWithoutTheProduct, ASchedulesKeyWithoutSchedulesClearsRbkSchedules) {
    RemoveMachineKey(kProductRoot);
    CreateMachineKey("SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\Schedules");
    ScopedWorkFolder folder;
    {
        Detected detected;
        const BoxState& box = detected.Box(IDC_RBK_SCHEDULES);
        EXPECT_FALSE(box.enabled || box.check == BST_CHECKED);
        EXPECT_TRUE(InOrder(detected.DetectionEntries(), {"Error enumerating Schedules key!"}));
    }
    RemoveMachineKey(kProductRoot);
}

TEST(DetectionWithoutTheProduct, AnOptionsTextWithoutALogFileGreysLogs) {
    RemoveMachineKey(kProductRoot);
    SetMachineString("SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager", "KerdOptions", "-level=3");
    ScopedWorkFolder folder;
    {
        Detected detected;
        EXPECT_FALSE(detected.Box(IDC_KERD_LOGS).enabled);
        EXPECT_TRUE(InOrder(detected.DetectionEntries(),
                            {"VM Log file path: -level=3", "Path details for VM (kerd) path/logs are not found"}));
    }
    RemoveMachineKey(kProductRoot);
}

TEST(DetectionWithoutTheProduct, RegisteredPathsThatAreMissingGreyTheirBoxes) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    std::string missing = folder.Path() + "\\missing";
    SetMachineString("SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\Tracing", "TRACEFILE", missing + "\\trace.log");
    SetMachineString("SOFTWARE\\BRENNOCK\\rirevirarara\\RirEvirararaLog\\Default", "LogDirectory", missing);
    SetMachineString("SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager", "KerdOptions",
                     "logfile=\"" + missing + "\\kerd.log\"");
    {
        Detected detected;
        const DetectionResults& found = detected.collection.detection;
        EXPECT_EQ(found.okapoTraceRegistered, 1);
        EXPECT_EQ(found.okapoTraceFound, 0);
        EXPECT_EQ(found.yebTracePath, missing + "\\trace.log");  // the console's first place names none
        // The options named a log file, so the kerd logs stay found although their folder is not there.
        EXPECT_EQ(found.kerdLogsFound, 1);
        EXPECT_EQ(found.kerdLogFolder, missing);
        EXPECT_EQ(found.kerdLogPattern, "\\kerd.log\"");
        for (int greyedButChecked : {IDC_OKAPO_LOGS, IDC_KERD_LOGS}) {
            const BoxState& box = detected.Box(greyedButChecked);
            EXPECT_TRUE(!box.enabled && box.check == BST_CHECKED) << greyedButChecked;
        }
        const BoxState& solutions = detected.Box(IDC_SOLUTIONS);
        EXPECT_FALSE(solutions.enabled || solutions.check == BST_CHECKED);
        Lines entries = detected.DetectionEntries();
        EXPECT_TRUE(InOrder(entries, {"OKAPO: Installed", "Start - IsFileExists " + missing + "\\trace.log",
                                      "Solutions Log path and name: " + missing, "Start - IsFileExists " + missing,
                                      "VM Log file path -- after parsing: " + missing,
                                      "Start - IsFileExists " + missing, "Finish - IsFileExists Error = 2"}));
        EXPECT_EQ(std::count(entries.begin(), entries.end(), "Path details for VM (kerd) path/logs are not found"), 0);
    }
    RemoveMachineKey(kProductRoot);
}

TEST(DetectionOnWindows2003, TheClusterLogIsAFileInTheClusterFolder) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    Detected detected(Windows2003);
    std::string expected = detected.collection.folders.windowsDirectory + "\\CLUSTER\\CLUSTER.LOG";
    EXPECT_EQ(detected.collection.detection.clusterLogPath, expected);
    EXPECT_TRUE(InOrder(detected.DetectionEntries(), {"Cluster Log and path: " + expected, "MSCS: NOT Installed"}));
    EXPECT_FALSE(detected.Box(IDC_CLUSTER_LOGS).enabled);
}

TEST(DetectionOnWindows2003, DrWatsonsLogAndUserDumpInTheProfileEnableTheirBoxes) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    std::string drWatson = folder.Path();
    for (const char* part : {"\\profile", "\\Local Settings", "\\Application Data", "\\Microsoft", "\\Dr Watson"}) {
        drWatson += part;
        ASSERT_TRUE(::CreateDirectoryA(drWatson.c_str(), nullptr)) << drWatson;
    }
    WriteWholeFile(drWatson + "\\DRWTSN32.LOG", "log");
    WriteWholeFile(drWatson + "\\USER.DMP", "dump");
    ScopedVariable profile("USERPROFILE", folder.Path() + "\\profile");
    Detected detected(Windows2003);

    EXPECT_EQ(detected.collection.detection.drWatsonLogFound, 1);
    EXPECT_EQ(detected.collection.detection.userDumpFound, 1);
    for (int id : {IDC_DR_WATSON_LOG, IDC_USER_DUMP}) {
        const BoxState& box = detected.Box(id);
        EXPECT_TRUE(box.enabled && box.check == BST_CHECKED) << id;
    }
    EXPECT_TRUE(InOrder(detected.DetectionEntries(),
                        {"Start - IsFileExists " + drWatson + "\\DRWTSN32.LOG",
                         drWatson + "\\DRWTSN32.LOG is available", "ZRX: NOT Installed",
                         "Start - IsFileExists " + drWatson + "\\USER.DMP", drWatson + "\\USER.DMP is available"}));
}

TEST(DetectionOnVersion6, TheClusterProbeTestsTheFolderAndDrWatsonIsAlwaysOff) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    Detected detected(WindowsVista);
    std::string clusterFolder = detected.collection.folders.windowsDirectory + "\\CLUSTER";
    EXPECT_EQ(detected.collection.detection.clusterLogPath, clusterFolder);
    for (int id : {IDC_DR_WATSON_LOG, IDC_USER_DUMP}) {
        const BoxState& box = detected.Box(id);
        EXPECT_FALSE(box.enabled || box.check == BST_CHECKED) << id;
    }
    Lines entries = detected.DetectionEntries();
    EXPECT_TRUE(InOrder(entries, {"Cluster Path: " + clusterFolder, "Start - IsFileExists " + clusterFolder,
                                  "MPS Report option is disabled", "Start - IsFileExists ",
                                  "Finish - IsFileExists Empty File Name.",
                                  "Path details for VM (kerd) path/logs are not found"}));
    // Dr. Watson's log is not even looked for: the only empty-name probe is the user dump's.
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Finish - IsFileExists Empty File Name."), 1);
}

TEST(DetectionOfTheService, TheCompanionServiceCountsWhenQzSvcIsNotThere) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    InstalledService companion("qzob");
    Detected detected;
    EXPECT_EQ(detected.collection.detection.serviceRunning, 1);
    for (int id : {IDC_QZSVC_DUMP, IDC_PROVIDERS}) EXPECT_TRUE(detected.Box(id).enabled) << id;
    EXPECT_TRUE(InOrder(detected.DetectionEntries(),
                        {"Start - IsQzSvcRunning - Service Name: qzsvc", "Finish - IsQzSvcRunning. Error = 6",
                         "Start - IsQzSvcRunning - Service Name: qzob", "Service: qzob is up and running!",
                         "Finish - IsQzSvcRunning. Error = 0", "VM Service is running"}));
}

TEST(DetectionOfTheSystemInformationTool, OnlyARegisteredToolThatExistsEnablesMsinfo32) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    std::string tool = folder.Path() + "\\msinfo32.exe";
    PlantedValue path("SOFTWARE\\Microsoft\\Shared Tools\\MSInfo", "Path", tool);
    {
        Detected missing;
        EXPECT_EQ(missing.collection.detection.msinfoFound, 0);
        EXPECT_EQ(missing.collection.detection.msinfoPath, tool);
        const BoxState& box = missing.Box(IDC_MSINFO32);
        EXPECT_TRUE(!box.enabled && box.check == BST_CHECKED);
    }
    WriteWholeFile(tool, "MZ");
    Detected found;
    EXPECT_EQ(found.collection.detection.msinfoFound, 1);
    EXPECT_TRUE(found.Box(IDC_MSINFO32).enabled);
    EXPECT_TRUE(InOrder(found.DetectionEntries(),
                        {"Path in Registry: " + tool, "MS Info application path and name: " + tool,
                         "Start - IsFileExists " + tool, tool + " is available", "Solutions Log Info not found!"}));
}

TEST(DetectionOfTheLicences, AnEmptyLicenceFolderHoldsNoLicence) {
    RemoveMachineKey(kProductRoot);
    ScopedWorkFolder folder;
    char shared[MAX_PATH] = {};
    ::ExpandEnvironmentStringsA("%SystemDrive%\\Program Files (x86)\\Common Files\\Brennock Shared", shared,
                                MAX_PATH);
    std::string licences = std::string(shared) + "\\hlmqlic";
    RemoveTree(shared);
    ASSERT_TRUE(::CreateDirectoryA(shared, nullptr));
    ASSERT_TRUE(::CreateDirectoryA(licences.c_str(), nullptr));
    licences += "\\lic";
    ASSERT_TRUE(::CreateDirectoryA(licences.c_str(), nullptr));
    {
        Detected detected;
        EXPECT_EQ(detected.collection.detection.licenceFolder, licences);
        EXPECT_EQ(detected.collection.detection.licenceFilesFound, 0);
        EXPECT_FALSE(detected.Box(IDC_LICENSES).enabled);
        EXPECT_TRUE(InOrder(detected.DetectionEntries(),
                            {"Start - IsFileExists " + licences, "Licenses Folder Exists", "No License(s) Exist"}));
    }
    RemoveTree(shared);
}

class DetectionWithTheProduct : public ::testing::Test {
protected:
    ScopedWorkFolder folder;
    SimulatedProduct product{folder.Path()};
    InstalledService service{"qzsvc"};
    Detected detected;
};

TEST_F(DetectionWithTheProduct, FindsEveryComponentAndKeepsItsPaths) {
    const DetectionResults& found = detected.collection.detection;
    EXPECT_EQ(found.serviceRunning, 1);
    EXPECT_EQ(found.alertLogPath, product.root + "\\ALERTLOG\\ALERT.LOG");
    EXPECT_EQ(found.okapoTraceRegistered + found.okapoTraceFound, 2);
    EXPECT_EQ(found.okapoTracePath, product.okapoTrace);
    // The console's own trace, found at the first place, is not replaced by the framework's.
    EXPECT_EQ(found.yebTraceRegistered + found.yebTraceFound, 2);
    EXPECT_EQ(found.yebTracePath, product.yebTrace);
    EXPECT_EQ(found.tgnInstalled + found.tgnXmlInstalled, 2);
    EXPECT_EQ(found.tgnXmlFolder, product.xmlFolder);
    EXPECT_EQ(found.solutionsLogPath, product.solutionsFolder);
    EXPECT_EQ(found.zrxInstalled, 1);
    EXPECT_EQ(found.kerdLogsFound, 1);
    EXPECT_EQ(found.kerdLogFolder, product.kerdFolder);
    EXPECT_EQ(found.kerdLogPattern, "*");
    EXPECT_EQ(found.licenceFolder, product.licenceFolder);
    EXPECT_EQ(found.licenceFilesFound, 1);
    EXPECT_EQ(found.clusterSnapshotToolFound + found.wltSnapshotToolFound, 2);
    EXPECT_EQ(found.clusterSnapshotToolPath, product.clusterSnapshotTool);
    EXPECT_EQ(found.wltSnapshotToolPath, product.wltSnapshotTool);
    EXPECT_EQ(found.mpsToolFound, 1);
    EXPECT_EQ(found.pelorinLogFolder, found.commonAppData + "\\Tobrin\\Pelorin");
}

TEST_F(DetectionWithTheProduct, EnablesAndChecksTheBoxesOfWhatItFinds) {
    for (int id : {IDC_QZSVC_DUMP, IDC_PROVIDERS, IDC_OKAPO_LOGS, IDC_TGN, IDC_ZRX, IDC_MPS_REPORTS, IDC_KERD_LOGS,
                   IDC_PELORIN, IDC_LICENSES, IDC_SOLUTIONS, IDC_RBK_SCHEDULES, IDC_PQH_HA, IDC_WLT, IDC_TEJ_RQN})
        EXPECT_TRUE(detected.Box(id).enabled) << id;
    for (int checked : {IDC_SOLUTIONS, IDC_RBK_SCHEDULES, IDC_PQH_HA, IDC_WLT, IDC_ZRX})
        EXPECT_TRUE(detected.Box(checked).check == BST_CHECKED) << checked;
    // The detection never checks these two: QzSvc Dump and MPS Reports start clear.
    EXPECT_FALSE(detected.Box(IDC_QZSVC_DUMP).check == BST_CHECKED);
    EXPECT_FALSE(detected.Box(IDC_MPS_REPORTS).check == BST_CHECKED);
}

TEST_F(DetectionWithTheProduct, ReportsItsFindingsInDetectionOrder) {
    const std::string& root = product.root;
    Lines entries = detected.DetectionEntries();
    // The companion service is asked about only when qzsvc is not running.
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Start - IsQzSvcRunning - Service Name: qzob"), 0);
    EXPECT_TRUE(InOrder(
        entries,
        {"Start - Initialize", "Service: qzsvc is up and running!", "VM Service is running",
         "OKAPO/YEB AlertLog file path: " + root + "\\", "YEB Alert is available", "OKAPO: Installed",
         "OKAPO Trace file path: " + product.okapoTrace, "YEB: Installed", "YEB Trace file path: " + product.yebTrace,
         "YEB: Installed", "YEB Trace file path: " + product.okapoTrace, "TGN: Installed",
         "TGN XML Files path: " + product.xmlFolder, "Solutions Log path and name: " + product.solutionsFolder,
         "KDX/VM Version: 6.1.0.445",
         "ZRX Registry path = SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager\\constants", "ZRX: Installed",
         "MPS Report option is enabled",
         "VM Log file path: -level=3 logfile=\"" + product.kerdFolder + "\\kerd.log\" -size=10",
         "VM Log file path -- after parsing: " + product.kerdFolder, "Pelorin Installed", "Licenses Folder Exists",
         "License(s) Exist", "Start - IsFileExists " + product.clusterSnapshotTool,
         "Start - IsFileExists " + product.wltSnapshotTool, "Application Event Log"}));
}

TEST_F(DetectionWithTheProduct, EndsWithTheFinishLine) {
    Lines entries = detected.DetectionEntries();
    EXPECT_EQ(entries.back(), "Finish - Initialize. Error=0<BR>");
}
