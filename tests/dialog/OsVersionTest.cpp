// The version flags and the paths that depend on the system generation.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "common/win32/Environment.h"
#include "dialog/CULVIXDlg.h"

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
    CULVIXDlg dialog(reader);
    return {dialog.os.isWindows2000, dialog.os.isXpOr2003, dialog.os.isVersion6, dialog.os.isVersion62Or63};
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
    CULVIXDlg dialog(Server2003);
    EXPECT_EQ(dialog.os.description, "Microsoft Windows v5.2 (Build 3790: Service Pack 2)");
    EXPECT_EQ(dialog.os.isWow64, 0);
}

TEST(OsVersion, Windows2000TakesItsToolsFromW2KAndDrWatsonFromAllUsers) {
    ScopedWorkFolder folder;
    CULVIXDlg dialog(Windows2000);
    EXPECT_EQ(dialog.paths.qzdiagTool, folder.Path() + "\\W2K\\qzdiag2000.EXE");
    EXPECT_EQ(dialog.detection.mpsToolPath, folder.Path() + "\\W2K\\MPSRPT_2001_CLUSTER.exe");
    std::string drWatson = win32::ExpandEnvironment("%ALLUSERSPROFILE%") + "\\Documents\\DrWatson\\";
    EXPECT_EQ(dialog.paths.drWatsonUserDump, drWatson + "USER.DMP");
    EXPECT_EQ(dialog.paths.drWatsonLog, drWatson + "DRWTSN32.LOG");
}

TEST(OsVersion, Server2003QuotesQzdiagAndTakesDrWatsonFromTheUserProfile) {
    ScopedWorkFolder folder;
    CULVIXDlg dialog(Server2003);
    EXPECT_EQ(dialog.paths.qzdiagTool, "\"" + folder.Path() + "\\DOTNET\\qzdiag2003.EXE\"");
    std::string drWatson =
        win32::ExpandEnvironment("%USERPROFILE%") + "\\Local Settings\\Application Data\\Microsoft\\Dr Watson\\";
    EXPECT_EQ(dialog.paths.drWatsonUserDump, drWatson + "USER.DMP");
    EXPECT_EQ(dialog.paths.drWatsonLog, drWatson + "DRWTSN32.LOG");
}

TEST(OsVersion, Version6HasNoDrWatsonPathsAndEveryOtherFixedPath) {
    ScopedWorkFolder folder;
    CULVIXDlg dialog(Server2012);
    const std::string& program = folder.Path();
    const std::string& windows = dialog.folders.windowsDirectory;
    const std::string& system = dialog.folders.systemDirectory;
    EXPECT_EQ(dialog.paths.drWatsonUserDump, "");
    EXPECT_EQ(dialog.paths.drWatsonLog, "");
    EXPECT_EQ(dialog.paths.providersReportName, "QzVMDOM.html");
    EXPECT_EQ(dialog.paths.productProvidersReportName, "KDXDOM.html");
    EXPECT_EQ(dialog.paths.flxInfoOutputName, "qzflxinfo.enc");
    EXPECT_EQ(dialog.paths.qzdiagOutputName, "qzdiag.txt");
    EXPECT_EQ(dialog.paths.helpFile, program + "\\Zeltrin.htm");
    EXPECT_EQ(dialog.paths.memoryDump, windows + "\\MEMORY.DMP");
    EXPECT_EQ(dialog.paths.bootFile, "C:\\BOOT.INI");
    EXPECT_EQ(dialog.paths.setupLog, windows + "\\SETUPAPI.LOG");
    EXPECT_EQ(dialog.paths.providersTool, program + "\\qzvmdom.EXE");
    EXPECT_EQ(dialog.paths.productProvidersTool, program + "\\KDXDOM.EXE");
    EXPECT_EQ(dialog.paths.flxInfoTool, program + "\\qzflxinfo.EXE");
    EXPECT_EQ(dialog.paths.zrxScript, "\"" + program + "\\DumpZRXInfo.vbs\"");
    EXPECT_EQ(dialog.paths.ruqDiagTool, program + "\\ruqdiaginfo.exe");
    EXPECT_EQ(dialog.paths.ruqDumpTool, program + "\\ruqdump.exe");
    EXPECT_EQ(dialog.paths.osmuSnapshotScript, program + "\\osmu_snapshot.cmd");
    EXPECT_EQ(dialog.paths.nldDiagScript, program + "\\nld_diag.cmd");
    EXPECT_EQ(dialog.paths.pqhmcDiagTool, program + "\\pqhmc-diag.exe");
    EXPECT_EQ(dialog.paths.linkgrabScript, program + "\\linkgrab.pl");
    EXPECT_EQ(dialog.paths.vdsLog, system + "\\$vds$.log");
    EXPECT_EQ(dialog.paths.qzVdsProviderLog, system + "\\$qzvdsprov$.log");
    EXPECT_EQ(dialog.paths.qzdiagTool, "\"" + program + "\\DOTNET\\qzdiag2003.EXE\"");
}

TEST(OsVersion, SystemReaderSeesTheVersionTheManifestAllows) {
    OsVersionInfo version = ReadSystemOsVersion();
    EXPECT_EQ(version.platformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_GE(version.major, 5u);
    // Declaring no system newer than Windows 8 keeps newer systems at 6.2.
    EXPECT_TRUE(version.major < 6 || (version.major == 6 && version.minor <= 2)) << version.major << "."
                                                                                 << version.minor;
}
