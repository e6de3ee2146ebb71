// The report: its opening and header, the dialog-state and time blocks, its limits and failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "MessageBoxAnswerer.h"
#include "ProductRegistry.h"
#include "StartedCollection.h"
#include "TestFiles.h"
#include "engine/ErrorText.h"
#include "report/TimeInformation.h"
#include "engine/TimeText.h"
#include "resources/resource.h"
#include "probes/CollectionProbes.h"
#include "report/CollectionReport.h"

using namespace testing_support;

namespace {

OsVersionInfo Windows7() { return {VER_PLATFORM_WIN32_NT, 6, 1, 7601, "Service Pack 1"}; }

std::vector<std::string> Entries(Collection& collection) {
    collection.report.file.Close();
    return ReportEntries(ReadWholeFile(OwnReportName()));
}

}  // namespace

TEST(Report, OpensWithTheFixedTextsAndTheHeaderEntriesInOrder) {
    RemoveMachineKey("SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager");
    ScopedWorkFolder folder;
    char node[MAX_PATH] = {}, homeDrive[MAX_PATH] = {}, system[MAX_PATH] = {}, windows[MAX_PATH] = {};
    DWORD nodeSize = sizeof node;
    ::GetComputerNameA(node, &nodeSize);
    ::ExpandEnvironmentStringsA("%HOMEDRIVE%", homeDrive, MAX_PATH);
    ::GetSystemDirectoryA(system, MAX_PATH);
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string& cwd = folder.Path();
    const char kNotFoundEnd[] = "Finish - IsFileExists Error = 3";
    char* text = nullptr;  // the system's own text: Wine's wording is not Windows'
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                     nullptr, ERROR_PATH_NOT_FOUND, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                     reinterpret_cast<char*>(&text), 0, nullptr);
    const std::string notFound = std::string("FindFirstFile() FAILED-> ") + text + "Error = 3";
    ::LocalFree(text);
    { StartedCollection collection(Windows7); }
    const std::string report = ReadWholeFile(OwnReportName());
    const std::string opening = "<HTML>\n<HEADER>\n<TITLE>Zeltrin - Marlowisp Report</TITLE>\n</HEADER>\n<BODY>\n<P>";
    EXPECT_EQ(report.substr(0, opening.size()), opening);
    const std::vector<std::string> expected = {
        "ULVIX Report file name: " + OwnReportName(), "ULVIX Version         : 6.1.0.445",
        "Test Box is running MSFT Windows Version 6.1 (Build 7601: Service Pack 1)", "Running on 64-bit machine",
        "ULVIX's current directory: " + cwd, std::string("System directory: ") + system,
        std::string("Windows directory: ") + windows, std::string("Home Drive: ") + homeDrive + "\\",
        std::string("Node Name: ") + node,
        "Start - IsPathExistsInRegistry Sub Key:SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager; Value "
        "Name:Version",
        "RegOpenKeyEx() failed for SOFTWARE\\BRENNOCK\\QzSvc\\CurrentVersion\\VolumeManager; Error=2",
        "Finish - IsPathExistsInRegistry.  Error=2", "ULVIX's help path and location: " + cwd + "\\Zeltrin.htm",
        "Start - IsFileExists " + cwd + "\\DOTNET\\MPSRPT_2003_CLUSTER.exe", notFound, kNotFoundEnd,
        "Start - IsFileExists " + cwd + "\\DOTNET\\MPSRPT_2001_CLUSTER.exe", notFound, kNotFoundEnd,
    };
    EXPECT_EQ(ReportEntries(report), expected);
}

TEST(Report, DialogStateBlockNamesTheEntriesAndEveryBox) {
    ScopedWorkFolder folder;
    StartedCollection collection;
    for (size_t row = 0; row < OptionTable().size(); ++row) collection.boxes[row].check = OptionTable()[row].startCheck;
    Box(collection, IDC_REGISTRY) = {BST_CHECKED, false};
    Box(collection, IDC_ZRX) = {BST_INDETERMINATE, true};
    collection.entries = {"123456", "Jo Support", "Disk 3 went offline", {2026, 3, 0, 7, 21, 5, 9, 0},
                          {2026, 3, 0, 7, 9, 4, 3, 0}, ""};
    collection.run.bugFolderNumber = "123456";
    ReportDlgState(collection);
    std::vector<std::string> entries = Entries(collection);
    auto start = std::find(entries.begin(), entries.end(), "Start - ReportDlgState");
    const std::string stars(86, '*');
    const std::vector<std::string> expected = {"Start - ReportDlgState", stars, "Incident #: 123456",
        "Bug Folder #: 123456", "Problem occurred on: 03-07-2026 at 09-04-03AM", "Name: Jo Support",
        "Comments: Disk 3 went offline", stars, "&Application Event Log = Checked", "System &Event Log = Checked",
        "MSINFO32 = Checked", "Hardware &Information = Checked", "&Cluster Log(s) = Checked",
        "MPS &Reports = Unchecked",
        "&Binary Version = Checked", "Memor&y Dump = Unchecked", "&Registry = Disabled", "&Providers (DOM) = Checked",
        "&FLX ASL / DSM = Checked", "Q&zDiag = Checked", "QzOkapo Log(s) = Checked", "&QzSvc Dump = Unchecked",
        "&BOOT.INI = Checked", "Se&tup Log = Checked", "Dr. &Watson Log = Checked", "Compress = Checked",
        "Delete after compress = Unchecked", "&User Dump = Checked", "&Logs = Checked", "ZRX = Checked",
        "PQH / HA = Checked", "WLT = Checked", "TEJ/RQN = Checked", "Solutions = Checked", "RBK Schedules = Checked",
        "Pelorin = Checked", "Licenses = Checked", "OSMU (YTR, WOLM) = Checked", "NLD/WKE = Checked",
        "PQHMC = Checked", "Miscellaneous = Checked", "&RUQ = Checked", "Finish - ReportDlgState <BR>"};
    EXPECT_EQ(std::vector<std::string>(start, entries.end()), expected);
}

