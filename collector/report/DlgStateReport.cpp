// The block of the dialog's entries and of every option box's state.
#include "dialog/CULVIXDlg.h"
#include "framework/WaitCursor.h"
#include "framework/WindowText.h"
#include "report/TimeText.h"
#include "resources/resource.h"

namespace {

constexpr const char* kStars86 =
    "**************************************************************************************";

// The boxes the block reports, in the order support engineers are used to reading them.
constexpr int kReportedBoxes[] = {
    IDC_APP_EVENT_LOG, IDC_SYSTEM_EVENT_LOG, IDC_MSINFO32,  IDC_HARDWARE_INFO, IDC_CLUSTER_LOGS,
    IDC_MPS_REPORTS,   IDC_BINARY_VERSION,   IDC_MEMORY_DUMP, IDC_REGISTRY,    IDC_PROVIDERS,
    IDC_FLX_ASL_DSM,   IDC_QZDIAG,           IDC_OKAPO_LOGS, IDC_QZSVC_DUMP,   IDC_BOOT_INI,
    IDC_SETUP_LOG,     IDC_DR_WATSON_LOG,    IDC_COMPRESS,   IDC_DELETE_AFTER_COMPRESS, IDC_USER_DUMP,
    IDC_KERD_LOGS,     IDC_ZRX,              IDC_PQH_HA,     IDC_WLT,          IDC_TEJ_RQN,
    IDC_SOLUTIONS,     IDC_RBK_SCHEDULES,    IDC_PELORIN,    IDC_LICENSES,     IDC_OSMU,
    IDC_NLD_WKE,       IDC_PQHMC,            IDC_MISCELLANEOUS, IDC_RUQ,
};

}  // namespace

void CULVIXDlg::ReportDlgState() {
    framework::WaitCursor wait;
    LogReport("Start - ReportDlgState");
    LogReport("%s", kStars86);
    LogReport("Incident #: %s", entries.incidentNumber.c_str());
    LogReport("Bug Folder #: %s", run.bugFolderNumber.c_str());
    report.problemDateText = FormatTime(entries.problemDate, "%m-%d-%Y");
    report.problemTimeText = FormatTime(entries.problemTime, "%I-%M-%S%p");
    LogReport("Problem occurred on: %s at %s", report.problemDateText.c_str(), report.problemTimeText.c_str());
    LogReport("Name: %s", entries.name.c_str());
    LogReport("Comments: %s", entries.comments.c_str());
    LogReport("%s", kStars86);
    for (int box : kReportedBoxes) ReportCheckBoxState(box);
    LogReport("Finish - ReportDlgState <BR>");
}

void CULVIXDlg::ReportCheckBoxState(int controlId) {
    HWND box = GetDlgItem(controlId);
    std::string caption = framework::GetWindowTextString(box);
    if (!::IsWindowEnabled(box)) {
        LogReport("%s = Disabled", caption.c_str());
        return;
    }
    bool unchecked = ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
    LogReport(unchecked ? "%s = Unchecked" : "%s = Checked", caption.c_str());
}
