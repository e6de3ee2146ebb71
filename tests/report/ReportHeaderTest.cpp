// The header the start writes: every entry, in order, with this machine's values.
#include <gtest/gtest.h>

#include <algorithm>

#include "ProductRegistry.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "report/ErrorText.h"

using namespace testing_support;

namespace {

constexpr const char* kVolumeManagerKey = "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager";

OsVersionInfo Windows7() { return {VER_PLATFORM_WIN32_NT, 6, 1, 7601, "Service Pack 1"}; }

std::string SystemFolder(UINT (*read)(char*, UINT)) {
    char folder[MAX_PATH] = {};
    read(folder, MAX_PATH);
    return folder;
}

UINT SystemDirectory(char* buffer, UINT size) { return ::GetSystemDirectoryA(buffer, size); }
UINT WindowsDirectory(char* buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); }

std::vector<std::string> HeaderOfANewCollection() {
    { StartedCollection collection(Windows7); }
    return ReportEntries(ReadWholeFile(OwnReportName()));
}

}  // namespace

TEST(ReportHeader, EntriesComeInOrderWithThisMachinesValues) {
    RemoveMachineKey(kVolumeManagerKey);
    ScopedWorkFolder folder;
    char node[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD nodeSize = sizeof node;
    ::GetComputerNameA(node, &nodeSize);
    char homeDrive[MAX_PATH] = {};
    ::ExpandEnvironmentStringsA("%HOMEDRIVE%", homeDrive, MAX_PATH);
    const std::string& cwd = folder.Path();
    std::string pathNotFound = "FindFirstFile() FAILED-> " + GetErrorText(ERROR_PATH_NOT_FOUND);

    std::vector<std::string> expected = {
        "ULVIX Report file name: " + OwnReportName(),
        "ULVIX Version         : 6.1.0.445",
        "Test Box is running MSFT Windows Version 6.1 (Build 7601: Service Pack 1)",
        "Running on 64-bit machine",
        "ULVIX's current directory: " + cwd,
        "System directory: " + SystemFolder(SystemDirectory),
        "Windows directory: " + SystemFolder(WindowsDirectory),
        std::string("Home Drive: ") + homeDrive + "\\",
        std::string("Node Name: ") + node,
        "Start - IsPathExistsInRegistry Sub Key:SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager; Value "
        "Name:Version",
        "RegOpenKeyEx() failed for SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager; Error=2",
        "Finish - IsPathExistsInRegistry.  Error=2",
        "ULVIX's help path and location: " + cwd + "\\Zeltrin.htm",
        "Start - IsFileExists " + cwd + "\\DOTNET\\MPSRPT_2003_CLUSTER.exe",
        pathNotFound,
        "Finish - IsFileExists Error = 3",
        "Start - IsFileExists " + cwd + "\\DOTNET\\MPSRPT_2001_CLUSTER.exe",
        pathNotFound,
        "Finish - IsFileExists Error = 3",
    };
    EXPECT_EQ(HeaderOfANewCollection(), expected);
}

TEST(ReportHeader, WithoutAHomeDriveTheSystemDriveElseTheWindowsFoldersDriveIsTheLocalRoot) {
    ScopedWorkFolder folder;
    char home[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    ::GetEnvironmentVariableA("HOMEDRIVE", home, MAX_PATH);
    ::GetEnvironmentVariableA("SystemDrive", system, MAX_PATH);
    ::SetEnvironmentVariableA("HOMEDRIVE", nullptr);
    for (const char* systemDrive : {"Q:", static_cast<const char*>(nullptr)}) {
        ::SetEnvironmentVariableA("SystemDrive", systemDrive);
        const std::string root = (systemDrive ? systemDrive : SystemFolder(WindowsDirectory).substr(0, 2)) + "\\";
        StartedCollection collection(Windows7);
        collection.report.file.Close();
        EXPECT_EQ(collection.folders.homeDrive, root);
        std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
        const std::vector<std::string> lines = {"Home Drive: %HOMEDRIVE%\\",
                                                "No home drive: the local root is the system drive " + root};
        EXPECT_NE(std::search(entries.begin(), entries.end(), lines.begin(), lines.end()), entries.end());
    }
    ::SetEnvironmentVariableA("HOMEDRIVE", home);
    ::SetEnvironmentVariableA("SystemDrive", system);
}

TEST(ReportHeader, ProductVersionComesFromTheVolumeManagerKey) {
    PlantedKey key(kVolumeManagerKey);
    key.SetString("Version", "6.1.0.445");
    ScopedWorkFolder folder;
    StartedCollection collection(Windows7);
    EXPECT_EQ(collection.detection.productMajorVersion, 6);
    collection.report.file.Close();
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
    ASSERT_GE(entries.size(), 13u);
    EXPECT_EQ(entries[10], "Path in Registry: 6.1.0.445");
    EXPECT_EQ(entries[11], "Finish - IsPathExistsInRegistry.  Error=0");
    EXPECT_EQ(entries[12], "KDX/VM Version: 6.1.0.445");
}

TEST(ReportHeader, MpsReportToolOf2001IsFoundWhen2003IsMissing) {
    ScopedWorkFolder folder;
    ASSERT_TRUE(::CreateDirectoryA("DOTNET", nullptr));
    WriteWholeFile("DOTNET\\MPSRPT_2001_CLUSTER.exe", "tool");
    StartedCollection collection(Windows7);
    EXPECT_EQ(collection.detection.mpsToolFound, 1);
    EXPECT_EQ(collection.detection.mpsToolPath, folder.Path() + "\\DOTNET\\MPSRPT_2001_CLUSTER.exe");
    EXPECT_EQ(collection.detection.mpsCabinetPath, collection.folders.windowsDirectory +
                                                       "\\MPSReports\\Cluster\\LITE\\cab\\" +
                                                       collection.folders.nodeName + "_MPSReports_CLUSTER.CAB");
}

TEST(ReportHeader, MpsReportToolOf2003IsPreferred) {
    ScopedWorkFolder folder;
    ASSERT_TRUE(::CreateDirectoryA("DOTNET", nullptr));
    WriteWholeFile("DOTNET\\MPSRPT_2001_CLUSTER.exe", "tool");
    WriteWholeFile("DOTNET\\MPSRPT_2003_CLUSTER.exe", "tool");
    StartedCollection collection(Windows7);
    EXPECT_EQ(collection.detection.mpsToolPath, folder.Path() + "\\DOTNET\\MPSRPT_2003_CLUSTER.exe");
    EXPECT_EQ(collection.detection.mpsCabinetPath, collection.folders.windowsDirectory +
                                                       "\\MPSReports\\Cluster\\Report\\cab\\" +
                                                       collection.folders.nodeName + "_MPSReports_CLUSTER.CAB");
}

TEST(ReportHeader, NoMpsReportToolLeavesTheSecondNameAndNoCabinet) {
    ScopedWorkFolder folder;
    StartedCollection collection(Windows7);
    EXPECT_EQ(collection.detection.mpsToolFound, 0);
    EXPECT_EQ(collection.detection.mpsToolPath, folder.Path() + "\\DOTNET\\MPSRPT_2001_CLUSTER.exe");
    EXPECT_EQ(collection.detection.mpsCabinetPath, "");
}
