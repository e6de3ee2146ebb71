#pragma once
#include <windows.h>

#include <span>
#include <string>

#include "engine/Collection.h"
#include "engine/RunView.h"
#include "framework/Dialog.h"
#include "framework/ProgressControl.h"

// The main dialog: shows a collection's entries and option boxes, reads them back when OK
// starts the run, shows the run's status and progress, and handles its buttons. The collection
// it shows does the work.
class CULVIXDlg : public framework::Dialog, public RunView {
public:
    explicit CULVIXDlg(Collection& collection);
    ~CULVIXDlg() override;

    void OnOK() override;
    void OnCancel() override;

    // RunView
    HWND BoxOwner() const override { return GetSafeHwnd(); }
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
    void OnHelp();
    void OnCompressToggle();
    void OnSelectToggle();
    void OnMpsReportsToggle();
    void OnBrowse();
    INT_PTR OnSysCommand(WPARAM command, LPARAM);
    INT_PTR OnPaint(WPARAM, LPARAM);
    INT_PTR OnQueryDragIcon(WPARAM, LPARAM);

    HICON icon_ = nullptr;
};
