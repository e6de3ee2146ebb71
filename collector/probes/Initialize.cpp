// Initialize: the component detection that gives every option box its start state.
#include "common/profile/SectionTimer.h"
#include "dialog/CULVIXDlg.h"
#include "probes/DetectionSteps.h"
#include "probes/OptionBoxes.h"
#include "resources/resource.h"

namespace {

struct StartState {
    int controlId;
    UINT check;
};

// Every box's start state, in the order they are set.
constexpr StartState kStartStates[] = {
    {IDC_APP_EVENT_LOG, BST_CHECKED},   {IDC_SYSTEM_EVENT_LOG, BST_CHECKED}, {IDC_CLUSTER_LOGS, BST_CHECKED},
    {IDC_OKAPO_LOGS, BST_CHECKED},      {IDC_BOOT_INI, BST_CHECKED},         {IDC_SETUP_LOG, BST_CHECKED},
    {IDC_DR_WATSON_LOG, BST_CHECKED},   {IDC_REGISTRY, BST_CHECKED},         {IDC_PROVIDERS, BST_CHECKED},
    {IDC_FLX_ASL_DSM, BST_CHECKED},     {IDC_QZDIAG, BST_CHECKED},           {IDC_QZSVC_DUMP, BST_UNCHECKED},
    {IDC_COMPRESS, BST_CHECKED},        {IDC_MSINFO32, BST_CHECKED},         {IDC_USER_DUMP, BST_CHECKED},
    {IDC_KERD_LOGS, BST_CHECKED},       {IDC_ZRX, BST_CHECKED},              {IDC_BINARY_VERSION, BST_CHECKED},
    {IDC_PQH_HA, BST_CHECKED},          {IDC_WLT, BST_CHECKED},              {IDC_TEJ_RQN, BST_CHECKED},
    {IDC_TGN, BST_CHECKED},             {IDC_RUQ, BST_CHECKED},              {IDC_VDS_LOGS, BST_CHECKED},
    {IDC_MISCELLANEOUS, BST_CHECKED},   {IDC_SOLUTIONS, BST_CHECKED},        {IDC_RBK_SCHEDULES, BST_CHECKED},
    {IDC_OSMU, BST_CHECKED},            {IDC_PELORIN, BST_CHECKED},          {IDC_LICENSES, BST_CHECKED},
    {IDC_NLD_WKE, BST_CHECKED},         {IDC_PQHMC, BST_CHECKED},            {IDC_BOOT_LOG, BST_CHECKED},
    {IDC_HARDWARE_INFO, BST_CHECKED},   {IDC_MEMORY_DUMP, BST_UNCHECKED},
};

// The options that the MPS Reports box greys out, as the report names them.
constexpr const char* kGreyedByMpsReports[] = {
    "NOTE: Following options are enabled/disabled based on MPS Report option state",
    "Application Event Log",
    "System Event Log",
    "Boot.INI ",
    "MSCS Cluster Log",
    "OS Info",
};

}  // namespace

void CULVIXDlg::Initialize() {
    ZELTRIN_PROFILE_SECTION("detection");
    LogReport("Start - Initialize");
    LogReport("Enable and Set all Check Boxes...");
    for (const StartState& state : kStartStates) ::CheckDlgButton(GetSafeHwnd(), state.controlId, state.check);
    ::ShowWindow(GetDlgItem(IDC_HARDWARE_INFO), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_MEMORY_DUMP), SW_HIDE);

    detection_steps::DetectVolumeManagerService(*this);
    detection_steps::DetectWindowsCluster(*this);
    detection_steps::DetectAlertLog(*this);
    detection_steps::DetectTraces(*this);
    detection_steps::DetectPlugInXmlFolder(*this);
    detection_steps::DetectSystemInformationTool(*this);
    detection_steps::DetectSolutionsLog(*this);
    detection_steps::DetectSnapshotSchedules(*this);
    detection_steps::DetectSystemFiles(*this);
    detection_steps::DetectReplication(*this);
    detection_steps::DetectMpsReports(*this);
    detection_steps::DetectUserDump(*this);
    detection_steps::DetectKerdLogs(*this);
    detection_steps::DetectPelorin(*this);
    detection_steps::DetectLicences(*this);
    detection_steps::DetectSnapshotTools(*this);
    OptionBoxes(GetSafeHwnd()).EnableAndCheck(IDC_TEJ_RQN);
    detection.tejRqnEnabled = 1;

    for (const char* line : kGreyedByMpsReports) LogReport("%s", line);
    ReportDlgState();
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_VERSION_LABEL, ("v" + programVersion).c_str());
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_OS_DESCRIPTION, os.description.c_str());
    LogReport("Finish - Initialize. Error=%d<BR>", 0);
}
