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
    std::string Run() const { return dialog.run.runFolder; }
};

TEST_F(CaptureSteps, WithEveryOptionClearOnlyTheAlertLogAndMountPointsAct) {
    dialog.RunCollection();
    EXPECT_EQ(CaptureStarts(), (std::vector<std::string>{"Start - GrabFile", "Start - CaptureMountVolInfo"}));
    auto entries = ReportEntries();
    EXPECT_TRUE(Contains(entries, "Target File: " + Run() + "\\VM\\ALERT.LOG"));
    // Neither folder was asked for: the two rows made them, inside the run folder.
    EXPECT_TRUE(PathExists(Run() + "\\VM"));
    EXPECT_TRUE(PathExists(Run() + "\\OS"));
    EXPECT_TRUE(Contains(entries, "ULVIX - Done!"));
}

TEST_F(CaptureSteps, WithMpsReportsTheOverlappingRowsAreSkippedAndTheReportIsTaken) {
    dialog.options.msinfo32 = dialog.options.bootIni = dialog.options.clusterLogs = 1;
    dialog.options.appEventLog = dialog.options.systemEventLog = dialog.options.binaryVersion = 1;
    dialog.options.mpsReports = 1;
    PushOptions();
    dialog.detection.msinfoFound = dialog.detection.bootFileFound = 1;
    dialog.detection.clusterPresent = dialog.detection.clusterLogFound = 1;
    dialog.detection.mpsToolFound = 1;
    dialog.detection.mpsToolPath = CopyStub("MPSRPT_2001_CLUSTER.exe");
    // Where the tool leaves its cabinet.
    std::string cabinet = folder.Path() + "\\mps.CAB";
    WriteWholeFile(cabinet, "cabinet");
    dialog.detection.mpsCabinetPath = cabinet;
    WriteRecorder("get_foc_logs.cmd");

    dialog.RunCollection();

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
    dialog.options.clusterLogs = 1;
    PushOptions();
    dialog.detection.clusterPresent = dialog.detection.clusterLogFound = 1;
    dialog.os.isVersion6 = 1;
    for (int version62Or63 : {1, 0}) {
        dialog.os.isVersion62Or63 = version62Or63;
        dialog.run.runFolder = destination + "run" + std::to_string(version62Or63);
        ASSERT_TRUE(::CreateDirectoryA(dialog.run.runFolder.c_str(), nullptr));
        dialog.run.osFolder.clear();
        dialog.AssignTargetPaths();
        dialog.RunCaptureSteps();
    }
    EXPECT_EQ(Calls(), (std::vector<std::string>{"get_foc_logs.cmd " + destination + "run1\\OS 1",
                                                 "get_foc_logs.cmd " + destination + "run0\\OS 0"}));
}

TEST_F(CaptureSteps, BootLogsAreStoppedFirstThenCollectedAndStartedAgain) {
    for (const char* name : {"stop_wpp_ssn.cmd", "get_wpp_logs.cmd", "start_wpp_ssn.cmd"}) WriteRecorder(name);
    dialog.options.bootLog = 1;
    dialog.options.qzdiag = 1;  // a row between the two
    PushOptions();
    ASSERT_TRUE(::CreateDirectoryA("DOTNET", nullptr));
    dialog.paths.qzdiagTool = Quoted(CopyStub("DOTNET\\qzdiag2003.EXE"));
    dialog.RunCollection();
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
    dialog.options.qzdiag = 1;
    PushOptions();
    ASSERT_TRUE(::CreateDirectoryA("DOTNET", nullptr));
    dialog.paths.qzdiagTool = Quoted(CopyStub("DOTNET\\qzdiag2003.EXE"));
    dialog.RunCollection();
    const std::string target = Run() + "\\VM\\qzdiag.txt";
    auto entries = ReportEntries();
    size_t start = IndexOf(entries, "Start - Capturing QzDiag Information ...");
    ASSERT_LT(start + 3, entries.size());
    EXPECT_EQ(entries[start + 1], "QzDiag App: " + dialog.paths.qzdiagTool + " >> " + target);
    EXPECT_EQ(entries[start + 2], "QzDiag Target Folder Name: " + target);
    EXPECT_EQ(entries[start + 3], "Finish - Capturing QzDiag Information");
    EXPECT_EQ(ReadWholeFile(target), "qzdiag2003 stub output:\r\n");
}

