// The main dialog over a started collection: its boxes and fields exchanged with the
// collection, the boxes that change other boxes, Browse's path rule, Cancel, and the run on a
// thread of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StartedCollection.h"
#include "TestFiles.h"
#include "dialog/CULVIXDlg.h"
#include "engine/ExitStatus.h"
#include "engine/OptionTable.h"
#include "framework/Application.h"
#include "framework/MessageBoxReplacement.h"
#include "framework/MessageBoxes.h"
#include "resources/resource.h"

namespace {

class OpenDialog : public ::testing::Test {
protected:
    void SetUp() override {
        framework::EnableHostedControls();
        ASSERT_TRUE(dialog.Create(nullptr));
    }
    HWND Window() const { return dialog.GetSafeHwnd(); }
    HWND Item(int id) const { return dialog.GetDlgItem(id); }
    UINT Check(int id) const { return ::IsDlgButtonChecked(Window(), id); }
    std::string Text(int id) const {
        char text[512] = {};
        ::GetDlgItemTextA(Window(), id, text, sizeof text);
        return text;
    }
    // Alternating check marks over the table's rows, so every box must change under a toggle.
    void SetBoxes(int flip) {
        const auto table = OptionTable();
        for (size_t row = 0; row < table.size(); ++row) {
            ::CheckDlgButton(Window(), table[row].controlId, (row + flip) % 2);
            ::EnableWindow(Item(table[row].controlId), TRUE);
        }
    }
    // A click as the box reports it: the check mark changes first, then the dialog is told.
    void Click(int id, UINT newState) {
        ::CheckDlgButton(Window(), id, newState);
        ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }

    testing_support::ScopedWorkFolder folder;
    testing_support::StartedCollection collection;
    CULVIXDlg dialog{collection};
};

}  // namespace

