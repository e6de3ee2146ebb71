// The dialog layer: modal and modeless life, message-map routing, and calls from other threads.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "framework/Application.h"
#include "framework/Dialog.h"
#include "framework/WindowThreadCall.h"
#include "framework/WorkerThread.h"
#include "resources/resource.h"

namespace {

// The about box's template with a map of its own, to watch the routing.
struct RoutingDialog : framework::Dialog {
    RoutingDialog() : framework::Dialog(IDD_ABOUTBOX) {}
    std::span<const framework::MessageMapEntry> GetMessageMap() const override {
        static const framework::MessageMapEntry kMap[] = {
            framework::OnClicked(IDC_ABOUT_VERSION, &RoutingDialog::OnVersionClicked),
            framework::OnMessage(WM_QUERYDRAGICON, &RoutingDialog::OnQueryDragIcon),
        };
        return kMap;
    }
    void OnVersionClicked() { ++clicks; }
    INT_PTR OnQueryDragIcon(WPARAM, LPARAM) { return 0x1234; }
    BOOL OnInitDialog() override {
        if (endAtOnce) ::PostMessageA(GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return framework::Dialog::OnInitDialog();
    }
    int clicks = 0;
    bool endAtOnce = false;
};

}  // namespace

TEST(DialogLayer, ModalAndModelessDialogsRouteTheirMessagesAndEnd) {
    framework::EnableHostedControls();
    HWND window = nullptr;
    {
        RoutingDialog dialog;
        ASSERT_TRUE(dialog.Create());
        window = dialog.GetSafeHwnd();
        ::ShowWindow(window, SW_SHOW);
        for (WPARAM command : {MAKEWPARAM(IDC_ABOUT_VERSION, BN_CLICKED), MAKEWPARAM(IDC_ABOUT_VERSION, BN_DOUBLECLICKED),
                               MAKEWPARAM(4242, BN_CLICKED)})
            ::SendMessageA(window, WM_COMMAND, command, 0);
        EXPECT_EQ(dialog.clicks, 1);
        EXPECT_EQ(::SendMessageA(window, WM_QUERYDRAGICON, 0, 0), 0x1234);
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_EQ(dialog.EndResult(), IDCANCEL);
        EXPECT_FALSE(::IsWindowVisible(window));  // ended and hidden; destroyed with its object
    }
    EXPECT_FALSE(::IsWindow(window));
    RoutingDialog modal;
    modal.endAtOnce = true;
    EXPECT_EQ(modal.DoModal(), IDOK);
}

// A call from another thread is carried out on the window's thread, even while that thread only
// waits for the caller to end; once the window is gone, the caller carries it out itself.
TEST(DialogLayer, CallsFromOtherThreadsRunOnTheWindowsThreadEvenWhileItWaits) {
    framework::EnableHostedControls();
    auto dialog = std::make_unique<RoutingDialog>();
    ASSERT_TRUE(dialog->Create());
    const HWND window = dialog->GetSafeHwnd();
    std::vector<std::pair<DWORD, DWORD>> calls;  // the calling thread, the thread that carried it out
    auto callFromAWorker = [&] {
        framework::WorkerThread worker;
        ASSERT_TRUE(worker.Start([&] {
            framework::CallOnWindowThread(
                window, [&, caller = ::GetCurrentThreadId()] { calls.emplace_back(caller, ::GetCurrentThreadId()); });
        }));
        worker.Join();  // no message loop here: the wait itself takes the call
    };
    callFromAWorker();
    dialog.reset();
    callFromAWorker();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[0].first, ::GetCurrentThreadId());
    EXPECT_EQ(calls[0].second, ::GetCurrentThreadId());
    EXPECT_EQ(calls[1].second, calls[1].first);
}
