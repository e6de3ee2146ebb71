#pragma once
#include <windows.h>

#include <mutex>
#include <optional>
#include <string>

#include "engine/ReportFile.h"

// What the user types or picks in the dialog.
struct EntryFields {
    std::string incidentNumber;  // at most 9 characters when typed
    std::string name;            // at most 50
    std::string comments;        // at most 256
    SYSTEMTIME problemDate{};
    SYSTEMTIME problemTime{};
    std::string destinationFolder;  // chosen with Browse..., with a trailing backslash; empty until then
};

// The machine's version facts; every flag 0 or 1.
struct OsFacts {
    int isWindows2000 = 0;
    int isXpOr2003 = 0;
    int isVersion6 = 0;
    int isVersion62Or63 = 0;
    int isWow64 = 0;
    int isServerCore = 0;
    std::string description;  // "Microsoft Windows v%d.%d (Build %d: %s)"
};

// Folders and names of this machine and of this program, read while the header is written.
struct MachineFolders {
    std::string programFolder;  // the current directory at start-up
    std::string systemDirectory;
    std::string windowsDirectory;
    std::string homeDrive;  // "%HOMEDRIVE%" expanded, with a trailing backslash
    std::string nodeName;
};

// Fixed names of the companion tools, their outputs and the logs the steps copy.
struct FixedPaths {
    std::string providersReportName;
    std::string productProvidersReportName;
    std::string flxInfoOutputName;
    std::string qzdiagOutputName;
    std::string helpFile;
    std::string memoryDump;
    std::string bootFile;
    std::string setupLog;
    std::string providersTool;
    std::string productProvidersTool;
    std::string flxInfoTool;
    std::string zrxScript;  // quoted
    std::string ruqDiagTool;
    std::string ruqDumpTool;
    std::string osmuSnapshotScript;
    std::string nldDiagScript;
    std::string pqhmcDiagTool;
    std::string linkgrabScript;
    std::string vdsLog;
    std::string qzVdsProviderLog;
    std::string qzdiagTool;  // quoted outside Windows 2000
    std::string drWatsonUserDump;
    std::string drWatsonLog;
};

// What the probes found; flags are 0 or 1, paths hold at most 260 characters.
struct DetectionResults {
    std::string productVersion;  // "Version" of the volume manager key, when read
    int productMajorVersion = 0;
    int mpsToolFound = 0;
    std::string mpsToolPath;
    std::string mpsCabinetPath;

    int serviceRunning = 0;  // "qzsvc" or "qzob"
    int clusterPresent = 0;
    int clusterLogFound = 0;
    std::string clusterLogPath;
    std::string productInstallFolder;  // "INSTALLDIR", as read (it ends with a backslash)
    std::string alertLogPath;
    int okapoTraceRegistered = 0;
    int okapoTraceFound = 0;
    std::string okapoTracePath;
    int yebTraceRegistered = 0;
    int yebTraceFound = 0;
    std::string yebTracePath;
    int tgnInstalled = 0;
    int tgnXmlInstalled = 0;
    std::string tgnXmlFolder;
    int msinfoFound = 0;
    std::string msinfoPath;
    std::string solutionsLogPath;
    int memoryDumpFound = 0;
    int bootFileFound = 0;
    int setupLogFound = 0;
    int drWatsonLogFound = 0;
    int zrxInstalled = 0;
    int userDumpFound = 0;
    std::string kerdOptions;  // the whole "KerdOptions" text
    int kerdLogsFound = 0;
    std::string kerdLogFolder;
    std::string kerdLogPattern;
    int pelorinInstalled = 0;
    std::string commonAppData;
    std::string pelorinLogFolder;
    std::string licenceFolder;
    int licenceFilesFound = 0;
    int clusterSnapshotToolFound = 0;
    std::string clusterSnapshotToolPath;
    int wltSnapshotToolFound = 0;
    std::string wltSnapshotToolPath;
    int tejRqnEnabled = 0;
};