// Every box of the option table shows and reads back its own flag, is a box the user can
// tick, and carries the caption the report names it by.
TEST_F(OpenDialog, EveryOptionBoxExchangesItsOwnFlag) {
    const auto table = OptionTable();
    for (int flip = 0; flip < 2; ++flip) {
        for (size_t row = 0; row < table.size(); ++row) collection.options.*table[row].flag = (row + flip) % 2;
        ASSERT_TRUE(dialog.UpdateData(false));
        for (size_t row = 0; row < table.size(); ++row) {
            EXPECT_EQ(Check(table[row].controlId), (row + flip) % 2) << table[row].caption;
            ::CheckDlgButton(Window(), table[row].controlId, (row + flip + 1) % 2);
        }
        ASSERT_TRUE(dialog.UpdateData(true));
        for (size_t row = 0; row < table.size(); ++row)
            EXPECT_EQ(collection.options.*table[row].flag, static_cast<int>((row + flip + 1) % 2)) << table[row].caption;
    }
    for (const OptionRow& row : table) {
        EXPECT_EQ(::GetWindowLongPtrA(Item(row.controlId), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX) << row.caption;
        EXPECT_EQ(Text(row.controlId), row.caption);
    }
}

// Each click against alternating boxes: Select/Deselect All, MPS Reports greying what its
// report covers, Compress taking Delete after compress with it.
TEST_F(OpenDialog, TogglesActOnTheBoxesTheirRowsName) {
    struct Toggle { int clicked; UINT state; const char* caption; int follows; const char* captionAfter; };
    const Toggle toggles[] = {
        {IDC_SELECT_TOGGLE, BST_CHECKED, "Deselect All", BST_CHECKED, "Select All"},
        {IDC_SELECT_TOGGLE, BST_CHECKED, "Select All", BST_UNCHECKED, "Deselect All"},
        {IDC_SELECT_TOGGLE, BST_CHECKED, "SELECT ALL", BST_UNCHECKED, "Deselect All"},
        {IDC_MPS_REPORTS, BST_CHECKED, "Select All", -1, "Select All"},
        {IDC_MPS_REPORTS, BST_UNCHECKED, "Select All", -1, "Select All"},
        {IDC_COMPRESS, BST_UNCHECKED, "Select All", -1, "Select All"},
        {IDC_COMPRESS, BST_CHECKED, "Select All", -1, "Select All"},
    };
    const auto table = OptionTable();
    for (int flip = 0; flip < 2; ++flip) {
        for (const Toggle& toggle : toggles) {
            SCOPED_TRACE(std::to_string(toggle.clicked) + " " + toggle.caption + " " + std::to_string(flip));
            SetBoxes(flip);
            ::SetDlgItemTextA(Window(), IDC_SELECT_TOGGLE, toggle.caption);
            Click(toggle.clicked, toggle.state);
            EXPECT_EQ(Text(IDC_SELECT_TOGGLE), toggle.captionAfter);
            for (size_t index = 0; index < table.size(); ++index) {
                const OptionRow& row = table[index];
                UINT check = row.controlId == toggle.clicked ? toggle.state : (index + flip) % 2;
                if (toggle.follows >= 0 && row.selectAll == OptionRow::kFollows) check = toggle.follows;
                if (toggle.follows >= 0 && row.selectAll == OptionRow::kClearedByBoth) check = BST_UNCHECKED;
                bool enabled = true;
                if (toggle.clicked == IDC_MPS_REPORTS && row.greyedByMpsReports) enabled = toggle.state == BST_UNCHECKED;
                if (toggle.clicked == IDC_COMPRESS && row.controlId == IDC_DELETE_AFTER_COMPRESS) {
                    enabled = toggle.state == BST_CHECKED;
                    if (!enabled) check = BST_UNCHECKED;
                }
                EXPECT_EQ(Check(row.controlId), check) << row.caption;
                EXPECT_EQ(::IsWindowEnabled(Item(row.controlId)) != FALSE, enabled) << row.caption;
            }
        }
    }
}

// A path with a blank would break the packaging command line: it is refused.
TEST_F(OpenDialog, BrowsedFolderEndsInOneBackslashAndABlankIsRefused) {
    const std::pair<const char*, const char*> picks[] = {
        {"C:\\Logs", "C:\\Logs\\"}, {"C:\\", "C:\\"}, {"C:\\My Logs", "C:\\"}};
    for (const auto& [picked, shown] : picks) {
        dialog.AcceptBrowsedFolder(picked);
        EXPECT_EQ(collection.entries.destinationFolder, shown) << picked;
        EXPECT_EQ(Text(IDC_DESTINATION), shown) << picked;
    }
}

TEST_F(OpenDialog, CancelEndsTheDialogAndDeletesTheReport) {
    ASSERT_TRUE(testing_support::PathExists(testing_support::OwnReportName()));
    ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(testing_support::PathExists(testing_support::OwnReportName()));
    EXPECT_EQ(dialog.EndResult(), IDCANCEL);
}

// The run works on a thread of its own; its boxes come from the window's thread. While it works,
// OK and what it read are held and Cancel only says so; a run refused for its incident number
// gives them back for another try.
TEST_F(OpenDialog, TheRunsBoxesComeFromTheWindowsThreadAndCancelDoesNotEndIt) {
    struct Box { std::string text; DWORD thread; bool okEnabled; };
    std::vector<Box> boxes;
    framework::MessageBoxReplacement replacement([&](const std::string& text) {
        boxes.push_back({text, ::GetCurrentThreadId(), ::IsWindowEnabled(Item(IDOK)) != FALSE});
        if (boxes.size() == 1) ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    ::EnableWindow(Item(IDC_REGISTRY), TRUE);
    ::EnableWindow(Item(IDC_ZRX), FALSE);
    ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int turn = 0; turn < 3000 && dialog.RunWorking(); ++turn) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        for (MSG message; ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageA(&message);
    }
    ASSERT_FALSE(dialog.RunWorking());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, framework::LoadResourceString(IDS_INVALID_INCIDENT));
    EXPECT_EQ(boxes[1].text.rfind("The collection is still running", 0), 0u) << boxes[1].text;
    for (const Box& box : boxes) {
        EXPECT_EQ(box.thread, ::GetCurrentThreadId()) << box.text;
        EXPECT_FALSE(box.okEnabled) << box.text;
    }
    EXPECT_EQ(collection.exitStatus, kExitIncidentRefused);
    EXPECT_FALSE(dialog.HasEnded());
    EXPECT_TRUE(testing_support::PathExists(testing_support::OwnReportName()));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDOK)));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_INCIDENT)));
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_REGISTRY)));
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_ZRX)));
}
