// The capture step table in a whole run: which rows act under which options and findings,
// and the exact command lines the rows hand to the command files and tools.
#include <algorithm>

#include "RunFixture.h"

using testing_support::PathExists;
using testing_support::ReadWholeFile;
using testing_support::WriteWholeFile;

namespace {

std::string Quoted(const std::string& path) {
    std::string quoted = "\"";
    quoted += path;
    quoted += '"';
    return quoted;
}

}  // namespace

class CaptureSteps : public CollectionRun {
protected:
    // The "Start - ..." entries of the capture steps: between the run's dialog state (the
    // initialisation wrote one too) and the time block.
    std::vector<std::string> CaptureStarts() {
        auto entries = ReportEntries();
        auto lastState =
            std::find_if(entries.rbegin(), entries.rend(),
                         [](const std::string& entry) { return entry.rfind("Finish - ReportDlgState", 0) == 0; });
        size_t first = static_cast<size_t>(entries.rend() - lastState);
        size_t last = IndexOf(entries, "*********************** Time Information **************************");
        std::vector<std::string> starts;
        for (size_t i = first; i < last && i < entries.size(); ++i)
            if (entries[i].rfind("Start - ", 0) == 0) starts.push_back(entries[i]);
        return starts;
    }
    std::string Run() const { return collection.run.runFolder; }
};

TEST_F(CaptureSteps, WithEveryOptionClearOnlyTheAlertLogAndMountPointsAct) {
    collection.RunCollection();
    EXPECT_EQ(CaptureStarts(), (std::vector<std::string>{"Start - GrabFile", "Start - CaptureMountVolInfo"}));
    auto entries = ReportEntries();
    EXPECT_TRUE(Contains(entries, "Target File: " + Run() + "\\VM\\ALERT.LOG"));
    // Neither folder was asked for: the two rows made them, inside the run folder.
    EXPECT_TRUE(PathExists(Run() + "\\VM"));
    EXPECT_TRUE(PathExists(Run() + "\\OS"));
    EXPECT_TRUE(Contains(entries, "ULVIX - Done!"));
}

TEST_F(CaptureSteps, WithMpsReportsTheOverlappingRowsAreSkippedAndTheReportIsTaken) {
    collection.options.msinfo32 = collection.options.bootIni = collection.options.clusterLogs = 1;
    collection.options.appEventLog = collection.options.systemEventLog = collection.options.binaryVersion = 1;
    collection.options.mpsReports = 1;
    CheckBoxesAsOptions(collection);
    collection.detection.msinfoFound = collection.detection.bootFileFound = 1;
    collection.detection.clusterPresent = collection.detection.clusterLogFound = 1;
    collection.detection.mpsToolFound = 1;
    collection.detection.mpsToolPath = CopyStub("MPSRPT_2001_CLUSTER.exe");
    // Where the tool leaves its cabinet.
    std::string cabinet = folder.Path() + "\\mps.CAB";
    WriteWholeFile(cabinet, "cabinet");
    collection.detection.mpsCabinetPath = cabinet;
    WriteRecorder("get_foc_logs.cmd");

    collection.RunCollection();

    auto starts = CaptureStarts();
    EXPECT_EQ(std::count(starts.begin(), starts.end(), "Start - CaptureOSInfo"), 0);
    EXPECT_EQ(std::count(starts.begin(), starts.end(), "Start - CaptureEventLog"), 0);
    EXPECT_EQ(std::count(starts.begin(), starts.end(), "Start - CaptureKDXFileInfo"), 0);
    EXPECT_EQ(std::count(starts.begin(), starts.end(), "Start - CaptureQzUtils"), 1);
    EXPECT_TRUE(Calls().size() == 1 && Calls()[0].rfind("mpsrpt_2001_cluster|", 0) == 0);
    EXPECT_EQ(ReadWholeFile(Run() + "\\OS\\MPSReports_CLUSTER.CAB"), "cabinet");
    EXPECT_TRUE(PathExists(cabinet));  // copied, not moved
    EXPECT_FALSE(PathExists(Run() + "\\OS\\SYSTEM32_EXE_VER.TXT"));
    EXPECT_FALSE(PathExists(Run() + "\\OS\\BOOT.INI"));
}

