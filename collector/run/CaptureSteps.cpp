// The capture step table, walked once per run from row 1 to row 38. The order is fixed and
// no row looks at the outcome of another: each capture writes its own outcome to the report.
#include "common/profile/SectionTimer.h"
#include "common/text/Format.h"
#include "common/win32/UniqueHandle.h"
#include "engine/Collection.h"
#include "engine/OptionTable.h"
#include "run/CaptureStep.h"
#include "run/StepActions.h"

namespace {

using namespace step_actions;
using D = Collection;

bool MpsOff(const D& d) { return !d.options.mpsReports; }
bool MsinfoFound(const D& d) { return d.detection.msinfoFound && MpsOff(d); }
bool BootFileFound(const D& d) { return d.detection.bootFileFound && MpsOff(d); }
bool SetupLogFound(const D& d) { return d.detection.setupLogFound; }
bool DrWatsonLogFound(const D& d) { return d.detection.drWatsonLogFound; }
bool ClusterLogFound(const D& d) {
    return d.detection.clusterPresent && d.detection.clusterLogFound && MpsOff(d);
}
bool OkapoTraceFound(const D& d) { return d.detection.okapoTraceRegistered && d.detection.okapoTraceFound; }
bool YebTraceFound(const D& d) { return d.detection.yebTraceRegistered && d.detection.yebTraceFound; }
bool TgnInstalled(const D& d) { return d.detection.tgnInstalled; }
bool ServiceRunning(const D& d) { return d.detection.serviceRunning; }
bool ClusterSnapshotToolFound(const D& d) { return d.detection.clusterSnapshotToolFound; }
bool WltSnapshotToolFound(const D& d) { return d.detection.wltSnapshotToolFound; }
bool TejRqnEnabled(const D& d) { return d.detection.tejRqnEnabled; }
bool MpsToolFound(const D& d) { return d.detection.mpsToolFound; }
bool UserDumpFound(const D& d) { return d.detection.userDumpFound; }
bool KerdLogsFound(const D& d) { return d.detection.kerdLogsFound; }
bool ZrxInstalled(const D& d) { return d.detection.zrxInstalled; }
// A greyed box keeps its check mark: the rows below also need what their detection found.
bool LicenceFilesFound(const D& d) { return d.detection.licenceFilesFound; }
bool PelorinInstalled(const D& d) { return d.detection.pelorinInstalled; }
bool ClusterVolumeManagerKeyOpens(const D&) {
    win32::UniqueRegKey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager\\TEJ", 0,
                           KEY_READ | KEY_WOW64_64KEY, key.put()) == ERROR_SUCCESS;
}

void OsInfo(D& d, const char*) { d.CaptureOSInfo(); }
void BootIni(D& d, const char*) { d.GrabFile(d.paths.bootFile, d.run.bootIniTarget, 0); }
void DrWatsonLog(D& d, const char*) { d.GrabFile(d.paths.drWatsonLog, d.run.drWatsonLogTarget, 0); }
void AlertLog(D& d, const char*) { d.GrabFile(d.detection.alertLogPath, d.run.alertLogTarget, 0); }
void TgnXmlFiles(D& d, const char*) { d.GrabMultipleFiles(d.detection.tgnXmlFolder, "*.xml", d.run.tgnXmlTargetFolder); }
void Osmu(D& d, const char*) { d.CaptureOSMUInfo(); }
void NldWke(D& d, const char*) { d.CaptureWKEInfo(); }
void Pqhmc(D& d, const char*) { d.CapturePQHMCInfo(); }
void MiscLogs(D& d, const char*) { d.CaptureMiscLogs(); }
void SolutionLogs(D& d, const char*) { d.GrabMultipleFiles(d.detection.solutionsLogPath, "*", d.run.solutionsFolder); }
void ScheduleLogs(D& d, const char*) { d.CaptureRBKLogs(); }
void ServiceDump(D& d, const char*) { d.CaptureDumpThroughADPlus(); }
void MpsReport(D& d, const char*) {
    d.CaptureQzUtils(d.detection.mpsToolPath, "", d.detection.mpsCabinetPath, d.run.mpsCabinetTarget, 0, INFINITE);
}
void UserDump(D& d, const char*) { d.GrabFile(d.paths.drWatsonUserDump, d.run.userDumpTarget, 0); }
void KerdLogs(D& d, const char*) { d.GrabMultipleFiles(d.detection.kerdLogFolder, "*", d.run.kerdLogTargetFolder); }
void ZrxInformation(D& d, const char*) { d.CaptureZRXInfo(d.run.zrxOutput, INFINITE); }
void ClusterVolumeReports(D& d, const char*) { d.CaptureHNVInfo(); }
void MountPoints(D& d, const char*) { d.CaptureMountVolInfo(); }

constexpr unsigned kOs = CaptureStep::kOs;
constexpr unsigned kVm = CaptureStep::kVm;
constexpr unsigned kNone = CaptureStep::kNone;

