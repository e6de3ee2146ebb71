// The dialog layer: modal and modeless life, message-map routing, and the owners of handles.
#include <gtest/gtest.h>

#include "common/win32/UniqueHandle.h"
#include "framework/Application.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/WaitCursor.h"
#include "resources/resource.h"

namespace {

// The about box's template with a map of its own, to watch the routing.
class RoutingDialog : public framework::Dialog {
public:
    RoutingDialog() : framework::Dialog(IDD_ABOUTBOX) {}

    int clicks = 0;
    int okCalls = 0;
    bool endAtOnce = false;

    void OnOK() override {
        ++okCalls;
        framework::Dialog::OnOK();
    }

protected:
    std::span<const framework::MessageMapEntry> GetMessageMap() const override {
        static const framework::MessageMapEntry kMap[] = {
            framework::OnClicked(IDC_ABOUT_VERSION, &RoutingDialog::OnVersionClicked),
            framework::OnMessage(WM_QUERYDRAGICON, &RoutingDialog::OnQueryDragIcon),
        };
        return kMap;
    }

    BOOL OnInitDialog() override {
        framework::Dialog::OnInitDialog();
        if (endAtOnce) ::PostMessageA(GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }

private:
    void OnVersionClicked() { ++clicks; }
    INT_PTR OnQueryDragIcon(WPARAM, LPARAM) { return 0x1234; }
};

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

}  // namespace

TEST(DialogLayer, ModalDialogReturnsWhatEndedIt) {
    framework::EnableHostedControls();
    RoutingDialog dialog;
    dialog.endAtOnce = true;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.okCalls, 1);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(DialogLayer, ClicksGoToTheirMapEntryOnly) {
    RoutingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND window = dialog.GetSafeHwnd();
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_VERSION, BN_CLICKED), 0);
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_VERSION, BN_DOUBLECLICKED), 0);
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(4242, BN_CLICKED), 0);
    EXPECT_EQ(dialog.clicks, 1);
    EXPECT_EQ(dialog.okCalls, 0);
    EXPECT_FALSE(dialog.HasEnded());
}

TEST(DialogLayer, MessageEntryResultIsTheDialogsAnswer) {
    RoutingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(::SendMessageA(dialog.GetSafeHwnd(), WM_QUERYDRAGICON, 0, 0), 0x1234);
}

TEST(DialogLayer, EndingAModelessDialogHidesItAndKeepsTheResult) {
    RoutingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ::ShowWindow(dialog.GetSafeHwnd(), SW_SHOW);
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(dialog.EndResult(), IDCANCEL);
    EXPECT_FALSE(::IsWindowVisible(dialog.GetSafeHwnd()));
}

TEST(DialogLayer, DestroyingAModelessDialogDestroysItsWindow) {
    HWND window = nullptr;
    {
        RoutingDialog dialog;
        ASSERT_TRUE(dialog.Create());
        window = dialog.GetSafeHwnd();
        ASSERT_TRUE(::IsWindow(window));
    }
    EXPECT_FALSE(::IsWindow(window));
}

TEST(DialogLayer, TooLongMessageNamesTheLimit) {
    EXPECT_EQ(framework::DataExchange::TooLongMessage(9), "Please enter no more than 9 characters.");
}

TEST(DialogLayer, WaitCursorPutsBackThePreviousCursor) {
    HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    {
        framework::WaitCursor wait;
        EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(::GetCursor(), arrow);
}

TEST(DialogLayer, NestedWaitCursorsKeepTheHourglassUntilTheOutermostGoes) {
    HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
    HCURSOR hourglass = ::LoadCursor(nullptr, IDC_WAIT);
    ::SetCursor(arrow);
    {
        framework::WaitCursor outer;
        {
            framework::WaitCursor inner;
            EXPECT_EQ(::GetCursor(), hourglass);
        }
        EXPECT_EQ(::GetCursor(), hourglass);
    }
    EXPECT_EQ(::GetCursor(), arrow);
}

TEST(UniqueHandle, ClosesWhenItGoes) {
    HANDLE raw = nullptr;
    {
        win32::UniqueKernelHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        raw = event.get();
        ASSERT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw));
}

// Counts closes, so the owner's bookkeeping is seen exactly (real handle values get reused).
struct CountingTraits {
    using pointer = int;
    static inline int closed = 0;
    static pointer invalid() noexcept { return 0; }
    static void close(pointer) noexcept { ++closed; }
};
using CountingHandle = win32::UniqueHandle<CountingTraits>;

TEST(UniqueHandle, MoveHandsOverAndReleaseGivesUp) {
    CountingTraits::closed = 0;
    {
        CountingHandle first(7);
        CountingHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), 7);
        EXPECT_EQ(second.release(), 7);
        EXPECT_FALSE(second);
    }
    EXPECT_EQ(CountingTraits::closed, 0);
}

TEST(UniqueHandle, PutAndResetCloseWhatWasHeld) {
    CountingTraits::closed = 0;
    {
        CountingHandle handle(1);
        *handle.put() = 2;
        EXPECT_EQ(CountingTraits::closed, 1);
        handle.reset(3);
        EXPECT_EQ(CountingTraits::closed, 2);
        CountingHandle other(4);
        handle = std::move(other);
        EXPECT_EQ(CountingTraits::closed, 3);
        EXPECT_EQ(handle.get(), 4);
    }
    EXPECT_EQ(CountingTraits::closed, 4);
}