TEST_F(CaptureSteps, ClusterLogCommandEndsInOneOnlyOnVersion62Or63) {
    WriteRecorder("get_foc_logs.cmd");
    collection.options.clusterLogs = 1;
    CheckBoxesAsOptions(collection);
    collection.detection.clusterPresent = collection.detection.clusterLogFound = 1;
    collection.os.isVersion6 = 1;
    for (int version62Or63 : {1, 0}) {
        collection.os.isVersion62Or63 = version62Or63;
        collection.run.runFolder = destination + "run" + std::to_string(version62Or63);
        ASSERT_TRUE(::CreateDirectoryA(collection.run.runFolder.c_str(), nullptr));
        collection.run.osFolder.clear();
        collection.AssignTargetPaths();
        collection.RunCaptureSteps();
    }
    EXPECT_EQ(Calls(), (std::vector<std::string>{"get_foc_logs.cmd " + destination + "run1\\OS 1",
                                                 "get_foc_logs.cmd " + destination + "run0\\OS 0"}));
}

TEST_F(CaptureSteps, BootLogsAreStoppedFirstThenCollectedAndStartedAgain) {
    for (const char* name : {"stop_wpp_ssn.cmd", "get_wpp_logs.cmd", "start_wpp_ssn.cmd"}) WriteRecorder(name);
    collection.options.bootLog = 1;
    collection.options.qzdiag = 1;  // a row between the two
    CheckBoxesAsOptions(collection);
    ASSERT_TRUE(::CreateDirectoryA("DOTNET", nullptr));
    collection.paths.qzdiagTool = Quoted(CopyStub("DOTNET\\qzdiag2003.EXE"));
    collection.RunCollection();
    // Wine's cmd reads "start_wpp_ssn.cmd" as its own START command with the argument
    // "_wpp_ssn.cmd", so the restart of the logging never reaches the command file here.
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 3u) << ::testing::PrintToString(calls);
    EXPECT_EQ(calls[0], "stop_wpp_ssn.cmd");
    EXPECT_EQ(calls[1].rfind("qzdiag2003|", 0), 0u);
    EXPECT_EQ(calls[2], "get_wpp_logs.cmd");
    auto entries = ReportEntries();
    size_t start = IndexOf(entries, "Start - Capturing WPP Boot Logs ...");
    EXPECT_LT(start, IndexOf(entries, "Finish - Capturing WPP Boot Logs ..."));
}

TEST_F(CaptureSteps, QzDiagOutputIsAppendedToItsTarget) {
    collection.options.qzdiag = 1;
    CheckBoxesAsOptions(collection);
    ASSERT_TRUE(::CreateDirectoryA("DOTNET", nullptr));
    collection.paths.qzdiagTool = Quoted(CopyStub("DOTNET\\qzdiag2003.EXE"));
    collection.RunCollection();
    const std::string target = Run() + "\\VM\\qzdiag.txt";
    auto entries = ReportEntries();
    size_t start = IndexOf(entries, "Start - Capturing QzDiag Information ...");
    ASSERT_LT(start + 3, entries.size());
    EXPECT_EQ(entries[start + 1], "QzDiag App: " + collection.paths.qzdiagTool + " >> " + target);
    EXPECT_EQ(entries[start + 2], "QzDiag Target Folder Name: " + target);
    EXPECT_EQ(entries[start + 3], "Finish - Capturing QzDiag Information");
    EXPECT_EQ(ReadWholeFile(target), "qzdiag2003 stub output:\r\n");
}

TEST_F(CaptureSteps, InstallerDiagnosticsGetTheRuqFolderUnquoted) {
    collection.options.ruq = 1;
    CheckBoxesAsOptions(collection);
    collection.paths.ruqDiagTool = CopyStub("ruqdiaginfo.exe");
    collection.paths.ruqDumpTool = CopyStub("ruqdump.exe");
    collection.RunCollection();
    const std::string ruq = Run() + "\\RUQ";
    EXPECT_EQ(Calls(), (std::vector<std::string>{
                           "ruqdiaginfo|" + collection.paths.ruqDiagTool + " " + ruq + " /silent",
                           "ruqdump|" + collection.paths.ruqDumpTool + " " + ruq,
                       }));
    EXPECT_TRUE(PathExists(ruq + "\\ruqdiaginfo.log"));
    EXPECT_TRUE(PathExists(ruq + "\\ruqdump.log"));
}

TEST_F(CaptureSteps, SnapshotToolWritesIntoTheRunFolderAndHaLogsArePacked) {
    WriteRecorder("get_ha_filever.cmd");
    WriteRecorder("qzhacab.cmd");
    collection.options.pqhHa = collection.options.compress = 1;
    CheckBoxesAsOptions(collection);
    collection.detection.clusterSnapshotToolFound = 1;
    collection.detection.clusterSnapshotToolPath = CopyStub("clusnap.exe");
    collection.RunCollection();
    auto calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "clusnap|\"" + collection.detection.clusterSnapshotToolPath + "\" -o \"" + Run() + "\"");
    EXPECT_EQ(calls[1], "get_ha_filever.cmd " + Run());
    EXPECT_EQ(calls[2], "qzhacab.cmd " + Run() + "\\clusnap " + collection.folders.systemDirectory + " 123456 NO " +
                            collection.run.timeStamp + " 0");
    EXPECT_TRUE(PathExists(Run() + "\\clusnap\\clusnap.log"));
    EXPECT_TRUE(PathExists(Run() + "\\clusnap\\QzHAFilesToCab3.TXT"));
}

