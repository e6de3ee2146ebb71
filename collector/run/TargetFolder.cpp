// CreateTargetFolder: the run folder under the destination root and the sub-folders the
// chosen options need.
#include "engine/Collection.h"
#include "probes/Probes.h"
#include "framework/WaitCursor.h"
#include "engine/ErrorText.h"
#include "report/TimeText.h"

namespace {
// Names of the seconds after the run's own that it may take: a minute of runs started at once.
constexpr int kRunFolderNames = 60;
}  // namespace

int Collection::CreateTargetFolder() {
    framework::WaitCursor wait;
    LogReport("Start - CreateTargetFolder %s", run.runFolder.c_str());
    // A second call (the local root after the share) starts from a clean slate: no folder of
    // the failed destination may be written to later.
    run.vmFolder.clear();
    run.osFolder.clear();
    run.miscFolderPath.clear();
    run.solutionsFolderPath.clear();
    run.schedulesFolderPath.clear();

    if (IsFileExists(*this, folders.systemDirectory + "\\" + "mountvol.exe")) run.mountUtilityFound = 1;

    DWORD error = 0;
    // The bug folder and the machine folder may be there already, from an earlier run.
    auto createLevel = [&](const std::string& path) {
        if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
        error = ::GetLastError();
        LogReport("%s - %s", path.c_str(), GetErrorText(error).c_str());
        if (error == ERROR_ALREADY_EXISTS) return true;
        LogFailure("CreateDirectory() failed to create %s", path.c_str());
        return false;
    };
    // The run folder and its sub-folders must be new.
    auto createNew = [&](const std::string& path) {
        if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
        error = ::GetLastError();
        LogReport("%s", GetErrorText(error).c_str());
        LogFailure("CreateDirectory() failed to create %s", path.c_str());
        return false;
    };
    auto createSubFolder = [&](bool wanted, const char* name, std::string& member, const char* skipping) {
        if (!wanted) {
            SetStatusText(skipping);
            return true;
        }
        std::string path = run.runFolder + "\\" + name;
        if (!createNew(path)) return false;
        member = path;
        return true;
    };

    // Another run of the incident may have taken this second's name, or take it while this
    // one tries: creating the folder is the claim, and a name taken means the next second's.
    auto createRunFolder = [&]() {
        const std::string machineFolder = run.runFolder;
        const std::time_t now = std::time(nullptr);
        for (int later = 0; later < kRunFolderNames; ++later) {
            run.timeStamp = RunFolderTimeStamp(now + later);
            run.runFolder = machineFolder + run.timeStamp;
            if (::CreateDirectoryA(run.runFolder.c_str(), nullptr)) {
                if (later > 0)
                    LogReport("%s%s exists already (another run in the same second): this run collects into %s",
                              machineFolder.c_str(), RunFolderTimeStamp(now).c_str(), run.runFolder.c_str());
                return true;
            }
            if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
        }
        return createNew(run.runFolder);
    };

    bool made = false;
    if (createLevel(run.runFolder)) {
        run.runFolder += (run.machineFolderName.empty() ? folders.nodeName : run.machineFolderName) + "\\";
        if (createLevel(run.runFolder)) {
            made = createRunFolder() &&
                   createSubFolder(options.kerdLogs || options.binaryVersion, "VM", run.vmFolder,
                                   "Skipping VM logs ...") &&
                   createSubFolder(options.msinfo32 || options.systemEventLog || options.binaryVersion ||
                                       options.appEventLog || run.mountUtilityFound,
                                   "OS", run.osFolder, "Skipping OS logs ...") &&
                   createSubFolder(options.miscellaneous, "MISC", run.miscFolderPath, "Skipping MISC logs ...") &&
                   createSubFolder(options.solutions, "Solutions", run.solutionsFolderPath,
                                   "Skipping Solution logs ...") &&
                   createSubFolder(options.rbkSchedules, "RBK_Schedules", run.schedulesFolderPath,
                                   "Skipping RBK logs ...");
        }
    }
    if (made) {
        LogReport("Successfully created %s", run.runFolder.c_str());
        error = 0;
    }
    LogReport("Finish - CreateTargetFolder.  Error=%d<BR>", static_cast<int>(error));
    return made ? 1 : 0;
}