// clang-format off
constexpr CaptureStep kCaptureSteps[] = {
    {1, "Stop the WPP boot log", &OptionFlags::bootLog, nullptr, nullptr, "Stopping WPP Boot log ...", nullptr, false, kNone, StopBootLogging, true},
    {2, "OS information (MSINFO32)", &OptionFlags::msinfo32, MsinfoFound, "msinfo32 found and MPS Reports unchecked", "Capturing OS Information, might take more than 5 ~ 20 minutes ...", "Skipping OS Information ...", false, kOs, OsInfo, true},
    {3, "BOOT.INI", &OptionFlags::bootIni, BootFileFound, "the boot file found and MPS Reports unchecked", "Capturing Boot.INI ...", "Skipping Boot.INI ...", false, kOs, BootIni, true},
    {4, "SETUPAPI logs", &OptionFlags::setupLog, SetupLogFound, "the setup log found", "Capturing SETUPAPI.LOG ...", "Skipping SETUPAPI.LOG ...", false, kOs, CopySetupLogs, false},
    {5, "Dr. Watson log", &OptionFlags::drWatsonLog, DrWatsonLogFound, "the Dr. Watson log found", "Capturing DrWatson.LOG ...", "Skipping DrWatson.LOG ...", false, kOs, DrWatsonLog, true},
    {6, "Cluster log", &OptionFlags::clusterLogs, ClusterLogFound, "a cluster and its log found, MPS Reports unchecked", nullptr, nullptr, false, kOs, CaptureClusterLog, true},
    {7, "QzOKAPO traces", &OptionFlags::okapoLogs, OkapoTraceFound, "the QzOkapo trace registered and found", "Capturing QzOKAPO* ...", "Skipping QzOKAPO.LOG ...", false, kVm, CaptureOkapoTraces, true},
    {8, "VM_QzOKAPO console traces", &OptionFlags::okapoLogs, YebTraceFound, "the YEB trace registered and found", "Capturing VM_QzOKAPO* ...", "Skipping VM_QzOKAPO.LOG ...", false, kVm, CaptureConsoleTraces, true},
    {9, "YEB alert log", nullptr, nullptr, nullptr, "Capturing YEB Alert LOG ...", nullptr, false, kVm, AlertLog, false},
    {10, "TGN XML files", &OptionFlags::tgn, TgnInstalled, "TGN installed", "Capturing TGN XML Files ...", "Skipping TGN XML Files ...", false, kVm, TgnXmlFiles, true},
    {11, "Application event log", &OptionFlags::appEventLog, MpsOff, "MPS Reports unchecked", "Capturing Application Event Log ...", "Skipping Application Event Log ...", false, kOs, CaptureApplicationEventLog, true},
    {12, "System event log", &OptionFlags::systemEventLog, MpsOff, "MPS Reports unchecked", "Capturing System Event Log ...", "Skipping System Event Log ...", false, kOs, CaptureSystemEventLog, true},
    {13, "Registry", &OptionFlags::registry, nullptr, nullptr, "Capturing Registry Information ...", "Skipping Registry Information ...", false, kNone, DumpRegistry, false},
    {14, "FLX/MPIO information", &OptionFlags::flxAslDsm, nullptr, nullptr, "Capturing FLX/MPIO Information ...", "Skipping FLX/MPIO Information ...", false, kVm, CaptureMultipathInformation, true},
    {15, "Providers (DOM)", &OptionFlags::providers, ServiceRunning, "the qzsvc or qzob service running", "Capturing Provider (DOM) Information ...", nullptr, false, kVm, CaptureProviders, true},
    {16, "QzDiag", &OptionFlags::qzdiag, nullptr, nullptr, "Capturing QzDiag Information ...", "Skipping QzDiag Information ...", false, kVm, CaptureQzDiag, true},
    {17, "WPP boot logs", &OptionFlags::bootLog, nullptr, nullptr, nullptr, "Skip moving boot logs ...", false, kNone, CaptureBootLogs, true},
    {18, "PQH cluster snapshot", &OptionFlags::pqhHa, ClusterSnapshotToolFound, "the cluster snapshot tool found", "Capturing PQH clusnap logs ...", "Skipping PQH clusnap logs ...", false, kNone, CaptureClusterSnapshot, false},
    {19, "WLT snapshot", &OptionFlags::wlt, WltSnapshotToolFound, "the WLT snapshot tool found", "Capturing wltsnap logs ...", "Skipping PQH wltsnap logs ...", false, kNone, CaptureWltSnapshot, true},
    {20, "RUQ logs", &OptionFlags::ruq, nullptr, nullptr, "Capturing RUQ logs ...", "Skipping RUQ  logs ...", true, kNone, CaptureInstallerDiagnostics, false},
    {21, "OSMU logs", &OptionFlags::osmu, nullptr, nullptr, "Capturing OSMU logs ...", "Skipping OSMU logs ...", false, kNone, Osmu, false},
    {22, "NLD/WKE logs", &OptionFlags::nldWke, nullptr, nullptr, "Capturing NLD logs ...", "Skipping NLD logs ...", false, kNone, NldWke, false},
    {23, "PQHMC logs", &OptionFlags::pqhmc, nullptr, nullptr, "Capturing PQHMC logs ...", "Skipping PQHMC logs ...", false, kNone, Pqhmc, true},
    {24, "Comms logs", &OptionFlags::tejRqn, TejRqnEnabled, "TEJ/RQN enabled", "Capturing comms logs ...", "Skipping PQH comms logs ...", true, kNone, CaptureCommunicationLogs, true},
    {25, "VDS logs", &OptionFlags::vdsLogs, nullptr, nullptr, "Capturing VDS logs ...", "Skipping VDS logs ...", false, kOs | kVm, CaptureVdsLogs, false},
    {26, "Miscellaneous logs", &OptionFlags::miscellaneous, nullptr, nullptr, "Capturing Misc. logs ...", "Skipping Misc. logs ...", false, kNone, MiscLogs, true},
    {27, "Solution logs", &OptionFlags::solutions, nullptr, nullptr, "Capturing Solution logs ...", "Skipping Solution logs ...", false, kNone, SolutionLogs, true},
    {28, "RBK schedule logs", &OptionFlags::rbkSchedules, nullptr, nullptr, "Capturing RBK Schedule logs ...", "Skipping RBK Schedule logs ...", false, kNone, ScheduleLogs, true},
    {29, "QzSvc mini user dump", &OptionFlags::qzsvcDump, ServiceRunning, "the qzsvc or qzob service running", "Capturing QzSvc Mini user Dump ...", "Skipping QzSvc Mini user Dump ...", false, kNone, ServiceDump, true},
    {30, "MPS report", &OptionFlags::mpsReports, MpsToolFound, "the MPS report tool found", "Capturing MPS Report - it may take few minutes...", "Skipping MPS Report ...", false, kOs, MpsReport, false},
    {31, "user.dmp", &OptionFlags::userDump, UserDumpFound, "a user dump found", "Capturing user.dmp ...", "Skipping user.dmp ...", false, kOs, UserDump, true},
    {32, "VM (KERD) logs", &OptionFlags::kerdLogs, KerdLogsFound, "the KERD logs found", "Capturing VM(KERD) logs ...", "Skipping VM(KERD) logs ...", false, kVm, KerdLogs, false},
    {33, "ZRX information", &OptionFlags::zrx, ZrxInstalled, "ZRX installed", "Capturing ZRX Information - it may take few minutes...", "Skipping ZRX Information ...", false, kNone, ZrxInformation, true},
    {34, "Version and file information", &OptionFlags::binaryVersion, nullptr, nullptr, "Capturing Version and File information ...", "Skipping Version and File information ...", false, kNone, CaptureVersions, false},
    {35, "Cluster volume manager reports", &OptionFlags::kerdLogs, ClusterVolumeManagerKeyOpens, "the VolumeManager\\TEJ key of the product", nullptr, nullptr, false, kVm, ClusterVolumeReports, false},
    {36, "License files", &OptionFlags::licenses, LicenceFilesFound, "licence files found", "Capturing License Files ...", "Skipping license files ...", true, kNone, CaptureLicences, false},
    {37, "PLR logs", &OptionFlags::pelorin, PelorinInstalled, "Pelorin installed", "Capturing PLR logs ...", "Skipping PLR logs ...", true, kNone, CapturePelorinLogs, false},
    {38, "Mount points", nullptr, nullptr, nullptr, nullptr, nullptr, false, kOs, MountPoints, false},
};
// clang-format on

