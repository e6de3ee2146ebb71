// The MPS report probe: which MPS report tool is present, and where will its cabinet be?
#include "engine/Collection.h"
#include "probes/Probes.h"
#include "probes/CollectionProbes.h"

namespace {

struct MpsReportTool {
    const char* executable;
    const char* cabinetFolder;  // below the Windows directory
};

// The cluster edition of 2003 is preferred; 2001 is the fallback.
constexpr MpsReportTool kMpsReportTools[] = {
    {"MPSRPT_2003_CLUSTER.exe", "MPSReports\\Cluster\\Report\\cab\\"},
    {"MPSRPT_2001_CLUSTER.exe", "MPSReports\\Cluster\\LITE\\cab\\"},
};

}  // namespace

void DetectMpsReportTool(Collection& collection, std::string toolSubFolder) {
    for (const MpsReportTool& tool : kMpsReportTools) {
        collection.detection.mpsToolPath = collection.folders.programFolder + "\\" + toolSubFolder + tool.executable;
        if (IsFileExists(collection, collection.detection.mpsToolPath)) {
            collection.detection.mpsToolFound = 1;
            collection.detection.mpsCabinetPath = collection.folders.windowsDirectory + "\\" + tool.cabinetFolder + collection.folders.nodeName + "_" +
                                       "MPSReports_CLUSTER.CAB";
            return;
        }
    }
}
