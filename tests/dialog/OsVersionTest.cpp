// The version flags and the paths that depend on the system generation.
#include <gtest/gtest.h>

#include "StartedCollection.h"
#include "TestFiles.h"
#include "common/win32/Environment.h"

using testing_support::ScopedWorkFolder;

namespace {

OsVersionInfo Windows2000() { return {VER_PLATFORM_WIN32_NT, 5, 0, 2195, "Service Pack 4"}; }
OsVersionInfo Server2003() { return {VER_PLATFORM_WIN32_NT, 5, 2, 3790, "Service Pack 2"}; }
OsVersionInfo Server2008R2() { return {VER_PLATFORM_WIN32_NT, 6, 1, 7601, "Service Pack 1"}; }
OsVersionInfo Server2012() { return {VER_PLATFORM_WIN32_NT, 6, 2, 9200, ""}; }
OsVersionInfo Server2012R2() { return {VER_PLATFORM_WIN32_NT, 6, 3, 9600, ""}; }
OsVersionInfo Windows98() { return {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222, " A "}; }
OsVersionInfo Win32sAt62() { return {VER_PLATFORM_WIN32s, 6, 2, 1, ""}; }

struct Flags {
    int windows2000, xpOr2003, version6, version62Or63;
    bool operator==(const Flags&) const = default;
};

Flags FlagsOf(OsVersionReader reader) {
    ScopedWorkFolder folder;
    testing_support::StartedCollection collection(reader);
    return {collection.os.isWindows2000, collection.os.isXpOr2003, collection.os.isVersion6,
            collection.os.isVersion62Or63};
}

}  // namespace

TEST(OsVersion, EachGenerationSetsItsFlags) {
    EXPECT_EQ(FlagsOf(Windows2000), (Flags{1, 0, 0, 0}));
    EXPECT_EQ(FlagsOf(Server2003), (Flags{0, 1, 0, 0}));
    EXPECT_EQ(FlagsOf(Server2008R2), (Flags{0, 0, 1, 0}));
    EXPECT_EQ(FlagsOf(Server2012), (Flags{0, 0, 1, 1}));
    EXPECT_EQ(FlagsOf(Server2012R2), (Flags{0, 0, 1, 1}));
    EXPECT_EQ(FlagsOf(Windows98), (Flags{0, 0, 0, 0}));
    // Only the 9x platform is excluded from the 6.2/6.3 test.
    EXPECT_EQ(FlagsOf(Win32sAt62), (Flags{0, 0, 0, 1}));
}

TEST(OsVersion, DescriptionCarriesVersionBuildAndServicePack) {
    ScopedWorkFolder folder;
    testing_support::StartedCollection collection(Server2003);
    EXPECT_EQ(collection.os.description, "Microsoft Windows v5.2 (Build 3790: Service Pack 2)");
    EXPECT_EQ(collection.os.isWow64, 0);
}

TEST(OsVersion, Windows2000TakesItsToolsFromW2KAndDrWatsonFromAllUsers) {
    ScopedWorkFolder folder;
    testing_support::StartedCollection collection(Windows2000);
    EXPECT_EQ(collection.paths.qzdiagTool, folder.Path() + "\\W2K\\qzdiag2000.EXE");
    EXPECT_EQ(collection.detection.mpsToolPath, folder.Path() + "\\W2K\\MPSRPT_2001_CLUSTER.exe");
    std::string drWatson = win32::ExpandEnvironment("%ALLUSERSPROFILE%") + "\\Documents\\DrWatson\\";
    EXPECT_EQ(collection.paths.drWatsonUserDump, drWatson + "USER.DMP");
    EXPECT_EQ(collection.paths.drWatsonLog, drWatson + "DRWTSN32.LOG");
}

TEST(OsVersion, Server2003QuotesQzdiagAndTakesDrWatsonFromTheUserProfile) {
    ScopedWorkFolder folder;
    testing_support::StartedCollection collection(Server2003);
    EXPECT_EQ(collection.paths.qzdiagTool, "\"" + folder.Path() + "\\DOTNET\\qzdiag2003.EXE\"");
    std::string drWatson =
        win32::ExpandEnvironment("%USERPROFILE%") + "\\Local Settings\\Application Data\\Microsoft\\Dr Watson\\";
    EXPECT_EQ(collection.paths.drWatsonUserDump, drWatson + "USER.DMP");
    EXPECT_EQ(collection.paths.drWatsonLog, drWatson + "DRWTSN32.LOG");
}

TEST(OsVersion, Version6HasNoDrWatsonPathsAndEveryOtherFixedPath) {
    ScopedWorkFolder folder;
    testing_support::StartedCollection collection(Server2012);
    const std::string& program = folder.Path();
    const std::string& windows = collection.folders.windowsDirectory;
    const std::string& system = collection.folders.systemDirectory;
    EXPECT_EQ(collection.paths.drWatsonUserDump, "");
    EXPECT_EQ(collection.paths.drWatsonLog, "");
    EXPECT_EQ(collection.paths.providersReportName, "QzVMDOM.html");
    EXPECT_EQ(collection.paths.productProvidersReportName, "KDXDOM.html");
    EXPECT_EQ(collection.paths.flxInfoOutputName, "qzflxinfo.enc");
    EXPECT_EQ(collection.paths.qzdiagOutputName, "qzdiag.txt");
    EXPECT_EQ(collection.paths.helpFile, program + "\\Zeltrin.htm");
    EXPECT_EQ(collection.paths.memoryDump, windows + "\\MEMORY.DMP");
    EXPECT_EQ(collection.paths.bootFile, "C:\\BOOT.INI");
    EXPECT_EQ(collection.paths.setupLog, windows + "\\SETUPAPI.LOG");
    EXPECT_EQ(collection.paths.providersTool, program + "\\qzvmdom.EXE");
    EXPECT_EQ(collection.paths.productProvidersTool, program + "\\KDXDOM.EXE");
    EXPECT_EQ(collection.paths.flxInfoTool, program + "\\qzflxinfo.EXE");
    EXPECT_EQ(collection.paths.zrxScript, "\"" + program + "\\DumpZRXInfo.vbs\"");
    EXPECT_EQ(collection.paths.ruqDiagTool, program + "\\ruqdiaginfo.exe");
    EXPECT_EQ(collection.paths.ruqDumpTool, program + "\\ruqdump.exe");
    EXPECT_EQ(collection.paths.osmuSnapshotScript, program + "\\osmu_snapshot.cmd");
    EXPECT_EQ(collection.paths.nldDiagScript, program + "\\nld_diag.cmd");
    EXPECT_EQ(collection.paths.pqhmcDiagTool, program + "\\pqhmc-diag.exe");
    EXPECT_EQ(collection.paths.linkgrabScript, program + "\\linkgrab.pl");
    EXPECT_EQ(collection.paths.vdsLog, system + "\\$vds$.log");
    EXPECT_EQ(collection.paths.qzVdsProviderLog, system + "\\$qzvdsprov$.log");
    EXPECT_EQ(collection.paths.qzdiagTool, "\"" + program + "\\DOTNET\\qzdiag2003.EXE\"");
}

TEST(OsVersion, SystemReaderSeesTheVersionTheManifestAllows) {
    OsVersionInfo version = ReadSystemOsVersion();
    EXPECT_EQ(version.platformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_GE(version.major, 5u);
    // Declaring no system newer than Windows 8 keeps newer systems at 6.2.
    EXPECT_TRUE(version.major < 6 || (version.major == 6 && version.minor <= 2)) << version.major << "."
                                                                                 << version.minor;
}
