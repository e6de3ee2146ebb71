// The dialog-state block: the entries, the problem time texts and every box's line.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestFiles.h"
#include "dialog/CULVIXDlg.h"
#include "framework/Application.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

class DlgStateReport : public ::testing::Test {
protected:
    void SetUp() override {
        framework::EnableHostedControls();
        ASSERT_TRUE(dialog.Create(nullptr));
    }

    std::vector<std::string> Entries() {
        dialog.report.file.Close();
        return ReportEntries(ReadWholeFile(OwnReportName()));
    }

    ScopedWorkFolder folder;
    CULVIXDlg dialog;
};

}  // namespace

TEST_F(DlgStateReport, BlockReportsTheEntriesAndEveryBoxInTheStartStates) {
    // The detection greys and clears what this machine lacks: give those boxes their start states back.
    for (int id : {1002, 1003, 1004, 1005, 1006, 1018, 1024, 1026, 1027, 1030, 1033, 1034, 1039, 1041, 1042, 1043, 1044,
                   1047, 1052, 1053, 1068})
        ::EnableWindow(dialog.GetDlgItem(id), TRUE);
    for (int id : {1026, 1027, 1030, 1034, 1042, 1043, 1044, 1052, 1053})
        ::CheckDlgButton(dialog.GetSafeHwnd(), id, BST_CHECKED);
    dialog.entries.incidentNumber = "123456";
    dialog.run.bugFolderNumber = "123456";
    dialog.entries.name = "Jo Support";
    dialog.entries.comments = "Disk 3 went offline";
    dialog.entries.problemDate = {2026, 3, 0, 7, 21, 5, 9, 0};
    dialog.entries.problemTime = {2026, 3, 0, 7, 9, 4, 3, 0};
    dialog.ReportDlgState();
    std::vector<std::string> entries = Entries();
    auto start = std::find(entries.rbegin(), entries.rend(), "Start - ReportDlgState");
    ASSERT_NE(start, entries.rend());
    std::vector<std::string> block(std::prev(start.base()), entries.end());
    const std::string stars(86, '*');
    std::vector<std::string> expected = {
        "Start - ReportDlgState",
        stars,
        "Incident #: 123456",
        "Bug Folder #: 123456",
        "Problem occurred on: 03-07-2026 at 09-04-03AM",
        "Name: Jo Support",
        "Comments: Disk 3 went offline",
        stars,
        "&Application Event Log = Checked",
        "System &Event Log = Checked",
        "MSINFO32 = Checked",
        "Hardware &Information = Checked",
        "&Cluster Log(s) = Checked",
        "MPS &Reports = Unchecked",
        "&Binary Version = Checked",
        "Memor&y Dump = Unchecked",
        "&Registry = Checked",
        "&Providers (DOM) = Checked",
        "&FLX ASL / DSM = Checked",
        "Q&zDiag = Checked",
        "QzOkapo Log(s) = Checked",
        "&QzSvc Dump = Unchecked",
        "&BOOT.INI = Checked",
        "Se&tup Log = Checked",
        "Dr. &Watson Log = Checked",
        "Compress = Checked",
        "Delete after compress = Unchecked",
        "&User Dump = Checked",
        "&Logs = Checked",
        "ZRX = Checked",
        "PQH / HA = Checked",
        "WLT = Checked",
        "TEJ/RQN = Checked",
        "Solutions = Checked",
        "RBK Schedules = Checked",
        "Pelorin = Checked",
        "Licenses = Checked",
        "OSMU (YTR, WOLM) = Checked",
        "NLD/WKE = Checked",
        "PQHMC = Checked",
        "Miscellaneous = Checked",
        "&RUQ = Checked",
        "Finish - ReportDlgState <BR>",
    };
    EXPECT_EQ(block, expected);
    EXPECT_EQ(dialog.report.problemDateText, "03-07-2026");
    EXPECT_EQ(dialog.report.problemTimeText, "09-04-03AM");
}

TEST_F(DlgStateReport, DisabledBoxIsDisabledWhateverItsCheck) {
    ::EnableWindow(dialog.GetDlgItem(IDC_REGISTRY), FALSE);
    ::EnableWindow(dialog.GetDlgItem(IDC_QZSVC_DUMP), FALSE);
    dialog.ReportCheckBoxState(IDC_REGISTRY);
    dialog.ReportCheckBoxState(IDC_QZSVC_DUMP);
    std::vector<std::string> entries = Entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[entries.size() - 2], "&Registry = Disabled");
    EXPECT_EQ(entries.back(), "&QzSvc Dump = Disabled");
}

TEST_F(DlgStateReport, IndeterminateBoxCountsAsChecked) {
    HWND box = dialog.GetDlgItem(IDC_ZRX);
    ::EnableWindow(box, TRUE);
    ::SetWindowLongPtrA(box, GWL_STYLE, (::GetWindowLongPtrA(box, GWL_STYLE) & ~0xF) | BS_AUTO3STATE);
    ::SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    ASSERT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    dialog.ReportCheckBoxState(IDC_ZRX);
    EXPECT_EQ(Entries().back(), "ZRX = Checked");
}
