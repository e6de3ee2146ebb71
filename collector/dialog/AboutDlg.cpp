#include "dialog/AboutDlg.h"

#include "resources/resource.h"

CAboutDlg::CAboutDlg(std::string programVersion)
    : framework::Dialog(IDD_ABOUTBOX), programVersion_(std::move(programVersion)) {}

BOOL CAboutDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    char line[128] = {};
    ::GetDlgItemTextA(GetSafeHwnd(), IDC_ABOUT_VERSION, line, sizeof line);
    std::string text = std::string(line) + " " + programVersion_;
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_ABOUT_VERSION, text.c_str());
    return TRUE;
}
