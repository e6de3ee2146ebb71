// The MPS report probe: which MPS report tool is present, and where will its cabinet be?
#include "engine/Collection.h"
#include "probes/Probes.h"

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

void Collection::DetectMpsReportTool(std::string toolSubFolder) {
    for (const MpsReportTool& tool : kMpsReportTools) {
        detection.mpsToolPath = folders.programFolder + "\\" + toolSubFolder + tool.executable;
        if (IsFileExists(*this, detection.mpsToolPath)) {
            detection.mpsToolFound = 1;
            detection.mpsCabinetPath = folders.windowsDirectory + "\\" + tool.cabinetFolder + folders.nodeName + "_" +
                                       "MPSReports_CLUSTER.CAB";
            return;
        }
    }
}