// Names and paths of one collection run. Folder members hold no trailing backslash unless
// their comment says so.
struct RunPaths {
    // Where the run first tries to make its bug folder, so support finds the logs without
    // asking; a UNC path ending in a backslash.
    std::string networkShareRoot = "\\\\zeltrin-logs\\incidents\\";
    std::string bugFolderNumber;  // a copy of the incident number, made by the run
    std::string runFolder;        // the time-stamped folder of this run
    std::string runRoot;          // the share or local root it was made below, with a trailing backslash
    std::string timeStamp;        // "%m%d%Y__%H-%M-%S", the run folder's last component
    // The machine folder's name when it is not the computer name: a redacted run's on the share.
    std::string machineFolderName;
    int mountUtilityFound = 0;    // mountvol.exe lies in the system directory

    // Sub-folders made with the run folder; empty when their options did not ask for them,
    // until the target paths are set: then they hold the paths, and the marks below say
    // whether the folders were made.
    std::string vmFolder;
    std::string osFolder;
    bool vmFolderMade = false;
    bool osFolderMade = false;
    std::string miscFolderPath;
    std::string solutionsFolderPath;
    std::string schedulesFolderPath;

    // OS folder targets.
    std::string appEventLogFolder;  // with a trailing backslash
    std::string systemEventLogFolder;  // with a trailing backslash
    std::string bootIniTarget;
    std::string setupLogTarget;
    std::string vdsLogTarget;
    std::string mountVolTarget;
    std::string clusterLogTarget;
    std::string msinfoReportTarget;
    std::string mpsCabinetTarget;
    std::string drWatsonLogTarget;
    std::string userDumpTarget;

    // VM folder targets.
    std::string alertLogTarget;
    std::string flxInfoTarget;
    std::string mpioLogTarget;
    std::string qdsminfoLogTarget;
    std::string providersReportTarget;
    std::string productProvidersReportTarget;
    std::string qzdiagTarget;
    std::string qzVdsProviderLogTarget;
    std::string kdxBinaryVersionTarget;
    std::string hnvNidmapTarget;
    std::string hnvNodestateTarget;
    std::string okapoTraceTargetFolder;    // with a trailing backslash
    std::string consoleTraceTargetFolder;  // with a trailing backslash
    std::string kerdLogTargetFolder;       // with a trailing backslash
    std::string tgnXmlTargetFolder;        // with a trailing backslash

    // Run folder targets.
    std::string solutionsFolder;  // with a trailing backslash
    std::string schedulesFolder;  // with a trailing backslash
    std::string miscFolder;       // with a trailing backslash
    std::string registryDumpPath;
    std::string zrxOutput;
    std::string clusterSnapshotFolder;
    std::string wltSnapshotFolder;
    std::string commsLogFolder;
    std::string ruqFolder;
    std::string osmuFolder;
    std::string pelorinTargetFolder;   // with a trailing backslash
    std::string licencesTargetFolder;  // with a trailing backslash
    std::string nldFolder;
    std::string wkeFolder;
    std::string pqhmcFolder;
};

// How an unattended run is watched, from the command line.
struct UnattendedRun {
    std::string commandLine;           // the program's arguments, as given
    bool quiet = false;                // "-quiet": box texts go to the report and the console
    unsigned timeoutSeconds = 0;       // "timeout=N"; 0: children are never ended
    // A child still running gets a report line after each interval, so a stuck run says
    // what it waits for.
    DWORD heartbeatMilliseconds = 10 * 60 * 1000;
    bool noShare = false;              // "noshare": the network share is not tried
    std::optional<unsigned> reserveMiB;  // "reserve=N": the free-space floor; none: 1 GiB or 5 % of the volume
    unsigned maxFileMiB = 0;           // "maxfile=N": a larger file is copied as its last N MiB; 0: whole
    unsigned eventLogDays = 0;         // "days=N": days the event-log text exports keep; 0: their own 45
    unsigned stepThreads = 0;          // "threads=N": capture steps at once; 0: 4, or the processors if fewer
};

// The report log of this run.
struct ReportLogState {
    ReportFile file;
    std::string fileName;     // "<pid>_ULVIX-Report.HTML", in the current directory
    std::string destination;  // where the run moves it
    std::string lineBuffer;   // the entry being written
    std::string problemDateText;
    std::string problemTimeText;
    // Off while the run tries the network share it falls back from: those are not failures.
    bool countFailures = true;
    // Held for each write of the report file and each failure line kept, which the collection
    // and the steps running beside each other both make; nothing else is done while it is held.
    std::mutex guard;
};