TEST_F(CaptureSteps, CommunicationLogsRunTheScriptWithTheManagementServersPerl) {
    std::string install = folder.Path() + "\\nldh\\";
    ASSERT_TRUE(::CreateDirectoryA(install.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((install + "bin").c_str(), nullptr));
    WriteWholeFile(install + "bin\\perl.cmd", "@echo off\r\n>>\"" + callLog + "\" echo perl %*\r\n");
    collection.options.tejRqn = 1;
    CheckBoxesAsOptions(collection);
    collection.detection.tejRqnEnabled = 1;
    collection.run.managementServerFolder = install;  // what an earlier read left; no value in the registry
    collection.RunCollection();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"perl \"" + collection.paths.linkgrabScript + "\" -local -d " + Run() +
                                                 "\\TEJ"}));
}

TEST_F(CaptureSteps, LicenceAndPelorinFoldersAreMadeAndFilled) {
    std::string licences = folder.Path() + "\\licences";
    ASSERT_TRUE(::CreateDirectoryA(licences.c_str(), nullptr));
    WriteWholeFile(licences + "\\a.lic", "a");
    std::string pelorin = folder.Path() + "\\pelorin";
    ASSERT_TRUE(::CreateDirectoryA(pelorin.c_str(), nullptr));
    WriteWholeFile(pelorin + "\\Log.Pelorin", "log");
    WriteWholeFile(pelorin + "\\Product.Inventory.Pelorin", "inventory");
    WriteWholeFile(pelorin + "\\other.txt", "not taken");
    collection.options.licenses = collection.options.pelorin = 1;
    CheckBoxesAsOptions(collection);
    collection.detection.licenceFolder = licences;
    collection.detection.pelorinLogFolder = pelorin;
    collection.detection.licenceFilesFound = collection.detection.pelorinInstalled = 1;
    collection.RunCollection();
    EXPECT_EQ(ReadWholeFile(Run() + "\\LICENSES\\a.lic"), "a");
    EXPECT_EQ(ReadWholeFile(Run() + "\\PLR\\Log.Pelorin"), "log");
    EXPECT_EQ(ReadWholeFile(Run() + "\\PLR\\Product.Inventory.Pelorin"), "inventory");
    EXPECT_FALSE(PathExists(Run() + "\\PLR\\other.txt"));
}

// The detection greys these boxes but leaves them checked.
TEST_F(CaptureSteps, LicenceAndPelorinRowsNeedWhatTheDetectionFound) {
    collection.options.licenses = collection.options.pelorin = 1;
    CheckBoxesAsOptions(collection);
    collection.detection.licenceFilesFound = collection.detection.pelorinInstalled = 0;
    collection.RunCollection();
    EXPECT_FALSE(collection.record.Steps().at(35).carriedOut);
    EXPECT_FALSE(collection.record.Steps().at(36).carriedOut);
    EXPECT_FALSE(PathExists(Run() + "\\LICENSES") || PathExists(Run() + "\\PLR"));
}

TEST_F(CaptureSteps, VersionListingsGoToTheOsFolderAndBinaryVersionsToVm) {
    std::string system = folder.Path() + "\\system32";
    ASSERT_TRUE(::CreateDirectoryA(system.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((system + "\\drivers").c_str(), nullptr));
    std::string stub = testing_support::ProgramFolder() + "\\zeltrin-stub-tool.exe";
    ASSERT_TRUE(::CopyFileA(stub.c_str(), (system + "\\one.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(stub.c_str(), (system + "\\drivers\\two.sys").c_str(), FALSE));
    collection.folders.systemDirectory = system;
    collection.options.binaryVersion = 1;
    CheckBoxesAsOptions(collection);
    collection.RunCollection();
    EXPECT_NE(ReadWholeFile(Run() + "\\OS\\SYSTEM32_EXE_VER.TXT").find("one.exe"), std::string::npos);
    EXPECT_TRUE(PathExists(Run() + "\\OS\\SYSTEM32_DLL_VER.TXT"));
    EXPECT_NE(ReadWholeFile(Run() + "\\OS\\SYSTEM32_SYS_VER.TXT").find("two.sys"), std::string::npos);
    auto starts = CaptureStarts();
    EXPECT_EQ(std::count(starts.begin(), starts.end(), "Start - CaptureKDXFileInfo"), 1);
}
