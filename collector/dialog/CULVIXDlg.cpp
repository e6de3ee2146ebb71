// Construction, data exchange and message map of the main dialog.
#include "dialog/CULVIXDlg.h"

#include "resources/resource.h"

CULVIXDlg::CULVIXDlg(OsVersionReader readOsVersion) : framework::Dialog(IDD_ULVIX_DIALOG) {
    icon_ = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    CreateReport(readOsVersion);
}

CULVIXDlg::~CULVIXDlg() = default;

std::span<const framework::MessageMapEntry> CULVIXDlg::GetMessageMap() const {
    using framework::OnClicked;
    using framework::OnMessage;
    static const framework::MessageMapEntry kMessageMap[] = {
        OnMessage(WM_SYSCOMMAND, &CULVIXDlg::OnSysCommand),
        OnMessage(WM_PAINT, &CULVIXDlg::OnPaint),
        OnMessage(WM_QUERYDRAGICON, &CULVIXDlg::OnQueryDragIcon),
        OnClicked(IDC_HELP_BUTTON, &CULVIXDlg::OnHelp),
        OnClicked(IDC_COMPRESS, &CULVIXDlg::OnCompressToggle),
        OnClicked(IDC_SELECT_TOGGLE, &CULVIXDlg::OnSelectToggle),
        OnClicked(IDC_MPS_REPORTS, &CULVIXDlg::OnMpsReportsToggle),
        OnClicked(IDC_BROWSE, &CULVIXDlg::OnBrowse),
    };
    return kMessageMap;
}

// The order matters: a field that fails its check stops the exchange, and everything after
// it keeps its previous value.
void CULVIXDlg::DoDataExchange(framework::DataExchange& exchange) {
    exchange.Control(IDC_PROGRESS, progress);
    exchange.CheckBox(IDC_REGISTRY, options.registry);
    exchange.CheckBox(IDC_OKAPO_LOGS, options.okapoLogs);
    exchange.CheckBox(IDC_CLUSTER_LOGS, options.clusterLogs);
    exchange.CheckBox(IDC_MSINFO32, options.msinfo32);
    exchange.CheckBox(IDC_FLX_ASL_DSM, options.flxAslDsm);
    exchange.CheckBox(IDC_PROVIDERS, options.providers);
    exchange.CheckBox(IDC_QZSVC_DUMP, options.qzsvcDump);
    exchange.CheckBox(IDC_QZDIAG, options.qzdiag);
    exchange.Text(IDC_INCIDENT, entries.incidentNumber, 9);
    exchange.CheckBox(IDC_APP_EVENT_LOG, options.appEventLog);
    exchange.CheckBox(IDC_HARDWARE_INFO, options.hardwareInfo);
    exchange.CheckBox(IDC_MPS_REPORTS, options.mpsReports);
    exchange.CheckBox(IDC_SYSTEM_EVENT_LOG, options.systemEventLog);
    exchange.CheckBox(IDC_BINARY_VERSION, options.binaryVersion);
    exchange.Text(IDC_COMMENTS, entries.comments, 256);
    exchange.Text(IDC_NAME, entries.name, 50);
    exchange.CheckBox(IDC_BOOT_INI, options.bootIni);
    exchange.CheckBox(IDC_MEMORY_DUMP, options.memoryDump);
    exchange.DateTime(IDC_PROBLEM_DATE, entries.problemDate);
    exchange.DateTime(IDC_PROBLEM_TIME, entries.problemTime);
    exchange.CheckBox(IDC_SETUP_LOG, options.setupLog);
    exchange.CheckBox(IDC_DR_WATSON_LOG, options.drWatsonLog);
    exchange.CheckBox(IDC_COMPRESS, options.compress);
    exchange.CheckBox(IDC_DELETE_AFTER_COMPRESS, options.deleteAfterCompress);
    exchange.CheckBox(IDC_USER_DUMP, options.userDump);
    exchange.CheckBox(IDC_KERD_LOGS, options.kerdLogs);
    exchange.CheckBox(IDC_ZRX, options.zrx);
    exchange.CheckBox(IDC_PQH_HA, options.pqhHa);
    exchange.CheckBox(IDC_WLT, options.wlt);
    exchange.CheckBox(IDC_TEJ_RQN, options.tejRqn);
    exchange.CheckBox(IDC_TGN, options.tgn);
    exchange.CheckBox(IDC_RUQ, options.ruq);
    exchange.CheckBox(IDC_VDS_LOGS, options.vdsLogs);
    exchange.CheckBox(IDC_MISCELLANEOUS, options.miscellaneous);
    exchange.CheckBox(IDC_SOLUTIONS, options.solutions);
    exchange.CheckBox(IDC_RBK_SCHEDULES, options.rbkSchedules);
    exchange.CheckBox(IDC_OSMU, options.osmu);
    exchange.CheckBox(IDC_PELORIN, options.pelorin);
    exchange.CheckBox(IDC_LICENSES, options.licenses);
    exchange.CheckBox(IDC_NLD_WKE, options.nldWke);
    exchange.CheckBox(IDC_PQHMC, options.pqhmc);
    exchange.CheckBox(IDC_BOOT_LOG, options.bootLog);
}
