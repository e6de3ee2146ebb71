// The export against the system's own event log service. Wine's service holds no records and
// its backup writes nothing, so this shows the product's calls going through and the report.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestFiles.h"
#include "dialog/CULVIXDlg.h"
#include "report/ErrorText.h"

using namespace testing_support;

TEST(SystemEventLog, ApplicationLogIsBackedUpAndExportedThroughTheSystemsCalls) {
    ScopedWorkFolder folder;
    std::string backup = folder.Path() + "\\APP_Events.evt";
    std::string text = folder.Path() + "\\APP_Events.log";
    {
        CULVIXDlg dialog;
        EXPECT_EQ(dialog.CaptureEventLog("Application", backup, 2, ""), 0);
        EXPECT_EQ(dialog.CaptureEventLog("Application", text, 0,
                                         "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\"),
                  0);
    }
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
    auto start = std::find(entries.begin(), entries.end(), "Start - Capture Application Event Log");
    ASSERT_NE(start, entries.end());
    std::vector<std::string> expected = {
        "Start - Capture Application Event Log",
        "Finish - Captured Application Event Log into " + backup,
        "Start - Capture Application Event Log",
        "Total # of records: 0",
        "Number of days limit: 45",
        "# of records read: 0",
        "Finish - Captured Application Event Log into " + text,
    };
    EXPECT_EQ(std::vector<std::string>(start, entries.end()), expected);
    EXPECT_TRUE(PathExists(text));
    EXPECT_EQ(ReadWholeFile(text), "");
}

TEST(SystemEventLog, BackupIntoAnExistingFileFailsAndTheTextExportStillFollows) {
    ScopedWorkFolder folder;
    std::string backup = folder.Path() + "\\APP_Events.evt";
    std::string text = folder.Path() + "\\APP_Events.log";
    WriteWholeFile(backup, "earlier");
    {
        CULVIXDlg dialog;
        dialog.CaptureEventLog("Application", backup, 2, "");
        dialog.CaptureEventLog("Application", text, 0, "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\");
    }
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
    auto start = std::find(entries.begin(), entries.end(), "Start - Capture Application Event Log");
    ASSERT_NE(start, entries.end());
    std::vector<std::string> expected = {
        "Start - Capture Application Event Log",
        "BackupEventLog() failed to backup " + backup + "!!! REASON: " + GetErrorText(ERROR_ALREADY_EXISTS),
        "Finish - Captured Application Event Log into " + backup,
        "Start - Capture Application Event Log",
        "Total # of records: 0",
        "Number of days limit: 45",
        "# of records read: 0",
        "Finish - Captured Application Event Log into " + text,
    };
    EXPECT_EQ(std::vector<std::string>(start, entries.end()), expected);
    EXPECT_EQ(ReadWholeFile(backup), "earlier");
    EXPECT_TRUE(PathExists(text));
}
