// Which report entries count as failures, over entries as the run writes them.
#include <gtest/gtest.h>

#include "report/FailureLines.h"

namespace {

struct Case {
    const char* entry;
    bool failure;
};

constexpr Case kEntries[] = {
    // What an action could not do.
    {"CreateProcess() failed to create C:\\prog\\qzflxinfo.EXE!!! REASON: File not found.", true},
    {"Failed to copy!!! Access denied.", true},
    {"Failed to Move!!! The process cannot access the file.", true},
    {"FindFirstFile() failed to find C:\\logs\\*.log.!!! File not found.", true},
    {"Couldn't find next file!!! Access denied.", true},
    {"BackupEventLog() failed to backup Application!!! REASON: Access denied.", true},
    {"OpenEventLog() failed to open System!!! REASON: Access denied.", true},
    {"fopen() failed to create C:\\run\\OS\\APP_Events.log!!! REASON: Disk full.", true},
    {"Failed to expand %WINDIR%\\x!!!. REASON: bad", true},
    {"Could not read the exit code of qzvmdom.EXE!!! REASON: Invalid handle.", true},
    {"FATAL: failed to create C:\\missing\\123456\\", true},
    {"Failed to open config file for MISC", true},
    {"Failed to read config file for MISC", true},
    {"Failed to open Schedule registry key", true},
    {"Failed to open specific schedule key", true},
    {"Failed to get value from the schedule key", true},
    {"Failed to enumerate the schedule keys!!! Access denied.", true},
    {"Failed to create RUQ folder C:\\run\\RUQ", true},
    {"Command line too long (300 characters, at most 261), not run: qzdiag2003.EXE >> C:\\x...", true},
    {"Damaged event record #12: length 3 below the header; the export stops here", true},
    {"Ended after the time limit of 2 seconds!!! Command: qzvmdom.EXE -all", true},
    {"Couldn't close handle:44. REASON:Invalid handle.", true},
    {"CreateDirectory() failed to create C:\\run\\VM", true},
    {"Entry does not expand within 260 characters, skipped: %LONG%", true},
    {"Entry longer than a path can be, skipped: C:\\aaaa...", true},
    {"Schedule file has no folder, skipped: job.xml", true},
    {"Schedule folder longer than a path can be, skipped: C:\\aaaa...", true},
    // What went well, what is not installed, and what the run only noted.
    {"No more files are left, so we are done here!!!", false},
    {"FindFirstFile() FAILED-> C:\\Program Files\\Brennock\\qzdiag2003.EXE", false},
    {"RegOpenKeyEx() failed for SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\ZRX; Error=2", false},
    {"RegQueryValueEx() failed to read INSTALLDIR; Error=2", false},
    {"Error Opening Schedules key!", false},
    {"MS Info application not found!", false},
    {"OKAPO: NOT Installed", false},
    {"VM Service is NOT running", false},
    {"Finish - GrabFile.  Error = 2", false},
    {"Finish - CreateTargetFolder.  Error=3<BR>", false},
    {"Still waiting for qzvmdom.EXE -all: running for 600 seconds", false},
    {"Successfully created C:\\run\\OS", false},
    {"Source File: C:\\logs\\Failed.log", false},
    {"ULVIX - Done!", false},
    {"", false},
};

}  // namespace

TEST(FailureLines, EachEntryOfTheRunIsJudgedByItsMarkers) {
    for (const Case& item : kEntries) EXPECT_EQ(RecordsFailure(item.entry), item.failure) << item.entry;
}

TEST(FailureLines, TheListingEndIsNoFailureOnlyAsItStands) {
    EXPECT_FALSE(RecordsFailure("No more files are left, so we are done here!!!"));
    EXPECT_TRUE(RecordsFailure("No more files are left, so we are done here!!! Access denied."));
}
