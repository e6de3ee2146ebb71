#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "app/ExitStatus.h"
#include "console/SummaryLines.h"
#include "dialog/OsVersion.h"
#include "eventlog/EventLogExport.h"
#include "framework/Dialog.h"
#include "framework/ProgressControl.h"
#include "process/WatchedChild.h"
#include "report/ReportFile.h"
#include "run/RunFolderFiles.h"
#include "run/RunRecord.h"

namespace console {
class ConsoleWriter;
}

// One flag per option box (0 or 1; a box in its third state reads back as 2), named after
// the box's caption. All start cleared; the detection gives them their start states.
struct OptionFlags {
    int registry = 0;             // 1000 "&Registry"
    int appEventLog = 0;          // 1001 "&Application Event Log"
    int okapoLogs = 0;            // 1002 "QzOkapo Log(s)"
    int clusterLogs = 0;          // 1003 "&Cluster Log(s)"
    int msinfo32 = 0;             // 1004 "MSINFO32"
    int qzsvcDump = 0;            // 1005 "&QzSvc Dump"
    int providers = 0;            // 1006 "&Providers (DOM)"
    int flxAslDsm = 0;            // 1007 "&FLX ASL / DSM"
    int qzdiag = 0;               // 1008 "Q&zDiag"
    int systemEventLog = 0;       // 1016 "System &Event Log"
    int mpsReports = 0;           // 1018 "MPS &Reports"
    int binaryVersion = 0;        // 1019 "&Binary Version"
    int hardwareInfo = 0;         // 1020 "Hardware &Information" (hidden)
    int memoryDump = 0;           // 1024 "Memor&y Dump" (hidden)
    int bootIni = 0;              // 1026 "&BOOT.INI"
    int setupLog = 0;             // 1027 "Se&tup Log"
    int drWatsonLog = 0;          // 1030 "Dr. &Watson Log"
    int compress = 0;             // 1031 "Compress"
    int pelorin = 0;              // 1033 "Pelorin"
    int userDump = 0;             // 1034 "&User Dump"
    int deleteAfterCompress = 0;  // 1035 "Delete after compress"
    int pqhmc = 0;                // 1037 "PQHMC"
    int nldWke = 0;               // 1038 "NLD/WKE"
    int tejRqn = 0;               // 1039 "TEJ/RQN"
    int kerdLogs = 0;             // 1041 "&Logs"
    int zrx = 0;                  // 1042 "ZRX"
    int wlt = 0;                  // 1043 "WLT"
    int pqhHa = 0;                // 1044 "PQH / HA"
    int ruq = 0;                  // 1046 "&RUQ"
    int tgn = 0;                  // 1047 "&TGN"
    int vdsLogs = 0;              // 1050 "VDS Logs"
    int miscellaneous = 0;        // 1051 "Miscellaneous"
    int solutions = 0;            // 1052 "Solutions"
    int rbkSchedules = 0;         // 1053 "RBK Schedules"
    int osmu = 0;                 // 1054 "OSMU (YTR, WOLM)"
    int bootLog = 0;              // 1064 "QzIO/QDSM Boot Log"
    int licenses = 0;             // 1068 "Licenses"
};

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
    int mountUtilityFound = 0;    // mountvol.exe lies in the system directory

    // Sub-folders made with the run folder; empty when their options did not ask for them.
    std::string vmFolder;
    std::string osFolder;
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

    // The management server's install folder as read from the registry (it ends with a
    // backslash); it keeps its last value between the steps that read it.
    std::string managementServerFolder;
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
};

// The main dialog, and the holder of the whole state of one collection.
class CULVIXDlg : public framework::Dialog {
public:
    explicit CULVIXDlg(OsVersionReader readOsVersion = ReadSystemOsVersion);
    ~CULVIXDlg() override;

    void OnCancel() override;

