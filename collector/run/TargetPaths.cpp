// AssignTargetPaths: the full path of every output of the run.
#include "engine/Collection.h"

// The OS and VM targets are built on the run folder's "OS" and "VM" paths even when the
// options did not make those folders: a path built on an empty folder member would point
// at the root of the current drive, outside the run folder. The rows that write there make
// the folder first (EnsureSubFolder); from here on the two members hold the paths.
void Collection::AssignTargetPaths() {
    run.osFolderMade = !run.osFolder.empty();
    run.vmFolderMade = !run.vmFolder.empty();
    run.osFolder = run.runFolder + "\\OS";
    run.vmFolder = run.runFolder + "\\VM";
    const std::string os = run.runFolder + "\\OS\\";
    run.appEventLogFolder = os;
    run.systemEventLogFolder = os;
    run.bootIniTarget = os + "BOOT.INI";
    run.setupLogTarget = os + "SETUPAPI.LOG";
    run.vdsLogTarget = os + "$vds$.log";
    run.mountVolTarget = os + "mountvol.txt";
    run.clusterLogTarget = os + "CLUSTER.LOG";
    run.msinfoReportTarget = os + "MSINFO_REPORT.TXT";
    run.mpsCabinetTarget = os + "MPSReports_CLUSTER.CAB";
    run.drWatsonLogTarget = os + "DRWTSN32.LOG";
    run.userDumpTarget = os + "USER.DMP";

    const std::string vm = run.runFolder + "\\VM\\";
    run.alertLogTarget = vm + "ALERT.LOG";
    run.flxInfoTarget = vm + paths.flxInfoOutputName;
    run.mpioLogTarget = vm + "instmpio.log";
    run.qdsminfoLogTarget = vm + "qdsminfo.log";
    run.providersReportTarget = vm + paths.providersReportName;
    run.productProvidersReportTarget = vm + paths.productProvidersReportName;
    run.qzdiagTarget = vm + paths.qzdiagOutputName;
    run.qzVdsProviderLogTarget = vm + "$qzvdsprov$.log";
    run.kdxBinaryVersionTarget = vm + "KDX_BINARY_VERSION.TXT";
    run.hnvNidmapTarget = vm + "HNV_NIDMAP_REPORT.TXT";
    run.hnvNodestateTarget = vm + "HNV_NODESTATE_REPORT.TXT";
    run.okapoTraceTargetFolder = vm;
    run.consoleTraceTargetFolder = vm;
    run.kerdLogTargetFolder = vm;
    run.tgnXmlTargetFolder = vm;

    const std::string folder = run.runFolder + "\\";
    run.solutionsFolder = folder + "Solutions\\";
    run.schedulesFolder = folder + "RBK_Schedules\\";
    run.miscFolder = run.miscFolderPath + "\\";
    run.registryDumpPath = folder + "REGISTRY.TXT";
    report.destination = folder + report.fileName;
    run.zrxOutput = folder + "ZRX";
    run.clusterSnapshotFolder = run.runFolder;
    run.wltSnapshotFolder = run.runFolder;
    run.commsLogFolder = run.runFolder;
    run.ruqFolder = folder + "RUQ";
    run.osmuFolder = folder + "OSMU";
    run.pelorinTargetFolder = folder + "PLR\\";
    run.licencesTargetFolder = folder + "LICENSES\\";
    run.nldFolder = folder + "NLD";
    run.wkeFolder = folder + "WKE";
    run.pqhmcFolder = folder + "PQHMC";
}
