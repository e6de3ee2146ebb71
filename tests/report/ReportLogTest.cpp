// The report file: its name, its opening bytes, the form of every entry and the entry limit.
#include <gtest/gtest.h>

#include <regex>

#include "MessageBoxAnswerer.h"
#include "StartedCollection.h"
#include "TestFiles.h"

using namespace testing_support;

namespace {

// What the file holds right now, read through the directory entry: the collection keeps
// the report open without sharing, so nobody else can open it.
ULONGLONG SizeOnDisk(const std::string& name) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA(name.c_str(), &found));
    if (!search) return 0;
    return (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

}  // namespace

TEST(ReportLog, FileIsNamedAfterTheProcessAndOpensWithTheFixedTexts) {
    ScopedWorkFolder folder;
    {
        StartedCollection collection;
        EXPECT_EQ(collection.report.fileName, OwnReportName());
    }
    std::string report = ReadWholeFile(OwnReportName());
    const std::string opening =
        "<HTML>\n<HEADER>\n<TITLE>Zeltrin - Marlowisp Report</TITLE>\n</HEADER>\n<BODY>\n<P>";
    ASSERT_EQ(report.substr(0, opening.size()), opening);
    // The first entry follows "<P>" at once: no line end, no closing tags anywhere.
    EXPECT_TRUE(std::regex_search(report.substr(opening.size(), 11), std::regex("^\\d\\d:\\d\\d:\\d\\d[AP]M\t")));
    EXPECT_EQ(report.find("</BODY>"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 4), "<BR>");
    std::vector<std::string> entries = ReportEntries(report);
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0], "ULVIX Report file name: " + OwnReportName());
    EXPECT_EQ(entries[1], "ULVIX Version         : 6.1.0.445");
}

TEST(ReportLog, EveryEntryIsOnDiskWhenLogReportReturns) {
    ScopedWorkFolder folder;
    StartedCollection collection;
    ULONGLONG before = SizeOnDisk(OwnReportName());
    collection.LogReport("Entry %d", 42);
    // "hh:mm:ssPM\t" + "Entry 42" + "<BR>"
    EXPECT_EQ(SizeOnDisk(OwnReportName()), before + 11 + 8 + 4);
}

TEST(ReportLog, TextOf511CharactersIsWritten) {
    ScopedWorkFolder folder;
    {
        StartedCollection collection;
        collection.LogReport("%s", std::string(511, 'x').c_str());
    }
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), std::string(511, 'x'));
}

TEST(ReportLog, TextOf512CharactersGivesTheBoxAndIsDropped) {
    ScopedWorkFolder folder;
    StartedCollection collection;
    ULONGLONG before = SizeOnDisk(OwnReportName());
    MessageBoxAnswerer answerer("Zeltrin - Marlowisp");
    collection.LogReport("%s%c", std::string(511, 'y').c_str(), 'z');
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Could not pack the string");
    EXPECT_EQ(answerer.Icon(), "exclamation");
    EXPECT_EQ(SizeOnDisk(OwnReportName()), before);
}

TEST(ReportLog, PercentSignsInArgumentsArePrintedUnchanged) {
    ScopedWorkFolder folder;
    {
        StartedCollection collection;
        collection.LogReport("Path: %s", "%HOMEDRIVE%\\logs %d %s");
    }
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(OwnReportName()));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "Path: %HOMEDRIVE%\\logs %d %s");
}

TEST(ReportLog, CreationFailureShowsItsBoxAndLeavesTheHeaderValuesEmpty) {
    ScopedWorkFolder folder;
    // A folder of the report's name makes the creation fail the way a locked file would.
    ASSERT_TRUE(::CreateDirectoryA(OwnReportName().c_str(), nullptr));
    HANDLE probe = ::CreateFileA(OwnReportName().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_EQ(probe, INVALID_HANDLE_VALUE);
    DWORD expectedError = ::GetLastError();

    MessageBoxAnswerer answerer("Zeltrin - Marlowisp");
    StartedCollection collection;
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Can not open/create " + OwnReportName() + ". Error=" + std::to_string(expectedError));
    EXPECT_EQ(answerer.Icon(), "stop");
    EXPECT_FALSE(collection.report.file.IsOpen());
    EXPECT_EQ(collection.programVersion, "");
    EXPECT_EQ(collection.os.description, "");
    EXPECT_EQ(collection.folders.programFolder, "");
    EXPECT_EQ(collection.folders.nodeName, "");
    EXPECT_EQ(collection.paths.helpFile, "");
    EXPECT_EQ(collection.paths.qzdiagTool, "");
    EXPECT_EQ(collection.os.isVersion6, 0);
    // Later entries have no file to go to; they must not fail.
    collection.LogReport("nowhere");
}
