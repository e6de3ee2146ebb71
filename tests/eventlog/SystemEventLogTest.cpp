// The export against the system's own event log service. Wine's service holds no records and
// its backup writes nothing, so this shows the product's calls going through and the report.
#include <gtest/gtest.h>

#include <algorithm>

#include "StartedCollection.h"
#include "TestFiles.h"
#include "eventlog/EventLogExport.h"
#include "report/ErrorText.h"

using namespace testing_support;

namespace {

using Lines = std::vector<std::string>;

// The Application log backed up into `backup`, then exported as text into `text`, as a run
// does it; the report entries from the first capture on.
Lines BackUpAndExportApplicationLog(const std::string& backup, const std::string& text) {
    {
        StartedCollection collection;
        EventLogExport eventLog(collection);
        EXPECT_EQ(eventLog.CaptureEventLog("Application", backup, 2, ""), 0);
        EXPECT_EQ(eventLog.CaptureEventLog("Application", text, 0,
                                           "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\"),
                  0);
    }
    Lines entries = ReportEntries(ReadWholeFile(OwnReportName()));
    auto start = std::find(entries.begin(), entries.end(), "Start - Capture Application Event Log");
    return Lines(start, entries.end());
}

// What the text export writes of a log that holds no records.
Lines EmptyTextExport(const std::string& text) {
    return {"Start - Capture Application Event Log", "Total # of records: 0", "Number of days limit: 45",
            "# of records read: 0", "Finish - Captured Application Event Log into " + text};
}

}  // namespace

TEST(SystemEventLog, ApplicationLogIsBackedUpAndExportedThroughTheSystemsCalls) {
    ScopedWorkFolder folder;
    std::string backup = folder.Path() + "\\APP_Events.evt";
    std::string text = folder.Path() + "\\APP_Events.log";
    Lines expected = {"Start - Capture Application Event Log", "Finish - Captured Application Event Log into " + backup};
    for (const std::string& line : EmptyTextExport(text)) expected.push_back(line);
    EXPECT_EQ(BackUpAndExportApplicationLog(backup, text), expected);
    EXPECT_TRUE(PathExists(text));
    EXPECT_EQ(ReadWholeFile(text), "");
}

TEST(SystemEventLog, BackupIntoAnExistingFileFailsAndTheTextExportStillFollows) {
    ScopedWorkFolder folder;
    std::string backup = folder.Path() + "\\APP_Events.evt";
    std::string text = folder.Path() + "\\APP_Events.log";
    WriteWholeFile(backup, "earlier");
    Lines expected = {
        "Start - Capture Application Event Log",
        "BackupEventLog() failed to backup " + backup + "!!! REASON: " + GetErrorText(ERROR_ALREADY_EXISTS),
        "Finish - Captured Application Event Log into " + backup,
    };
    for (const std::string& line : EmptyTextExport(text)) expected.push_back(line);
    EXPECT_EQ(BackUpAndExportApplicationLog(backup, text), expected);
    EXPECT_EQ(ReadWholeFile(backup), "earlier");
    EXPECT_TRUE(PathExists(text));
}
