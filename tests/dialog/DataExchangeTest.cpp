// Reading the fields back: every member in its order, and the stop at an over-long field.
#include "DialogFixture.h"
#include "MessageBoxAnswerer.h"
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
    EXPECT_EQ(dialog.entries.incidentNumber, "ab-12_C");
    EXPECT_EQ(dialog.entries.name, "Jo");
    EXPECT_EQ(dialog.entries.comments, "two\r\nlines");
    EXPECT_EQ(dialog.entries.problemDate.wYear, 2025);
    EXPECT_EQ(dialog.entries.problemDate.wMonth, 11);
    EXPECT_EQ(dialog.entries.problemDate.wDay, 30);
    EXPECT_EQ(dialog.options.registry, 1);
    EXPECT_EQ(dialog.options.qzsvcDump, 1);
    EXPECT_EQ(dialog.options.mpsReports, 0);
    EXPECT_EQ(dialog.options.hardwareInfo, 1);
    EXPECT_EQ(dialog.options.memoryDump, 0);
    EXPECT_EQ(dialog.options.compress, 1);
    EXPECT_EQ(dialog.options.deleteAfterCompress, 0);
    EXPECT_EQ(dialog.options.licenses, 1);
    EXPECT_EQ(dialog.options.bootLog, 0);
}

// The silent run with an incident number of ten characters: the field takes them (the limit
// only stops typing), and reading back stops there.
class OverlongIncident : public OpenDialog {
protected:
    void SetUp() override {
        dialog.entries.incidentNumber = "1234567890";
        OpenDialog::SetUp();
    }
};

TEST_F(OverlongIncident, ReadBackShowsTheLengthMessageAndStopsAtTheIncidentField) {
    ASSERT_EQ(Text(IDC_INCIDENT), "1234567890");
    MessageBoxAnswerer answerer("Zeltrin");
    EXPECT_FALSE(dialog.UpdateData(true));
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Please enter no more than 9 characters.");
    EXPECT_EQ(answerer.Icon(), "exclamation");

    EXPECT_EQ(dialog.entries.incidentNumber, "1234567890");
    // Exchanged before the incident number: read.
    EXPECT_EQ(dialog.options.registry, 1);
    EXPECT_EQ(dialog.options.okapoLogs, 1);
    EXPECT_EQ(dialog.options.clusterLogs, 1);
    EXPECT_EQ(dialog.options.msinfo32, 1);
    EXPECT_EQ(dialog.options.flxAslDsm, 1);
    EXPECT_EQ(dialog.options.providers, 1);
    EXPECT_EQ(dialog.options.qzdiag, 1);
    // Exchanged after it: still cleared from construction.
    EXPECT_EQ(dialog.options.appEventLog, 0);
    EXPECT_EQ(dialog.options.systemEventLog, 0);
    EXPECT_EQ(dialog.options.binaryVersion, 0);
    EXPECT_EQ(dialog.options.compress, 0);
    EXPECT_EQ(dialog.options.kerdLogs, 0);
    EXPECT_EQ(dialog.options.licenses, 0);
    EXPECT_EQ(dialog.options.bootLog, 0);
}

// The outcome of the read-back is not looked at: the run goes on with the whole number.
TEST_F(OverlongIncident, OkCollectsUnderTheWholeNumberAfterTheLengthMessage) {
    dialog.entries.destinationFolder = folder.Path() + "\\";
    MessageBoxAnswerer answerer("Zeltrin");
    dialog.OnOK();
    ASSERT_TRUE(answerer.Wait());
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(dialog.run.runFolder.rfind(folder.Path() + "\\1234567890\\", 0), 0u) << dialog.run.runFolder;
}
