// The boxes that change other boxes: Compress, MPS Reports and Select/Deselect All.
#include <strings.h>

#include "dialog/CULVIXDlg.h"
#include "engine/OptionTable.h"
#include "framework/WindowText.h"
#include "resources/resource.h"

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
    for (const OptionRow& row : OptionTable())
        if (row.greyedByMpsReports) ::EnableWindow(GetDlgItem(row.controlId), state == BST_UNCHECKED);
}

void CULVIXDlg::OnSelectToggle() {
    HWND toggle = GetDlgItem(IDC_SELECT_TOGGLE);
    bool selectAll = ::strcasecmp(framework::GetWindowTextString(toggle).c_str(), "Select All") != 0;
    ::SetWindowTextA(toggle, selectAll ? "Select All" : "Deselect All");
    for (const OptionRow& row : OptionTable())
        if (row.selectAll == OptionRow::kFollows)
            ::CheckDlgButton(GetSafeHwnd(), row.controlId, selectAll ? BST_CHECKED : BST_UNCHECKED);
    for (const OptionRow& row : OptionTable())
        if (row.selectAll == OptionRow::kClearedByBoth) ::CheckDlgButton(GetSafeHwnd(), row.controlId, BST_UNCHECKED);
}
