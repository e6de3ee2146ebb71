#pragma once
#include <windows.h>

#include <atomic>
#include <span>

#include "framework/DataExchange.h"

namespace framework {

class Dialog;

// One row of a dialog's message map. A row names either a window message (any control) or
// a button's click (message WM_COMMAND and the control's identifier), with its handler.
struct MessageMapEntry {
    using MessageHandler = INT_PTR (Dialog::*)(WPARAM, LPARAM);
    using ClickHandler = void (Dialog::*)();

    UINT message;
    int controlId;
    MessageHandler onMessage;
    ClickHandler onClick;
};

// A window message routed to a member of a dialog class; the handler's result is the
// dialog procedure's result (FALSE asks for the default processing).
template <class D>
constexpr MessageMapEntry OnMessage(UINT message, INT_PTR (D::*handler)(WPARAM, LPARAM)) {
    return {message, 0, static_cast<MessageMapEntry::MessageHandler>(handler), nullptr};
}

// A click on a button routed to a member of a dialog class.
template <class D>
constexpr MessageMapEntry OnClicked(int controlId, void (D::*handler)()) {
    return {WM_COMMAND, controlId, nullptr, static_cast<MessageMapEntry::ClickHandler>(handler)};
}

// A dialog built from a resource template, shown modally or created modelessly. Messages go
// to the virtual operations and to the rows of the derived class's message map. Its window
// takes calls from other threads (CallOnWindowThread), and its handle may be read from any.
class Dialog {
public:
    explicit Dialog(UINT templateId) noexcept : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    INT_PTR DoModal(HWND parent = nullptr);
    bool Create(HWND parent = nullptr);

    HWND GetSafeHwnd() const noexcept { return hwnd_.load(); }
    HWND GetDlgItem(int id) const noexcept { return ::GetDlgItem(hwnd_.load(), id); }

    // Members to controls (false) or controls to members (true); false when a check failed.
    bool UpdateData(bool saveAndValidate = true);
    // Ends a modal dialog; a modeless one is hidden. The result is kept for the caller.
    void EndDialog(INT_PTR result);
    bool HasEnded() const noexcept { return ended_; }
    INT_PTR EndResult() const noexcept { return endResult_; }

    virtual void OnOK();
    virtual void OnCancel();

protected:
    virtual std::span<const MessageMapEntry> GetMessageMap() const { return {}; }
    virtual void DoDataExchange(DataExchange&) {}
    virtual BOOL OnInitDialog();

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool RouteThroughMap(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    UINT templateId_;
    std::atomic<HWND> hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR endResult_ = 0;
};

}  // namespace framework
