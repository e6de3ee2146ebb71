// The fixed names and paths of the companion tools and of the logs the steps copy.
#include "common/win32/Environment.h"
#include "probes/CollectionProbes.h"
#include "report/CollectionReport.h"

namespace {

std::string In(const std::string& folder, const char* name) { return folder + "\\" + name; }
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

void SetFixedPaths(Collection& collection) {
    const std::string& program = collection.folders.programFolder;
    collection.paths.providersReportName = "QzVMDOM.html";
    collection.paths.productProvidersReportName = "KDXDOM.html";
    collection.paths.flxInfoOutputName = "qzflxinfo.enc";
    collection.paths.qzdiagOutputName = "qzdiag.txt";
    collection.paths.helpFile = In(program, "Zeltrin.htm");
    collection.LogReport("ULVIX's help path and location: %s", collection.paths.helpFile.c_str());

    collection.paths.memoryDump = In(collection.folders.windowsDirectory, "MEMORY.DMP");
    collection.paths.bootFile = std::string("C:\\") + "BOOT.INI";
    collection.paths.setupLog = In(collection.folders.windowsDirectory, "SETUPAPI.LOG");
    collection.paths.providersTool = In(program, "qzvmdom.EXE");
    collection.paths.productProvidersTool = In(program, "KDXDOM.EXE");
    collection.paths.flxInfoTool = In(program, "qzflxinfo.EXE");
    collection.paths.zrxScript = Quoted(In(program, "DumpZRXInfo.vbs"));
    collection.paths.ruqDiagTool = In(program, "ruqdiaginfo.exe");
    collection.paths.ruqDumpTool = In(program, "ruqdump.exe");
    collection.paths.osmuSnapshotScript = In(program, "osmu_snapshot.cmd");
    collection.paths.nldDiagScript = In(program, "nld_diag.cmd");
    collection.paths.pqhmcDiagTool = In(program, "pqhmc-diag.exe");
    collection.paths.linkgrabScript = In(program, "linkgrab.pl");
    collection.paths.vdsLog = In(collection.folders.systemDirectory, "$vds$.log");
    collection.paths.qzVdsProviderLog = In(collection.folders.systemDirectory, "$qzvdsprov$.log");

    // The qzdiag and MPS report tools ship in one sub-folder per system generation.
    const char* toolSubFolder = collection.os.isWindows2000 ? "W2K\\" : "DOTNET\\";
    collection.paths.qzdiagTool = collection.os.isWindows2000 ? program + "\\" + toolSubFolder + "qzdiag2000.EXE"
                                        : Quoted(program + "\\" + toolSubFolder + "qzdiag2003.EXE");
    DetectMpsReportTool(collection, toolSubFolder);

    std::string drWatsonFolder;
    if (collection.os.isWindows2000)
        drWatsonFolder = win32::ExpandEnvironment("%ALLUSERSPROFILE%") + "\\Documents\\DrWatson\\";
    else if (collection.os.isXpOr2003)
        drWatsonFolder =
            win32::ExpandEnvironment("%USERPROFILE%") + "\\Local Settings\\Application Data\\Microsoft\\Dr Watson\\";
    if (!drWatsonFolder.empty()) {
        collection.paths.drWatsonUserDump = drWatsonFolder + "USER.DMP";
        collection.paths.drWatsonLog = drWatsonFolder + "DRWTSN32.LOG";
    }
}
