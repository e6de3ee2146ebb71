#include "dialog/AboutDlg.h"

#include "framework/WindowText.h"
#include "resources/resource.h"

CAboutDlg::CAboutDlg(std::string programVersion)
    : framework::Dialog(IDD_ABOUTBOX), programVersion_(std::move(programVersion)) {}

BOOL CAboutDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    std::string text = framework::GetWindowTextString(GetDlgItem(IDC_ABOUT_VERSION)) + " " + programVersion_;
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_ABOUT_VERSION, text.c_str());
    return TRUE;
}
