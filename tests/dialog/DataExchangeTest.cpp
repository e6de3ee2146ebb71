// Reading the fields back: every member in its order.
#include "DialogFixture.h"
#include "resources/resource.h"

TEST_F(OpenDialog, ReadBackTakesEveryBoxAndField) {
    ::SetDlgItemTextA(dialog.GetSafeHwnd(), IDC_INCIDENT, "ab-12_C");
    ::SetDlgItemTextA(dialog.GetSafeHwnd(), IDC_NAME, "Jo");
    ::SetDlgItemTextA(dialog.GetSafeHwnd(), IDC_COMMENTS, "two\r\nlines");
    SYSTEMTIME date{2025, 11, 0, 30, 0, 0, 0, 0};
    ::SendMessageA(Item(IDC_PROBLEM_DATE), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_BOOT_LOG, BST_UNCHECKED);
    ::CheckDlgButton(dialog.GetSafeHwnd(), IDC_QZSVC_DUMP, BST_CHECKED);

    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(collection.entries.incidentNumber, "ab-12_C");
    EXPECT_EQ(collection.entries.name, "Jo");
    EXPECT_EQ(collection.entries.comments, "two\r\nlines");
    EXPECT_EQ(collection.entries.problemDate.wYear, 2025);
    EXPECT_EQ(collection.entries.problemDate.wMonth, 11);
    EXPECT_EQ(collection.entries.problemDate.wDay, 30);
    EXPECT_EQ(collection.options.registry, 1);
    EXPECT_EQ(collection.options.qzsvcDump, 1);
    EXPECT_EQ(collection.options.mpsReports, 0);
    EXPECT_EQ(collection.options.hardwareInfo, 1);
    EXPECT_EQ(collection.options.memoryDump, 0);
    EXPECT_EQ(collection.options.compress, 1);
    EXPECT_EQ(collection.options.deleteAfterCompress, 0);
    EXPECT_EQ(collection.options.licenses, 1);
    EXPECT_EQ(collection.options.bootLog, 0);
}
