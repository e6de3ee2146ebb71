// The boxes that change other boxes: Compress, MPS Reports and Select/Deselect All.
#include <strings.h>

#include "dialog/CULVIXDlg.h"
#include "framework/WindowText.h"
#include "resources/resource.h"

namespace {

// The boxes Select All checks (and Deselect All clears, with "&QzSvc Dump").
constexpr int kSelectableBoxes[] = {
    IDC_APP_EVENT_LOG, IDC_SYSTEM_EVENT_LOG, IDC_CLUSTER_LOGS, IDC_OKAPO_LOGS,   IDC_BOOT_INI,
    IDC_SETUP_LOG,     IDC_DR_WATSON_LOG,    IDC_REGISTRY,     IDC_PROVIDERS,    IDC_FLX_ASL_DSM,
    IDC_QZDIAG,        IDC_COMPRESS,         IDC_DELETE_AFTER_COMPRESS, IDC_MSINFO32, IDC_USER_DUMP,
    IDC_KERD_LOGS,     IDC_ZRX,              IDC_BINARY_VERSION, IDC_PQH_HA,     IDC_WLT,
    IDC_TEJ_RQN,       IDC_TGN,              IDC_RUQ,          IDC_VDS_LOGS,     IDC_MISCELLANEOUS,
    IDC_SOLUTIONS,     IDC_RBK_SCHEDULES,    IDC_OSMU,         IDC_PELORIN,      IDC_LICENSES,
    IDC_NLD_WKE,       IDC_PQHMC,            IDC_BOOT_LOG,
};

// The steps an MPS report already covers; their boxes are greyed while it is chosen.
constexpr int kCoveredByMpsReport[] = {IDC_APP_EVENT_LOG, IDC_SYSTEM_EVENT_LOG, IDC_CLUSTER_LOGS, IDC_BOOT_INI,
                                       IDC_MSINFO32};

}  // namespace

void CULVIXDlg::OnCompressToggle() {
    HWND deleteAfter = GetDlgItem(IDC_DELETE_AFTER_COMPRESS);
    switch (::IsDlgButtonChecked(GetSafeHwnd(), IDC_COMPRESS)) {
        case BST_UNCHECKED:
            ::EnableWindow(deleteAfter, FALSE);
            ::CheckDlgButton(GetSafeHwnd(), IDC_DELETE_AFTER_COMPRESS, BST_UNCHECKED);
            break;
        case BST_CHECKED: ::EnableWindow(deleteAfter, TRUE); break;
        default: break;
    }
}

void CULVIXDlg::OnMpsReportsToggle() {
    UINT state = ::IsDlgButtonChecked(GetSafeHwnd(), IDC_MPS_REPORTS);
    if (state != BST_UNCHECKED && state != BST_CHECKED) return;
    for (int box : kCoveredByMpsReport) ::EnableWindow(GetDlgItem(box), state == BST_UNCHECKED);
}

void CULVIXDlg::OnSelectToggle() {
    HWND toggle = GetDlgItem(IDC_SELECT_TOGGLE);
    bool selectAll = ::strcasecmp(framework::GetWindowTextString(toggle).c_str(), "Select All") != 0;
    ::SetWindowTextA(toggle, selectAll ? "Select All" : "Deselect All");
    for (int box : kSelectableBoxes) ::CheckDlgButton(GetSafeHwnd(), box, selectAll ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(GetSafeHwnd(), IDC_QZSVC_DUMP, BST_UNCHECKED);
}
