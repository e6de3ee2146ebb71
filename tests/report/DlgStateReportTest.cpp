// The dialog-state block: the entries, the problem time texts and every box's line.
#include <gtest/gtest.h>

#include <algorithm>

#include "StartedCollection.h"
#include "TestFiles.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

class DlgStateReport : public ::testing::Test {
protected:
    std::vector<std::string> Entries() {
        collection.report.file.Close();
        return ReportEntries(ReadWholeFile(OwnReportName()));
    }

    ScopedWorkFolder folder;
    StartedCollection collection;
};

}  // namespace

TEST_F(DlgStateReport, BlockReportsTheEntriesAndEveryBoxInTheStartStates) {
    // Every box enabled, in the state Initialize gives it before the probes run.
    for (size_t row = 0; row < OptionTable().size(); ++row) collection.boxes[row].check = OptionTable()[row].startCheck;
    collection.entries.incidentNumber = "123456";
    collection.run.bugFolderNumber = "123456";
    collection.entries.name = "Jo Support";
    collection.entries.comments = "Disk 3 went offline";
    collection.entries.problemDate = {2026, 3, 0, 7, 21, 5, 9, 0};
    collection.entries.problemTime = {2026, 3, 0, 7, 9, 4, 3, 0};
    collection.ReportDlgState();
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
    EXPECT_EQ(collection.report.problemDateText, "03-07-2026");
    EXPECT_EQ(collection.report.problemTimeText, "09-04-03AM");
}

TEST_F(DlgStateReport, DisabledBoxIsDisabledWhateverItsCheck) {
    collection.Box(IDC_REGISTRY) = {BST_CHECKED, false};
    collection.Box(IDC_QZSVC_DUMP) = {BST_UNCHECKED, false};
    collection.ReportCheckBoxState(IDC_REGISTRY);
    collection.ReportCheckBoxState(IDC_QZSVC_DUMP);
    std::vector<std::string> entries = Entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[entries.size() - 2], "&Registry = Disabled");
    EXPECT_EQ(entries.back(), "&QzSvc Dump = Disabled");
}

TEST_F(DlgStateReport, IndeterminateBoxCountsAsChecked) {
    collection.Box(IDC_ZRX) = {BST_INDETERMINATE, true};
    collection.ReportCheckBoxState(IDC_ZRX);
    EXPECT_EQ(Entries().back(), "ZRX = Checked");
}
