// System menu, painting while minimised and the drag icon.
#include "dialog/AboutDlg.h"
#include "dialog/CULVIXDlg.h"
#include "resources/resource.h"

INT_PTR CULVIXDlg::OnSysCommand(WPARAM command, LPARAM) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return FALSE;
    CAboutDlg about(collection.programVersion);
    about.DoModal(GetSafeHwnd());
    return TRUE;
}

INT_PTR CULVIXDlg::OnPaint(WPARAM, LPARAM) {
    if (!::IsIconic(GetSafeHwnd())) return FALSE;
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(GetSafeHwnd(), &paint);
    ::SendMessageA(GetSafeHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(GetSafeHwnd(), &client);
    int iconWidth = ::GetSystemMetrics(SM_CXICON);
    int iconHeight = ::GetSystemMetrics(SM_CYICON);
    int x = (client.right - client.left - iconWidth + 1) / 2;
    int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(dc, x, y, icon_);
    ::EndPaint(GetSafeHwnd(), &paint);
    return TRUE;
}

INT_PTR CULVIXDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<INT_PTR>(icon_); }
