// Detection of the product's log folders and companion tools: solutions log, snapshot
// schedules, the software-update agent, licences and the snapshot tools.
#include <cstring>

#include "common/win32/Environment.h"
#include "common/win32/UniqueHandle.h"
#include "engine/Collection.h"
#include "probes/Probes.h"
#include "probes/DetectionSteps.h"
#include "resources/resource.h"

namespace {

constexpr const char* kLicenceFolder =
    "%SystemDrive%\\Program Files (x86)\\Common Files\\Brennock Shared\\hlmqlic\\lic";

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// "." and ".." are in every folder but a root; they are no licence files.
bool HoldsAnyEntry(const std::string& folder) {
    WIN32_FIND_DATAA entry{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*.*").c_str(), &entry));
    if (!search) return false;
    do {
        if (!IsDotEntry(entry.cFileName)) return true;
    } while (::FindNextFileA(search.get(), &entry));
    return false;
}

struct SnapshotTool {
    const char* path;  // expanded; an undefined variable stays as it is and the path does not exist
    std::string DetectionResults::* toolPath;
    int DetectionResults::* found;
    int controlId;
};

// WLT_HOME is expected to end with a backslash; PQH_HOME is not.
constexpr SnapshotTool kSnapshotTools[] = {
    {"%PQH_HOME%\\bin\\clusnap.exe", &DetectionResults::clusterSnapshotToolPath,
     &DetectionResults::clusterSnapshotToolFound, IDC_PQH_HA},
    {"%WLT_HOME%bin\\wltsnap.exe", &DetectionResults::wltSnapshotToolPath, &DetectionResults::wltSnapshotToolFound,
     IDC_WLT},
};

}  // namespace

namespace detection_steps {

BoxDecisions DetectSolutionsLog(Collection& collection) {
    BoxDecisions boxes;
    DetectionResults& found = collection.detection;
    if (!IsPathExistsInRegistry(collection, "SOFTWARE\\BRENNOCK\\rirevirarara\\RirEvirararaLog\\Default", "LogDirectory",
                                       found.solutionsLogPath, 0)) {
        boxes.DisableAndClear(IDC_SOLUTIONS);
        collection.LogReport("Solutions Log Info not found!");
        return boxes;
    }
    collection.LogReport("Solutions Log path and name: %s", found.solutionsLogPath.c_str());
    if (IsFileExists(collection, found.solutionsLogPath))
        boxes.EnableAndCheck(IDC_SOLUTIONS);
    else
        boxes.DisableAndClear(IDC_SOLUTIONS);
    return boxes;
}

BoxDecisions DetectSnapshotSchedules(Collection& collection) {
    BoxDecisions boxes;
    win32::UniqueRegKey schedules;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brennock\\QzSvc\\CurrentVersion\\Schedules", 0, KEY_READ,
                        schedules.put()) != ERROR_SUCCESS) {
        collection.LogReport("Error Opening Schedules key!");
        boxes.DisableAndClear(IDC_RBK_SCHEDULES);
        return boxes;
    }
    char name[MAX_PATH + 1] = {};
    DWORD length = sizeof name;
    if (::RegEnumKeyExA(schedules.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) ==
        ERROR_NO_MORE_ITEMS) {
        collection.LogReport("Error enumerating Schedules key!");
        boxes.DisableAndClear(IDC_RBK_SCHEDULES);
        return boxes;
    }
    boxes.EnableAndCheck(IDC_RBK_SCHEDULES);
    return boxes;
}

BoxDecisions DetectPelorin(Collection& collection) {
    BoxDecisions boxes;
    DetectionResults& found = collection.detection;
    if (!IsPathExistsInRegistry(collection, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                       "Common AppData", found.commonAppData, 0)) {
        boxes.Disable(IDC_PELORIN);
        collection.LogReport("PLR is NOT installed");
        return boxes;
    }
    collection.LogReport("Pelorin Installed");
    collection.LogReport("Common AppData: %s", found.commonAppData.c_str());
    found.pelorinInstalled = 1;
    found.pelorinLogFolder = found.commonAppData + "\\Tobrin\\Pelorin";
    collection.LogReport("PLR Logs path: %s", found.pelorinLogFolder.c_str());
    boxes.Enable(IDC_PELORIN);
    return boxes;
}

BoxDecisions DetectLicences(Collection& collection) {
    BoxDecisions boxes;
    DetectionResults& found = collection.detection;
    found.licenceFolder = win32::ExpandEnvironment(kLicenceFolder);
    if (!IsFileExists(collection, found.licenceFolder)) {
        collection.LogReport("No License(s) Exist");
        boxes.Disable(IDC_LICENSES);
        return boxes;
    }
    collection.LogReport("Licenses Folder Exists");
    if (HoldsAnyEntry(found.licenceFolder)) {
        found.licenceFilesFound = 1;
        collection.LogReport("License(s) Exist");
        boxes.Enable(IDC_LICENSES);
    } else {
        collection.LogReport("No License(s) Exist");
        boxes.Disable(IDC_LICENSES);
    }
    return boxes;
}

BoxDecisions DetectSnapshotTools(Collection& collection) {
    BoxDecisions boxes;
    for (const SnapshotTool& tool : kSnapshotTools) {
        std::string& path = collection.detection.*tool.toolPath;
        path = win32::ExpandEnvironment(tool.path);
        if (IsFileExists(collection, path)) {
            boxes.EnableAndCheck(tool.controlId);
            collection.detection.*tool.found = 1;
        } else {
            boxes.DisableAndClear(tool.controlId);
        }
    }
    return boxes;
}

}  // namespace detection_steps
