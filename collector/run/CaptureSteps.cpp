// The capture step table. The rows run in its order, beside each other where the table allows:
// no row looks at the outcome of another, and each writes its outcome to its own log.
#include "capture/Captures.h"
#include "common/text/Format.h"
#include "common/win32/UniqueHandle.h"
#include "engine/ErrorText.h"
#include "engine/OptionTable.h"
#include "run/CaptureStep.h"
#include "run/StepActions.h"

namespace {

using namespace step_actions;
using F = RunFacts;
using C = StepContext;

bool MpsOff(const F& f) { return !f.options.mpsReports; }
bool MsinfoFound(const F& f) { return f.detection.msinfoFound && MpsOff(f); }
bool BootFileFound(const F& f) { return f.detection.bootFileFound && MpsOff(f); }
bool SetupLogFound(const F& f) { return f.detection.setupLogFound; }
bool DrWatsonLogFound(const F& f) { return f.detection.drWatsonLogFound; }
bool ClusterLogFound(const F& f) { return f.detection.clusterPresent && f.detection.clusterLogFound && MpsOff(f); }
bool OkapoTraceFound(const F& f) { return f.detection.okapoTraceRegistered && f.detection.okapoTraceFound; }
bool YebTraceFound(const F& f) { return f.detection.yebTraceRegistered && f.detection.yebTraceFound; }
bool TgnInstalled(const F& f) { return f.detection.tgnInstalled; }
bool ServiceRunning(const F& f) { return f.detection.serviceRunning; }
bool ClusterSnapshotToolFound(const F& f) { return f.detection.clusterSnapshotToolFound; }
bool WltSnapshotToolFound(const F& f) { return f.detection.wltSnapshotToolFound; }
bool TejRqnEnabled(const F& f) { return f.detection.tejRqnEnabled; }
bool MpsToolFound(const F& f) { return f.detection.mpsToolFound; }
bool UserDumpFound(const F& f) { return f.detection.userDumpFound; }
bool KerdLogsFound(const F& f) { return f.detection.kerdLogsFound; }
bool ZrxInstalled(const F& f) { return f.detection.zrxInstalled; }
// A greyed box keeps its check mark: the rows below also need what their detection found.
bool LicenceFilesFound(const F& f) { return f.detection.licenceFilesFound; }
bool PelorinInstalled(const F& f) { return f.detection.pelorinInstalled; }
bool ClusterVolumeManagerKeyOpens(const F&) {
    win32::UniqueRegKey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager\\TEJ", 0,
                           KEY_READ | KEY_WOW64_64KEY, key.put()) == ERROR_SUCCESS;
}

void OsInfo(C& c, const char*) { CaptureOSInfo(c); }
void BootIni(C& c, const char*) { GrabFile(c, c.paths.bootFile, c.run.bootIniTarget, 0); }
void DrWatsonLog(C& c, const char*) { GrabFile(c, c.paths.drWatsonLog, c.run.drWatsonLogTarget, 0); }
void AlertLog(C& c, const char*) { GrabFile(c, c.detection.alertLogPath, c.run.alertLogTarget, 0); }
void TgnXmlFiles(C& c, const char*) { GrabMultipleFiles(c, c.detection.tgnXmlFolder, "*.xml", c.run.tgnXmlTargetFolder); }
void Osmu(C& c, const char*) { CaptureOSMUInfo(c); }
void NldWke(C& c, const char*) { CaptureWKEInfo(c); }
void Pqhmc(C& c, const char*) { CapturePQHMCInfo(c); }
void MiscLogs(C& c, const char*) { CaptureMiscLogs(c); }
void SolutionLogs(C& c, const char*) { GrabMultipleFiles(c, c.detection.solutionsLogPath, "*", c.run.solutionsFolder); }
void ScheduleLogs(C& c, const char*) { CaptureRBKLogs(c); }
void ServiceDump(C& c, const char*) { CaptureDumpThroughADPlus(c); }
void MpsReport(C& c, const char*) {
    CaptureQzUtils(c, c.detection.mpsToolPath, "", c.detection.mpsCabinetPath, c.run.mpsCabinetTarget, 0, INFINITE);
}
void UserDump(C& c, const char*) { GrabFile(c, c.paths.drWatsonUserDump, c.run.userDumpTarget, 0); }
void KerdLogs(C& c, const char*) { GrabMultipleFiles(c, c.detection.kerdLogFolder, "*", c.run.kerdLogTargetFolder); }
void ZrxInformation(C& c, const char*) { CaptureZRXInfo(c, c.run.zrxOutput, INFINITE); }
void ClusterVolumeReports(C& c, const char*) { CaptureHNVInfo(c); }
void MountPoints(C& c, const char*) { CaptureMountVolInfo(c); }