constexpr bool RowsInOrder() {
    int expected = 1;
    for (const CaptureStep& step : kCaptureSteps)
        if (step.row != expected++) return false;
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

bool StepRuns(const CaptureStep& step, const Collection& collection) {
    return (!step.option || collection.options.*step.option) && (!step.alsoNeeds || step.alsoNeeds(collection));
}

std::string StepSkipReason(const CaptureStep& step, const Collection& collection) {
    if (step.option && !(collection.options.*step.option)) {
        for (const OptionRow& row : OptionTable())
            if (row.flag == step.option) return text::Format("\"%s\" (%d) unchecked", row.caption, row.controlId);
    }
    return text::Format("needs %s", step.needs);
}

void CarryOutStep(const CaptureStep& step, Collection& collection) {
    if (step.folders & CaptureStep::kOs) collection.EnsureSubFolder(collection.run.osFolder, "OS");
    if (step.folders & CaptureStep::kVm) collection.EnsureSubFolder(collection.run.vmFolder, "VM");
    if (step.capturingText && !step.actionShowsText) collection.SetStatusText(step.capturingText);
    step.action(collection, step.capturingText);
}

void Collection::RunCaptureSteps() {
    for (const CaptureStep& step : kCaptureSteps) {
        ZELTRIN_PROFILE_SECTION("row " + std::to_string(step.row));
        bool carriedOut = StepRuns(step, *this);
        BeginStepRecord(step.row, step.name, carriedOut);
        if (!carriedOut) record.Steps().back().skipReason = StepSkipReason(step, *this);
        if (carriedOut)
            CarryOutStep(step, *this);
        else if (step.skippingText)
            SetStatusText(step.skippingText);
        EndStepRecord();
        if (step.advancesProgress) StepProgress();
    }
}