TEST(Report, EntriesOf511CharactersAreWrittenLongerOnesGiveTheBoxAndAreDropped) {
    ScopedWorkFolder folder;
    StartedCollection collection;
    collection.LogReport("Path: %s", "%HOMEDRIVE%\\logs %d %s");
    collection.LogReport("%s", std::string(511, 'x').c_str());
    MessageBoxAnswerer answerer("Zeltrin - Marlowisp");
    collection.LogReport("%s%c", std::string(511, 'y').c_str(), 'z');
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Could not pack the string");
    EXPECT_EQ(answerer.Icon(), "exclamation");
    const std::vector<std::string> entries = Entries(collection);
    EXPECT_EQ(std::vector<std::string>(entries.end() - 2, entries.end()),
              (std::vector<std::string>{"Path: %HOMEDRIVE%\\logs %d %s", std::string(511, 'x')}));
}

TEST(Report, AReportThatCannotBeCreatedShowsItsBoxAndLeavesTheHeaderValuesEmpty) {
    ScopedWorkFolder folder;
    ASSERT_TRUE(::CreateDirectoryA(OwnReportName().c_str(), nullptr));  // in the way as a locked file would be
    ASSERT_EQ(::CreateFileA(OwnReportName().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    const DWORD error = ::GetLastError();
    MessageBoxAnswerer answerer("Zeltrin - Marlowisp");
    StartedCollection collection;
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Can not open/create " + OwnReportName() + ". Error=" + std::to_string(error));
    EXPECT_EQ(answerer.Icon(), "stop");
    EXPECT_EQ(collection.programVersion + collection.os.description + collection.folders.nodeName, "");
    collection.LogReport("nowhere");  // no file to go to, and no failure
}

TEST(Report, TimeZoneEntriesForEveryAnswerOfTheSystemAndTextsOfTimesAndCodes) {
    auto zone = [](LONG bias, LONG daylight) {
        return TIME_ZONE_INFORMATION{bias, L"Test Standard Time", {}, 0, L"Test Daylight Time", {}, daylight};
    };
    EXPECT_EQ(TimeZoneEntries(TIME_ZONE_ID_UNKNOWN, zone(-330, 0), "x")[0],
              "Current Time Zone: The system cannot determine the current time zone");
    EXPECT_EQ(TimeZoneEntries(TIME_ZONE_ID_DAYLIGHT, zone(-60, -60), "x"),
              (std::vector<std::string>{"Current Time Zone: Test Daylight Time", "Current GMT: x",
                  "Current time zone Bias: -2 hours, 0 minutes", "Standard Bias for Local: -1 hours, 0 minutes",
                  "Daylight Bias for Local: -2 hours, 0 minutes"}));
    EXPECT_EQ(TimeZoneEntries(TIME_ZONE_ID_STANDARD, zone(-330, -60), "x")[2],
              "Current time zone Bias: -5 hours, -30 minutes");
    EXPECT_EQ(TimeZoneEntries(TIME_ZONE_ID_INVALID, zone(0, 0), "x")[0], "Current Time Zone: ");
    EXPECT_EQ(FormatTime({2026, 12, 0, 6, 21, 5, 7, 0}, "%m-%d-%Y %I-%M-%S%p"), "12-06-2026 09-05-07PM");
    EXPECT_EQ(FormatTime({2026, 1, 4, 1, 0, 0, 0, 0}, "%I:%M:%S%p"), "12:00:00AM");
    EXPECT_EQ(FormatTime(SYSTEMTIME{}, "%m-%d-%Y"), "");
    EXPECT_EQ(GetErrorText(0x2000ABCD), "Error::Message string not found for 536914893");
}