constexpr unsigned kOs = CaptureStep::kOs;
constexpr unsigned kVm = CaptureStep::kVm;

// Rows 1 and 17 stop and start the WPP boot session; 14 and 15 take their tools' output from the
// current directory; 18, 19 and 29 give their tools the run folder itself: they run alone.
// The traces, TGN and KERD rows copy names found on the machine into VM: any name ("VM:*").
constexpr CaptureStep kCaptureSteps[] = {
    {.row = 1, .name = "Stop the WPP boot log", .option = &OptionFlags::bootLog,
     .capturingText = "Stopping WPP Boot log ...", .action = StopBootLogging, .advancesProgress = true, .alone = true},
    {.row = 2, .name = "OS information (MSINFO32)", .option = &OptionFlags::msinfo32, .alsoNeeds = MsinfoFound,
     .needs = "msinfo32 found and MPS Reports unchecked",
     .capturingText = "Capturing OS Information, might take more than 5 ~ 20 minutes ...",
     .skippingText = "Skipping OS Information ...", .folders = kOs, .action = OsInfo, .advancesProgress = true,
     .writes = "OS:MSINFO_REPORT.TXT"},
    {.row = 3, .name = "BOOT.INI", .option = &OptionFlags::bootIni, .alsoNeeds = BootFileFound,
     .needs = "the boot file found and MPS Reports unchecked", .capturingText = "Capturing Boot.INI ...",
     .skippingText = "Skipping Boot.INI ...", .folders = kOs, .action = BootIni, .advancesProgress = true,
     .writes = "OS:BOOT.INI"},
    {.row = 4, .name = "SETUPAPI logs", .option = &OptionFlags::setupLog, .alsoNeeds = SetupLogFound,
     .needs = "the setup log found", .capturingText = "Capturing SETUPAPI.LOG ...",
     .skippingText = "Skipping SETUPAPI.LOG ...", .folders = kOs, .action = CopySetupLogs,
     .writes = "OS:SETUPAPI.LOG OS:setupapi*.log"},
    {.row = 5, .name = "Dr. Watson log", .option = &OptionFlags::drWatsonLog, .alsoNeeds = DrWatsonLogFound,
     .needs = "the Dr. Watson log found", .capturingText = "Capturing DrWatson.LOG ...",
     .skippingText = "Skipping DrWatson.LOG ...", .folders = kOs, .action = DrWatsonLog, .advancesProgress = true,
     .writes = "OS:DRWTSN32.LOG"},
    {.row = 6, .name = "Cluster log", .option = &OptionFlags::clusterLogs, .alsoNeeds = ClusterLogFound,
     .needs = "a cluster and its log found, MPS Reports unchecked", .folders = kOs, .action = CaptureClusterLog,
     .advancesProgress = true, .writes = "OS:*"},
    {.row = 7, .name = "QzOKAPO traces", .option = &OptionFlags::okapoLogs, .alsoNeeds = OkapoTraceFound,
     .needs = "the QzOkapo trace registered and found", .capturingText = "Capturing QzOKAPO* ...",
     .skippingText = "Skipping QzOKAPO.LOG ...", .folders = kVm, .action = CaptureOkapoTraces,
     .advancesProgress = true, .writes = "VM:*"},
    {.row = 8, .name = "VM_QzOKAPO console traces", .option = &OptionFlags::okapoLogs, .alsoNeeds = YebTraceFound,
     .needs = "the YEB trace registered and found", .capturingText = "Capturing VM_QzOKAPO* ...",
     .skippingText = "Skipping VM_QzOKAPO.LOG ...", .folders = kVm, .action = CaptureConsoleTraces,
     .advancesProgress = true, .writes = "VM:*"},
    {.row = 9, .name = "YEB alert log", .capturingText = "Capturing YEB Alert LOG ...", .folders = kVm,
     .action = AlertLog, .writes = "VM:ALERT.LOG"},
    {.row = 10, .name = "TGN XML files", .option = &OptionFlags::tgn, .alsoNeeds = TgnInstalled,
     .needs = "TGN installed", .capturingText = "Capturing TGN XML Files ...", .skippingText = "Skipping TGN XML Files ...",
     .folders = kVm, .action = TgnXmlFiles, .advancesProgress = true, .writes = "VM:*"},
    {.row = 11, .name = "Application event log", .option = &OptionFlags::appEventLog, .alsoNeeds = MpsOff,
     .needs = "MPS Reports unchecked", .capturingText = "Capturing Application Event Log ...",
     .skippingText = "Skipping Application Event Log ...", .folders = kOs, .action = CaptureApplicationEventLog,
     .advancesProgress = true, .writes = "OS:APP_Events.evt OS:APP_Events.log"},
    {.row = 12, .name = "System event log", .option = &OptionFlags::systemEventLog, .alsoNeeds = MpsOff,
     .needs = "MPS Reports unchecked", .capturingText = "Capturing System Event Log ...",
     .skippingText = "Skipping System Event Log ...", .folders = kOs, .action = CaptureSystemEventLog,
     .advancesProgress = true, .writes = "OS:SYS_Events.evt OS:SYS_Events.log"},
    {.row = 13, .name = "Registry", .option = &OptionFlags::registry, .capturingText = "Capturing Registry Information ...",
     .skippingText = "Skipping Registry Information ...", .action = DumpRegistry, .writes = "RUN:REGISTRY.TXT"},
    {.row = 14, .name = "FLX/MPIO information", .option = &OptionFlags::flxAslDsm,
     .capturingText = "Capturing FLX/MPIO Information ...", .skippingText = "Skipping FLX/MPIO Information ...",
     .folders = kVm, .action = CaptureMultipathInformation, .advancesProgress = true, .alone = true},
    {.row = 15, .name = "Providers (DOM)", .option = &OptionFlags::providers, .alsoNeeds = ServiceRunning,
     .needs = "the qzsvc or qzob service running", .capturingText = "Capturing Provider (DOM) Information ...",
     .folders = kVm, .action = CaptureProviders, .advancesProgress = true, .alone = true},
    {.row = 16, .name = "QzDiag", .option = &OptionFlags::qzdiag, .capturingText = "Capturing QzDiag Information ...",
     .skippingText = "Skipping QzDiag Information ...", .folders = kVm, .action = CaptureQzDiag,
     .advancesProgress = true, .writes = "VM:qzdiag.txt"},
    {.row = 17, .name = "WPP boot logs", .option = &OptionFlags::bootLog, .skippingText = "Skip moving boot logs ...",
     .action = CaptureBootLogs, .advancesProgress = true, .mustFollow = 1, .alone = true},
    {.row = 18, .name = "PQH cluster snapshot", .option = &OptionFlags::pqhHa, .alsoNeeds = ClusterSnapshotToolFound,
     .needs = "the cluster snapshot tool found", .capturingText = "Capturing PQH clusnap logs ...",
     .skippingText = "Skipping PQH clusnap logs ...", .action = CaptureClusterSnapshot, .alone = true},
    {.row = 19, .name = "WLT snapshot", .option = &OptionFlags::wlt, .alsoNeeds = WltSnapshotToolFound,
     .needs = "the WLT snapshot tool found", .capturingText = "Capturing wltsnap logs ...",
     .skippingText = "Skipping PQH wltsnap logs ...", .action = CaptureWltSnapshot, .advancesProgress = true,
     .alone = true},
    {.row = 20, .name = "RUQ logs", .option = &OptionFlags::ruq, .capturingText = "Capturing RUQ logs ...",
     .skippingText = "Skipping RUQ  logs ...", .actionShowsText = true, .action = CaptureInstallerDiagnostics},
    {.row = 21, .name = "OSMU logs", .option = &OptionFlags::osmu, .capturingText = "Capturing OSMU logs ...",
     .skippingText = "Skipping OSMU logs ...", .action = Osmu},
    {.row = 22, .name = "NLD/WKE logs", .option = &OptionFlags::nldWke, .capturingText = "Capturing NLD logs ...",
     .skippingText = "Skipping NLD logs ...", .action = NldWke},
    {.row = 23, .name = "PQHMC logs", .option = &OptionFlags::pqhmc, .capturingText = "Capturing PQHMC logs ...",
     .skippingText = "Skipping PQHMC logs ...", .action = Pqhmc, .advancesProgress = true},
    // The management server's folder that row 22 read stands when its own read finds none.
    {.row = 24, .name = "Comms logs", .option = &OptionFlags::tejRqn, .alsoNeeds = TejRqnEnabled,
     .needs = "TEJ/RQN enabled", .capturingText = "Capturing comms logs ...", .skippingText = "Skipping PQH comms logs ...",
     .actionShowsText = true, .action = CaptureCommunicationLogs, .advancesProgress = true, .mustFollow = 22},
    {.row = 25, .name = "VDS logs", .option = &OptionFlags::vdsLogs, .capturingText = "Capturing VDS logs ...",
     .skippingText = "Skipping VDS logs ...", .folders = kOs | kVm, .action = CaptureVdsLogs,
     .writes = "OS:$vds$.log VM:$qzvdsprov$.log"},
    {.row = 26, .name = "Miscellaneous logs", .option = &OptionFlags::miscellaneous,
     .capturingText = "Capturing Misc. logs ...", .skippingText = "Skipping Misc. logs ...", .action = MiscLogs,
     .advancesProgress = true},
    {.row = 27, .name = "Solution logs", .option = &OptionFlags::solutions, .capturingText = "Capturing Solution logs ...",
     .skippingText = "Skipping Solution logs ...", .action = SolutionLogs, .advancesProgress = true},
    {.row = 28, .name = "RBK schedule logs", .option = &OptionFlags::rbkSchedules,
     .capturingText = "Capturing RBK Schedule logs ...", .skippingText = "Skipping RBK Schedule logs ...",
     .action = ScheduleLogs, .advancesProgress = true},
    {.row = 29, .name = "QzSvc mini user dump", .option = &OptionFlags::qzsvcDump, .alsoNeeds = ServiceRunning,
     .needs = "the qzsvc or qzob service running", .capturingText = "Capturing QzSvc Mini user Dump ...",
     .skippingText = "Skipping QzSvc Mini user Dump ...", .action = ServiceDump, .advancesProgress = true,
     .alone = true},
    {.row = 30, .name = "MPS report", .option = &OptionFlags::mpsReports, .alsoNeeds = MpsToolFound,
     .needs = "the MPS report tool found", .capturingText = "Capturing MPS Report - it may take few minutes...",
     .skippingText = "Skipping MPS Report ...", .folders = kOs, .action = MpsReport,
     .writes = "OS:MPSReports_CLUSTER.CAB"},
    {.row = 31, .name = "user.dmp", .option = &OptionFlags::userDump, .alsoNeeds = UserDumpFound,
     .needs = "a user dump found", .capturingText = "Capturing user.dmp ...", .skippingText = "Skipping user.dmp ...",
     .folders = kOs, .action = UserDump, .advancesProgress = true, .writes = "OS:USER.DMP"},
    {.row = 32, .name = "VM (KERD) logs", .option = &OptionFlags::kerdLogs, .alsoNeeds = KerdLogsFound,
     .needs = "the KERD logs found", .capturingText = "Capturing VM(KERD) logs ...",
     .skippingText = "Skipping VM(KERD) logs ...", .folders = kVm, .action = KerdLogs, .writes = "VM:*"},
    {.row = 33, .name = "ZRX information", .option = &OptionFlags::zrx, .alsoNeeds = ZrxInstalled,
     .needs = "ZRX installed", .capturingText = "Capturing ZRX Information - it may take few minutes...",
     .skippingText = "Skipping ZRX Information ...", .action = ZrxInformation, .advancesProgress = true,
     .writes = "RUN:ZRX"},
    {.row = 34, .name = "Version and file information", .option = &OptionFlags::binaryVersion,
     .capturingText = "Capturing Version and File information ...",
     .skippingText = "Skipping Version and File information ...", .action = CaptureVersions,
     .writes = "OS:SYSTEM32_EXE_VER.TXT OS:SYSTEM32_DLL_VER.TXT OS:SYSTEM32_SYS_VER.TXT VM:KDX_BINARY_VERSION.TXT"},
    {.row = 35, .name = "Cluster volume manager reports", .option = &OptionFlags::kerdLogs,
     .alsoNeeds = ClusterVolumeManagerKeyOpens, .needs = "the VolumeManager\\TEJ key of the product", .folders = kVm,
     .action = ClusterVolumeReports, .writes = "VM:HNV_NIDMAP_REPORT.TXT VM:HNV_NODESTATE_REPORT.TXT"},
    {.row = 36, .name = "License files", .option = &OptionFlags::licenses, .alsoNeeds = LicenceFilesFound,
     .needs = "licence files found", .capturingText = "Capturing License Files ...",
     .skippingText = "Skipping license files ...", .actionShowsText = true, .action = CaptureLicences},
    {.row = 37, .name = "PLR logs", .option = &OptionFlags::pelorin, .alsoNeeds = PelorinInstalled,
     .needs = "Pelorin installed", .capturingText = "Capturing PLR logs ...", .skippingText = "Skipping PLR logs ...",
     .actionShowsText = true, .action = CapturePelorinLogs},
    {.row = 38, .name = "Mount points", .folders = kOs, .action = MountPoints, .writes = "OS:mountvol.txt"},
};

