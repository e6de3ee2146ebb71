// Compress, MPS Reports, Select/Deselect All and Browse's path rules.
#include "DialogFixture.h"
#include "resources/resource.h"

namespace {

constexpr int kCoveredByMpsReport[] = {IDC_APP_EVENT_LOG, IDC_SYSTEM_EVENT_LOG, IDC_CLUSTER_LOGS, IDC_BOOT_INI,
                                       IDC_MSINFO32};
constexpr int kSelectable[] = {1001, 1016, 1003, 1002, 1026, 1027, 1030, 1000, 1006, 1007, 1008,
                               1031, 1035, 1004, 1034, 1041, 1042, 1019, 1044, 1043, 1039, 1047,
                               1046, 1050, 1051, 1052, 1053, 1054, 1033, 1068, 1038, 1037, 1064};

}  // namespace

TEST_F(OpenDialog, UncheckingCompressDisablesAndClearsDeleteAfterCompress) {
    ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_DELETE_AFTER_COMPRESS, BST_CHECKED);
    Click(IDC_COMPRESS, BST_UNCHECKED);
    EXPECT_FALSE(Enabled(IDC_DELETE_AFTER_COMPRESS));
    EXPECT_FALSE(Checked(IDC_DELETE_AFTER_COMPRESS));
}

TEST_F(OpenDialog, CheckingCompressAgainEnablesDeleteAfterCompressButLeavesItClear) {
    Click(IDC_COMPRESS, BST_UNCHECKED);
    Click(IDC_COMPRESS, BST_CHECKED);
    EXPECT_TRUE(Enabled(IDC_DELETE_AFTER_COMPRESS));
    EXPECT_FALSE(Checked(IDC_DELETE_AFTER_COMPRESS));
}

TEST_F(OpenDialog, CompressBoxClickedForRealReachesItsHandler) {
    ::ShowWindow(dialog.GetSafeHwnd(), SW_SHOWNORMAL);
    ::SendMessageA(Item(IDC_COMPRESS), BM_CLICK, 0, 0);
    EXPECT_FALSE(Checked(IDC_COMPRESS));
    EXPECT_FALSE(Enabled(IDC_DELETE_AFTER_COMPRESS));
}

TEST_F(OpenDialog, MpsReportsGreysTheStepsItCoversWithoutTouchingTheirChecks) {
    ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_BOOT_INI, BST_UNCHECKED);
    Click(IDC_MPS_REPORTS, BST_CHECKED);
    for (int id : kCoveredByMpsReport) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Checked(IDC_BOOT_INI));
    EXPECT_TRUE(Checked(IDC_APP_EVENT_LOG));
    EXPECT_TRUE(Enabled(IDC_REGISTRY));

    Click(IDC_MPS_REPORTS, BST_UNCHECKED);
    for (int id : kCoveredByMpsReport) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Checked(IDC_BOOT_INI));
}

TEST_F(OpenDialog, SelectToggleChecksEverythingButQzSvcDumpThenClearsAll) {
    ::EnableWindow(Item(IDC_ZRX), FALSE);
    ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_ZRX, BST_UNCHECKED);
    ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_QZSVC_DUMP, BST_CHECKED);
    Click(IDC_SELECT_TOGGLE, BST_CHECKED);
    EXPECT_EQ(Text(IDC_SELECT_TOGGLE), "Select All");
    for (int id : kSelectable) EXPECT_TRUE(Checked(id)) << id;
    EXPECT_FALSE(Checked(IDC_QZSVC_DUMP));
    EXPECT_FALSE(Checked(IDC_MPS_REPORTS));
    EXPECT_TRUE(Checked(IDC_HARDWARE_INFO));
    EXPECT_FALSE(Checked(IDC_MEMORY_DUMP));

    ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_MPS_REPORTS, BST_CHECKED);
    ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_QZSVC_DUMP, BST_CHECKED);
    Click(IDC_SELECT_TOGGLE, BST_UNCHECKED);
    EXPECT_EQ(Text(IDC_SELECT_TOGGLE), "Deselect All");
    for (int id : kSelectable) EXPECT_FALSE(Checked(id)) << id;
    EXPECT_FALSE(Checked(IDC_QZSVC_DUMP));
    EXPECT_TRUE(Checked(IDC_MPS_REPORTS));
    EXPECT_TRUE(Checked(IDC_HARDWARE_INFO));
}

TEST_F(OpenDialog, SelectToggleComparesItsCaptionWithoutRegardToCase) {
    ::SetDlgItemTextA(dialog.GetSafeHwnd(), IDC_SELECT_TOGGLE, "SELECT ALL");
    Click(IDC_SELECT_TOGGLE, BST_UNCHECKED);
    EXPECT_EQ(Text(IDC_SELECT_TOGGLE), "Deselect All");
    EXPECT_FALSE(Checked(IDC_REGISTRY));
}

TEST_F(OpenDialog, BrowsedFolderGetsATrailingBackslash) {
    dialog.AcceptBrowsedFolder("C:\\Logs");
    EXPECT_EQ(collection.entries.destinationFolder, "C:\\Logs\\");
    EXPECT_EQ(Text(IDC_DESTINATION), "C:\\Logs\\");
}

TEST_F(OpenDialog, BrowsedRootKeepsASingleBackslash) {
    dialog.AcceptBrowsedFolder("C:\\");
    EXPECT_EQ(collection.entries.destinationFolder, "C:\\");
    EXPECT_EQ(Text(IDC_DESTINATION), "C:\\");
}

TEST_F(OpenDialog, BrowsedFolderWithABlankChangesNothing) {
    dialog.AcceptBrowsedFolder("D:\\Dumps");
    dialog.AcceptBrowsedFolder("C:\\My Logs");
    EXPECT_EQ(collection.entries.destinationFolder, "D:\\Dumps\\");
    EXPECT_EQ(Text(IDC_DESTINATION), "D:\\Dumps\\");
}