TEST_F(CaptureSteps, InstallerDiagnosticsGetTheRuqFolderUnquoted) {
    dialog.options.ruq = 1;
    PushOptions();
    dialog.paths.ruqDiagTool = CopyStub("ruqdiaginfo.exe");
    dialog.paths.ruqDumpTool = CopyStub("ruqdump.exe");
    dialog.RunCollection();
    const std::string ruq = Run() + "\\RUQ";
    EXPECT_EQ(Calls(), (std::vector<std::string>{
                           "ruqdiaginfo|" + dialog.paths.ruqDiagTool + " " + ruq + " /silent",
                           "ruqdump|" + dialog.paths.ruqDumpTool + " " + ruq,
                       }));
    EXPECT_TRUE(PathExists(ruq + "\\ruqdiaginfo.log"));
    EXPECT_TRUE(PathExists(ruq + "\\ruqdump.log"));
}

TEST_F(CaptureSteps, SnapshotToolWritesIntoTheRunFolderAndHaLogsArePacked) {
    WriteRecorder("get_ha_filever.cmd");
    WriteRecorder("qzhacab.cmd");
    dialog.options.pqhHa = dialog.options.compress = 1;
    PushOptions();
    dialog.detection.clusterSnapshotToolFound = 1;
    dialog.detection.clusterSnapshotToolPath = CopyStub("clusnap.exe");
    dialog.RunCollection();
    auto calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "clusnap|\"" + dialog.detection.clusterSnapshotToolPath + "\" -o \"" + Run() + "\"");
    EXPECT_EQ(calls[1], "get_ha_filever.cmd " + Run());
    EXPECT_EQ(calls[2], "qzhacab.cmd " + Run() + "\\clusnap " + dialog.folders.systemDirectory + " 123456 NO " +
                            dialog.run.timeStamp + " 0");
    EXPECT_TRUE(PathExists(Run() + "\\clusnap\\clusnap.log"));
    EXPECT_TRUE(PathExists(Run() + "\\clusnap\\QzHAFilesToCab3.TXT"));
}

TEST_F(CaptureSteps, CommunicationLogsRunTheScriptWithTheManagementServersPerl) {
    std::string install = folder.Path() + "\\nldh\\";
    ASSERT_TRUE(::CreateDirectoryA(install.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((install + "bin").c_str(), nullptr));
    WriteWholeFile(install + "bin\\perl.cmd", "@echo off\r\n>>\"" + callLog + "\" echo perl %*\r\n");
    dialog.options.tejRqn = 1;
    PushOptions();
    dialog.detection.tejRqnEnabled = 1;
    dialog.run.managementServerFolder = install;  // what an earlier read left; no value in the registry
    dialog.RunCollection();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"perl \"" + dialog.paths.linkgrabScript + "\" -local -d " + Run() +
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
    dialog.options.licenses = dialog.options.pelorin = 1;
    PushOptions();
    dialog.detection.licenceFolder = licences;
    dialog.detection.pelorinLogFolder = pelorin;
    dialog.RunCollection();
    EXPECT_EQ(ReadWholeFile(Run() + "\\LICENSES\\a.lic"), "a");
    EXPECT_EQ(ReadWholeFile(Run() + "\\PLR\\Log.Pelorin"), "log");
    EXPECT_EQ(ReadWholeFile(Run() + "\\PLR\\Product.Inventory.Pelorin"), "inventory");
    EXPECT_FALSE(PathExists(Run() + "\\PLR\\other.txt"));
}

TEST_F(CaptureSteps, VersionListingsGoToTheOsFolderAndBinaryVersionsToVm) {
    std::string system = folder.Path() + "\\system32";
    ASSERT_TRUE(::CreateDirectoryA(system.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((system + "\\drivers").c_str(), nullptr));
    std::string stub = testing_support::ProgramFolder() + "\\zeltrin-stub-tool.exe";
    ASSERT_TRUE(::CopyFileA(stub.c_str(), (system + "\\one.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(stub.c_str(), (system + "\\drivers\\two.sys").c_str(), FALSE));
    dialog.folders.systemDirectory = system;
    dialog.options.binaryVersion = 1;
    PushOptions();
    dialog.RunCollection();
    EXPECT_NE(ReadWholeFile(Run() + "\\OS\\SYSTEM32_EXE_VER.TXT").find("one.exe"), std::string::npos);
    EXPECT_TRUE(PathExists(Run() + "\\OS\\SYSTEM32_DLL_VER.TXT"));
    EXPECT_NE(ReadWholeFile(Run() + "\\OS\\SYSTEM32_SYS_VER.TXT").find("two.sys"), std::string::npos);
    auto starts = CaptureStarts();
    EXPECT_EQ(std::count(starts.begin(), starts.end(), "Start - CaptureKDXFileInfo"), 1);
}