constexpr bool RowsInOrder() {
    int expected = 1;
    for (const CaptureStep& step : kCaptureSteps)
        if (step.row != expected++ || step.mustFollow >= step.row) return false;
    return expected == 39;
}
static_assert(RowsInOrder());

// The run takes 25 progress steps: one before the table, one after the report is moved,
// and these.
constexpr int ProgressSteps() {
    int steps = 0;
    for (const CaptureStep& step : kCaptureSteps) steps += step.advancesProgress ? 1 : 0;
    return steps;
}
static_assert(ProgressSteps() == 23);

}  // namespace

std::span<const CaptureStep> CaptureStepTable() noexcept { return kCaptureSteps; }

bool StepRuns(const CaptureStep& step, const RunFacts& facts) {
    return (!step.option || facts.options.*step.option) && (!step.alsoNeeds || step.alsoNeeds(facts));
}

std::string StepSkipReason(const CaptureStep& step, const RunFacts& facts) {
    if (step.option && !(facts.options.*step.option)) {
        for (const OptionRow& row : OptionTable())
            if (row.flag == step.option) return text::Format("\"%s\" (%d) unchecked", row.caption, row.controlId);
    }
    return text::Format("needs %s", step.needs);
}

void EnsureSubFolder(StepContext& context, StepServices::SubFolder which) {
    const std::string& path = which == StepServices::SubFolder::kOs ? context.run.osFolder : context.run.vmFolder;
    context.services.MakeSubFolderOnce(which, [&context, &path] {
        if (context.plan != nullptr || ::CreateDirectoryA(path.c_str(), nullptr)) return;
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS) return;
        context.LogReport("%s - %s", path.c_str(), GetErrorText(error).c_str());
        context.LogFailure("CreateDirectory() failed to create %s", path.c_str());
    });
}

void CarryOutStep(const CaptureStep& step, StepContext& context) {
    if (step.folders & CaptureStep::kOs) EnsureSubFolder(context, StepServices::SubFolder::kOs);
    if (step.folders & CaptureStep::kVm) EnsureSubFolder(context, StepServices::SubFolder::kVm);
    if (step.capturingText && !step.actionShowsText) context.SetStatusText(step.capturingText);
    step.action(context, step.capturingText);
}
