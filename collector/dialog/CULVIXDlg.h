#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "engine/Collection.h"
#include "engine/RunView.h"
#include "framework/Dialog.h"
#include "framework/DisabledControls.h"
#include "framework/ProgressControl.h"
#include "framework/WorkerThread.h"

// The main dialog: shows a collection's entries and option boxes, reads them back when OK
// starts the run, shows the run's status and progress, and handles its buttons. The collection
// it shows does the work, on a thread of its own, while the window goes on answering; each
// operation of the view is carried out on the window's thread, whichever thread calls it.
class CULVIXDlg : public framework::Dialog, public RunView {
public:
    explicit CULVIXDlg(Collection& collection);
    ~CULVIXDlg() override;

    void OnOK() override;
    void OnCancel() override;

    // From OK until the run has ended and the window has taken note of it.
    bool RunWorking() const noexcept { return runThread_.Busy(); }

    // RunView
    HWND BoxOwner() const override;
    void ShowBoxes(std::span<const BoxState> boxes) override;
    void ReadBack(Collection& collection) override;
    void ShowRunStarted() override;
    void ShowStatus(const char* text) override;
    void StepProgress() override;
    void RunEnded() override;

    // Takes a folder picked with Browse...: a path with a blank is ignored.
    void AcceptBrowsedFolder(const std::string& path);

    Collection& collection;
    framework::ProgressControl progress;

protected:
    std::span<const framework::MessageMapEntry> GetMessageMap() const override;
    void DoDataExchange(framework::DataExchange& exchange) override;
    BOOL OnInitDialog() override;

private:
    // Posted by the run's thread as its last act; WM_APP itself carries the framework's calls.
    static constexpr UINT kRunFinishedMessage = WM_APP + 1;

    void OnWindowThread(const std::function<void()>& call) const;
    void HoldInputs();
    INT_PTR OnRunFinished(WPARAM, LPARAM);
    INT_PTR OnSetCursor(WPARAM, LPARAM hitTest);
    void OnHelp();
    void OnCompressToggle();
    void OnSelectToggle();
    void OnMpsReportsToggle();
    void OnBrowse();
    INT_PTR OnSysCommand(WPARAM command, LPARAM);
    INT_PTR OnPaint(WPARAM, LPARAM);
    INT_PTR OnQueryDragIcon(WPARAM, LPARAM);

    HICON icon_ = nullptr;
    framework::WorkerThread runThread_;
    // What the run read stays as it was read while the run works.
    std::optional<framework::DisabledControls> heldInputs_;
};
