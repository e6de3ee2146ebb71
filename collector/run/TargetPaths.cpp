// AssignTargetPaths: the full path of every output of the run.
#include "engine/Collection.h"
#include "run/CollectionRun.h"

// The OS and VM targets are built on the run folder's "OS" and "VM" paths even when the
// options did not make those folders: a path built on an empty folder member would point
// at the root of the current drive, outside the run folder. The rows that write there make
// the folder first (EnsureSubFolder); from here on the two members hold the paths.
void AssignTargetPaths(Collection& collection) {
    collection.run.osFolderMade = !collection.run.osFolder.empty();
    collection.run.vmFolderMade = !collection.run.vmFolder.empty();
    collection.run.osFolder = collection.run.runFolder + "\\OS";
    collection.run.vmFolder = collection.run.runFolder + "\\VM";
    const std::string osPath = collection.run.runFolder + "\\OS\\";
    collection.run.appEventLogFolder = osPath;
    collection.run.systemEventLogFolder = osPath;
    collection.run.bootIniTarget = osPath + "BOOT.INI";
    collection.run.setupLogTarget = osPath + "SETUPAPI.LOG";
    collection.run.vdsLogTarget = osPath + "$vds$.log";
    collection.run.mountVolTarget = osPath + "mountvol.txt";
    collection.run.clusterLogTarget = osPath + "CLUSTER.LOG";
    collection.run.msinfoReportTarget = osPath + "MSINFO_REPORT.TXT";
    collection.run.mpsCabinetTarget = osPath + "MPSReports_CLUSTER.CAB";
    collection.run.drWatsonLogTarget = osPath + "DRWTSN32.LOG";
    collection.run.userDumpTarget = osPath + "USER.DMP";

    const std::string vm = collection.run.runFolder + "\\VM\\";
    collection.run.alertLogTarget = vm + "ALERT.LOG";
    collection.run.flxInfoTarget = vm + collection.paths.flxInfoOutputName;
    collection.run.mpioLogTarget = vm + "instmpio.log";
    collection.run.qdsminfoLogTarget = vm + "qdsminfo.log";
    collection.run.providersReportTarget = vm + collection.paths.providersReportName;
    collection.run.productProvidersReportTarget = vm + collection.paths.productProvidersReportName;
    collection.run.qzdiagTarget = vm + collection.paths.qzdiagOutputName;
    collection.run.qzVdsProviderLogTarget = vm + "$qzvdsprov$.log";
    collection.run.kdxBinaryVersionTarget = vm + "KDX_BINARY_VERSION.TXT";
    collection.run.hnvNidmapTarget = vm + "HNV_NIDMAP_REPORT.TXT";
    collection.run.hnvNodestateTarget = vm + "HNV_NODESTATE_REPORT.TXT";
    collection.run.okapoTraceTargetFolder = vm;
    collection.run.consoleTraceTargetFolder = vm;
    collection.run.kerdLogTargetFolder = vm;
    collection.run.tgnXmlTargetFolder = vm;

    const std::string folder = collection.run.runFolder + "\\";
    collection.run.solutionsFolder = folder + "Solutions\\";
    collection.run.schedulesFolder = folder + "RBK_Schedules\\";
    collection.run.miscFolder = collection.run.miscFolderPath + "\\";
    collection.run.registryDumpPath = folder + "REGISTRY.TXT";
    collection.report.destination = folder + collection.report.fileName;
    collection.run.zrxOutput = folder + "ZRX";
    collection.run.clusterSnapshotFolder = collection.run.runFolder;
    collection.run.wltSnapshotFolder = collection.run.runFolder;
    collection.run.commsLogFolder = collection.run.runFolder;
    collection.run.ruqFolder = folder + "RUQ";
    collection.run.osmuFolder = folder + "OSMU";
    collection.run.pelorinTargetFolder = folder + "PLR\\";
    collection.run.licencesTargetFolder = folder + "LICENSES\\";
    collection.run.nldFolder = folder + "NLD";
    collection.run.wkeFolder = folder + "WKE";
    collection.run.pqhmcFolder = folder + "PQHMC";
}
