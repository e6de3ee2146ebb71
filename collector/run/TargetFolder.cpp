// CreateTargetFolder: the run folder under the destination root and the sub-folders the
// chosen options need.
#include "engine/Collection.h"
#include "probes/Probes.h"
#include "framework/WaitCursor.h"
#include "engine/ErrorText.h"
#include "engine/TimeText.h"
#include "run/CollectionRun.h"

namespace {
// Names of the seconds after the run's own that it may take: a minute of runs started at once.
constexpr int kRunFolderNames = 60;
}  // namespace

int CreateTargetFolder(Collection& collection) {
    framework::WaitCursor wait;
    collection.LogReport("Start - CreateTargetFolder %s", collection.run.runFolder.c_str());
    // A second call (the local root after the share) starts from a clean slate: no folder of
    // the failed destination may be written to later.
    collection.run.vmFolder.clear();
    collection.run.osFolder.clear();
    collection.run.miscFolderPath.clear();
    collection.run.solutionsFolderPath.clear();
    collection.run.schedulesFolderPath.clear();

    if (IsFileExists(collection, collection.folders.systemDirectory + "\\" + "mountvol.exe")) collection.run.mountUtilityFound = 1;

    DWORD error = 0;
    // The bug folder and the machine folder may be there already, from an earlier run.
    auto createLevel = [&](const std::string& path) {
        if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
        error = ::GetLastError();
        collection.LogReport("%s - %s", path.c_str(), GetErrorText(error).c_str());
        if (error == ERROR_ALREADY_EXISTS) return true;
        collection.LogFailure("CreateDirectory() failed to create %s", path.c_str());
        return false;
    };
    // The run folder and its sub-folders must be new.
    auto createNew = [&](const std::string& path) {
        if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
        error = ::GetLastError();
        collection.LogReport("%s", GetErrorText(error).c_str());
        collection.LogFailure("CreateDirectory() failed to create %s", path.c_str());
        return false;
    };
    auto createSubFolder = [&](bool wanted, const char* name, std::string& member, const char* skipping) {
        if (!wanted) {
            collection.SetStatusText(skipping);
            return true;
        }
        std::string path = collection.run.runFolder + "\\" + name;
        if (!createNew(path)) return false;
        member = path;
        return true;
    };

    // Another run of the incident may have taken this second's name, or take it while this
    // one tries: creating the folder is the claim, and a name taken means the next second's.
    auto createRunFolder = [&]() {
        const std::string machineFolder = collection.run.runFolder;
        const std::time_t now = std::time(nullptr);
        for (int later = 0; later < kRunFolderNames; ++later) {
            collection.run.timeStamp = RunFolderTimeStamp(now + later);
            collection.run.runFolder = machineFolder + collection.run.timeStamp;
            if (::CreateDirectoryA(collection.run.runFolder.c_str(), nullptr)) {
                if (later > 0)
                    collection.LogReport("%s%s exists already (another run in the same second): this run collects into %s",
                              machineFolder.c_str(), RunFolderTimeStamp(now).c_str(), collection.run.runFolder.c_str());
                return true;
            }
            if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
        }
        return createNew(collection.run.runFolder);
    };

    bool made = false;
    if (createLevel(collection.run.runFolder)) {
        collection.run.runFolder += (collection.run.machineFolderName.empty() ? collection.folders.nodeName : collection.run.machineFolderName) + "\\";
        if (createLevel(collection.run.runFolder)) {
            made = createRunFolder() &&
                   createSubFolder(collection.options.kerdLogs || collection.options.binaryVersion, "VM", collection.run.vmFolder,
                                   "Skipping VM logs ...") &&
                   createSubFolder(collection.options.msinfo32 || collection.options.systemEventLog || collection.options.binaryVersion ||
                                       collection.options.appEventLog || collection.run.mountUtilityFound,
                                   "OS", collection.run.osFolder, "Skipping OS logs ...") &&
                   createSubFolder(collection.options.miscellaneous, "MISC", collection.run.miscFolderPath, "Skipping MISC logs ...") &&
                   createSubFolder(collection.options.solutions, "Solutions", collection.run.solutionsFolderPath,
                                   "Skipping Solution logs ...") &&
                   createSubFolder(collection.options.rbkSchedules, "RBK_Schedules", collection.run.schedulesFolderPath,
                                   "Skipping RBK logs ...");
        }
    }
    if (made) {
        collection.LogReport("Successfully created %s", collection.run.runFolder.c_str());
        error = 0;
    }
    collection.LogReport("Finish - CreateTargetFolder.  Error=%d<BR>", static_cast<int>(error));
    return made ? 1 : 0;
}