    // Report log
    void LogReport(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    void ReportDlgState();
    void ReportCheckBoxState(int controlId);
    void ReportTimeInformation();

    // Event log export
    int CaptureEventLog(std::string logName, std::string outputPath, int mode, std::string sourcesKey);
    bool WriteEventDescription(FILE* file, const EventRecord& record, std::string sourcesKey);
    bool FormatEventMessage(FILE* file, const EventRecord& record, HMODULE module);
    void WriteUnresolvedDescription(FILE* file, const EventRecord& record);
    void SplitMessageFiles(std::string text);

    // Probes
    int IsFileExists(std::string path);
    int IsPathExistsInRegistry(std::string subKey, std::string valueName, std::string& output, int use64BitView);
    int IsQzSvcRunning(std::string serviceName);
    int DetectWow64();
    int IsZRXInstalled();
    void DetectMpsReportTool(std::string toolSubFolder);
    void Initialize();

    // File grabbing
    int GrabFile(std::string source, std::string target, int move);
    int GrabMultipleFiles(std::string sourceFolder, std::string fileName, std::string targetFolder);

    // Collection run
    void OnOK() override;
    void RunCollection();
    int CreateTargetFolder();
    void AssignTargetPaths();
    void RunCaptureSteps();
    // Makes the run folder's sub-folder <name> when the options did not, so a capture that
    // writes there stays inside the run folder; the member then holds its path, even when
    // the folder could not be made.
    void EnsureSubFolder(std::string& member, const char* name);
    // The run manifest's record of one row of the capture step table.
    void BeginStepRecord(int row, const char* name, bool carriedOut);
    void EndStepRecord();
    // Hashes every file of the run folder and writes "MANIFEST.json" and "SHA256SUMS" into it.
    // Returns a failure line for each of the two that could not be written (it is then gone).
    std::vector<std::string> WriteRunManifest();
    void SetStatusText(const char* text);
    // The console's end of the run; `collected` are the run folder's files before packaging.
    void WriteRunSummary(const std::vector<RunFolderFile>& collected);
    std::vector<console::CabinetFile> CabinetsOfRun() const;

    // Packaging and version listings
    void ListVersions(std::string fileName, std::string pattern);
    void WriteCabList();
    void WriteHACabList();
    void PackageHALogs(int serverCore);

    // Tool captures
    int CaptureQzUtils(std::string application, std::string arguments, std::string sourceOutputFile,
                       std::string targetOutputFile, int move, DWORD timeout);
    int CaptureDumpThroughADPlus();
    int CaptureOSInfo();
    int CaptureZRXInfo(std::string targetOutputFile, DWORD timeout);
    int CaptureMPIOInfo();
    void CaptureOSMUInfo();
    void CaptureWKEInfo();
    void CaptureNLDInfo();
    void CapturePQHMCInfo();
    void CaptureKDXFileInfo();
    void CaptureMountVolInfo();
    void CaptureHNVInfo();

    // Configured and scheduled log captures
    void CaptureMiscLogs();
    void CaptureRBKLogs();

    // Command lines. A command line longer than its buffer allows is refused with a report
    // line naming it: never cut, never run.
    bool CommandLineFits(const std::string& commandLine, size_t limit = kCommandLineLimit);
    // Hands a complete command line to the command interpreter, as the C runtime's system
    // does ("cmd.exe /c <line>"), and waits for it under the run's time limit. Returns the
    // interpreter's result, or -1 when refused or not started.
    int RunCommand(const std::string& commandLine, size_t limit = kCommandLineLimit);
    // Hands a command line that begins with a quoted path to the command interpreter inside
    // one more pair of quotes, which the interpreter takes off, so every quote of the line stays.
    // The length limit applies to the line as built. Returns RunCommand's result.
    int RunQuotedCommand(const std::string& commandLine);
    // A command line as a report entry shows it: whole while the entry has room for it, else
    // its beginning, so an overlong line is refused with its report line, never with a box.
    static std::string ShownCommand(const std::string& commandLine);
    // Likewise for an entry whose own text leaves room for at most `longest` characters of it.
    static std::string ShownCommand(const std::string& commandLine, size_t longest);

    // Takes a folder picked with Browse...: a path with a blank is ignored.
    void AcceptBrowsedFolder(const std::string& path);

    OptionFlags options;
    EntryFields entries;
    OsFacts os;
    MachineFolders folders;
    FixedPaths paths;
    DetectionResults detection;
    RunPaths run;
    ReportLogState report;
    EventLogExport eventLog;
    std::string programVersion;
    framework::ProgressControl progress;
    UnattendedRun unattended;
    RunRecord record;
    // The run folder's files as the step being carried out found them.
    std::vector<RunFolderFile> filesBeforeStep;
    // Progress, failure and summary lines go here; nullptr: nowhere.
    console::ConsoleWriter* console = nullptr;
    // How the run ended, for the program's exit status (an ExitStatus value).
    int exitStatus = kExitCancelled;

    static constexpr const char* kMessageCaption = "Zeltrin - Marlowisp";
    // The command line buffers hold 262 characters: 261 and the terminating zero.
    static constexpr size_t kCommandLineLimit = 261;
    static constexpr size_t kHACommandLineLimit = 271;  // the cluster snapshot packing command

protected:
    std::span<const framework::MessageMapEntry> GetMessageMap() const override;
    void DoDataExchange(framework::DataExchange& exchange) override;
    BOOL OnInitDialog() override;

private:
    void CreateReport(OsVersionReader readOsVersion);
    void SetOsFacts(const OsVersionInfo& version);
    void SetFixedPaths();

    // Every child of the run: starts it watched by the run's time limit, writes its heartbeat
    // and time-limit lines, and records it; `command` names it there. `announceWait` writes
    // the direct start's waiting line once the child runs.
    ChildRecord RunChild(const process::ChildStart& start, const std::string& command, bool announceWait);
    // A command line refused for its length, kept in the run record as a child not started.
    void RecordRefusedChild(const std::string& command);
    // Tool captures: the direct start. Starts a program hidden from view, waits for it under
    // the run's time limit and puts its exit code, or the system error of a start that failed
    // or was refused, into `status`. An empty application lets the command line name the program;
    // `shownName` is the program a failed start names. Returns 1 when the process was created.
    int StartDirect(const std::string& application, const std::string& commandLine, const std::string& shownName,
                    DWORD& status);

    void OnHelp();
    void OnCompressToggle();
    void OnSelectToggle();
    void OnMpsReportsToggle();
    void OnBrowse();
    INT_PTR OnSysCommand(WPARAM command, LPARAM);
    INT_PTR OnPaint(WPARAM, LPARAM);
    INT_PTR OnQueryDragIcon(WPARAM, LPARAM);

    HICON icon_ = nullptr;
};
