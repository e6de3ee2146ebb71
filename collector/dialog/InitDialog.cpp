// The main dialog's initialisation: system menu, icon, problem time, detection, progress step.
#include "dialog/CULVIXDlg.h"
#include "framework/MessageBoxes.h"
#include "resources/resource.h"
#include "probes/CollectionProbes.h"

namespace {
constexpr int kProgressSteps = 25;  // one step per progress mark of a run
}

BOOL CULVIXDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();

    HMENU systemMenu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
    std::string aboutItem = framework::LoadResourceString(IDS_ABOUTBOX);
    if (systemMenu != nullptr && !aboutItem.empty()) {
        ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutItem.c_str());
    }

    ::SendMessageA(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageA(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    collection.SetProblemTimeToNow();
    UpdateData(false);

    Initialize(collection);
    // Neither box has a step of its own; they stay out of sight.
    ::ShowWindow(GetDlgItem(IDC_HARDWARE_INFO), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_MEMORY_DUMP), SW_HIDE);
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_VERSION_LABEL, ("v" + collection.programVersion).c_str());
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_OS_DESCRIPTION, collection.os.description.c_str());

    int lower = 0;
    int upper = 0;
    progress.GetRange(lower, upper);
    progress.SetStep((upper - lower) / kProgressSteps);

    // A destination given on the command line shows as a folder picked with Browse... would.
    const EntryFields& entries = collection.entries;
    const std::string& destination =
        entries.destinationFolder.empty() ? collection.folders.homeDrive : entries.destinationFolder;
    ::SetDlgItemTextA(GetSafeHwnd(), IDC_DESTINATION, destination.c_str());
    return TRUE;
}
