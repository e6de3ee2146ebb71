// The fixed names and paths of the companion tools and of the logs the steps copy.
#include "common/win32/Environment.h"
#include "engine/Collection.h"

namespace {

std::string In(const std::string& folder, const char* name) { return folder + "\\" + name; }
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

void Collection::SetFixedPaths() {
    const std::string& program = folders.programFolder;
    paths.providersReportName = "QzVMDOM.html";
    paths.productProvidersReportName = "KDXDOM.html";
    paths.flxInfoOutputName = "qzflxinfo.enc";
    paths.qzdiagOutputName = "qzdiag.txt";
    paths.helpFile = In(program, "Zeltrin.htm");
    LogReport("ULVIX's help path and location: %s", paths.helpFile.c_str());

    paths.memoryDump = In(folders.windowsDirectory, "MEMORY.DMP");
    paths.bootFile = std::string("C:\\") + "BOOT.INI";
    paths.setupLog = In(folders.windowsDirectory, "SETUPAPI.LOG");
    paths.providersTool = In(program, "qzvmdom.EXE");
    paths.productProvidersTool = In(program, "KDXDOM.EXE");
    paths.flxInfoTool = In(program, "qzflxinfo.EXE");
    paths.zrxScript = Quoted(In(program, "DumpZRXInfo.vbs"));
    paths.ruqDiagTool = In(program, "ruqdiaginfo.exe");
    paths.ruqDumpTool = In(program, "ruqdump.exe");
    paths.osmuSnapshotScript = In(program, "osmu_snapshot.cmd");
    paths.nldDiagScript = In(program, "nld_diag.cmd");
    paths.pqhmcDiagTool = In(program, "pqhmc-diag.exe");
    paths.linkgrabScript = In(program, "linkgrab.pl");
    paths.vdsLog = In(folders.systemDirectory, "$vds$.log");
    paths.qzVdsProviderLog = In(folders.systemDirectory, "$qzvdsprov$.log");

    // The qzdiag and MPS report tools ship in one sub-folder per system generation.
    const char* toolSubFolder = os.isWindows2000 ? "W2K\\" : "DOTNET\\";
    paths.qzdiagTool = os.isWindows2000 ? program + "\\" + toolSubFolder + "qzdiag2000.EXE"
                                        : Quoted(program + "\\" + toolSubFolder + "qzdiag2003.EXE");
    DetectMpsReportTool(toolSubFolder);

    std::string drWatsonFolder;
    if (os.isWindows2000)
        drWatsonFolder = win32::ExpandEnvironment("%ALLUSERSPROFILE%") + "\\Documents\\DrWatson\\";
    else if (os.isXpOr2003)
        drWatsonFolder =
            win32::ExpandEnvironment("%USERPROFILE%") + "\\Local Settings\\Application Data\\Microsoft\\Dr Watson\\";
    if (!drWatsonFolder.empty()) {
        paths.drWatsonUserDump = drWatsonFolder + "USER.DMP";
        paths.drWatsonLog = drWatsonFolder + "DRWTSN32.LOG";
    }
}
