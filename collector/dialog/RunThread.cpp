// OK starts the run on a thread of its own: the window goes on moving, painting and showing
// the run's status and progress, and holds what the run read until the run has ended.
#include <vector>

#include "dialog/CULVIXDlg.h"
#include "engine/OptionTable.h"
#include "framework/WindowThreadCall.h"
#include "resources/resource.h"
#include "run/CollectionRun.h"

namespace {

// The entries and buttons that decide what a run reads, besides the option boxes.
constexpr int kEntryControls[] = {IDOK, IDC_INCIDENT, IDC_NAME, IDC_COMMENTS, IDC_PROBLEM_DATE, IDC_PROBLEM_TIME,
                                  IDC_SELECT_TOGGLE, IDC_BROWSE};

}  // namespace

void CULVIXDlg::OnOK() {
    if (RunWorking()) return;
    const HWND window = GetSafeHwnd();
    auto run = [this, window] {
        RunCollection(collection);
        ::PostMessageA(window, kRunFinishedMessage, 0, 0);
    };
    // Without a thread of its own the run still runs, as it always did: on the window's thread.
    if (!runThread_.Start(run)) run();
}

INT_PTR CULVIXDlg::OnRunFinished(WPARAM, LPARAM) {
    runThread_.Join();
    // A run that ended the dialog is gone with it; one refused before it collected (an
    // incident number to correct, a folder it could not make) leaves the dialog for another try.
    heldInputs_.reset();
    return TRUE;
}

void CULVIXDlg::HoldInputs() {
    std::vector<int> ids(std::begin(kEntryControls), std::end(kEntryControls));
    for (const OptionRow& row : OptionTable()) ids.push_back(row.controlId);
    heldInputs_.emplace(GetSafeHwnd(), ids);
}

// The arrow with the hourglass: the run works, and the window still takes the mouse.
INT_PTR CULVIXDlg::OnSetCursor(WPARAM, LPARAM hitTest) {
    if (!RunWorking() || LOWORD(hitTest) != HTCLIENT) return FALSE;
    ::SetCursor(::LoadCursor(nullptr, IDC_APPSTARTING));
    ::SetWindowLongPtrA(GetSafeHwnd(), DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void CULVIXDlg::OnWindowThread(const std::function<void()>& call) const {
    framework::CallOnWindowThread(GetSafeHwnd(), call);
}
