// Whole silent runs of Zeltrin.exe, each given an incident number built to break out of the
// bug folder's path or of a command line: box 104 is answered, and nothing may have been made
// on the drive, started or moved; the report stays in the program folder, ending with the
// detection's closing entry. RefusedIncidentRuns.sh runs this program in the fault runs'
// prefix with the demo installed; ZELTRIN_DEMO_PROGRAM names its program folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "FolderSnapshot.h"
#include "HostileIncidentNumbers.h"
#include "MessageBoxAnswerer.h"
#include "TestFiles.h"
#include "engine/ExitStatus.h"

using namespace testing_support;

namespace {

const char kInvalidIncidentText[] =
    "Please enter a valid Lorvex incident number or Mossel case ID to continue.\n\nExample: \n\tLorvex incident "
    "number: 123456\n\tMossel Case ID: 123456789";
constexpr DWORD kRefusalTimeoutMs = 60000;  // start-up and detection under Wine, with room to spare

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

TEST(RefusedIncidentRuns, EachIsRefusedWithBox104BeforeAnythingIsMadeOrStarted) {
    const std::string program = Environment("ZELTRIN_DEMO_PROGRAM");
    const std::string toolStarts = Environment("ZELTRIN_STUB_LOG");
    ASSERT_FALSE(program.empty()) << "run by RefusedIncidentRuns.sh, which sets ZELTRIN_DEMO_PROGRAM";
    ASSERT_FALSE(toolStarts.empty());
    // The home drive is the local destination root; the network share is out of reach here.
    // The user profile is walked only for its temporary folder: Wine links the profile's
    // other shell folders to the Unix home, which is no part of the drive.
    char temporary[MAX_PATH + 1] = {};
    ASSERT_NE(::GetTempPathA(sizeof temporary, temporary), 0u);
    std::string temporaryFolder = temporary;
    temporaryFolder.pop_back();  // the trailing backslash
    const FolderSnapshot driveBefore = TakeFolderSnapshot("C:\\", {"users"});
    const FolderSnapshot temporaryBefore = TakeFolderSnapshot(temporaryFolder);
    const FolderSnapshot programBefore = TakeFolderSnapshot(program);

    for (const std::string& number : HostileIncidentNumbers()) {
        SCOPED_TRACE(Printable(number));
        std::string commandLine = "\"";
        commandLine += program;
        commandLine += "\\Zeltrin.exe\" -noGUI case#=";
        commandLine += number;
        ChildProcess zeltrin(commandLine, program);
        ASSERT_TRUE(zeltrin.Started());
        MessageBoxAnswerer box("Zeltrin", zeltrin.Id());
        zeltrin.Resume();
        ASSERT_TRUE(box.Wait(kRefusalTimeoutMs));
        // The box's icon is not compared: a stock icon's handle is only known in its own process.
        EXPECT_EQ(box.Text(), kInvalidIncidentText);
        EXPECT_EQ(zeltrin.Wait(kRefusalTimeoutMs), kExitIncidentRefused);

        // The report stays where it was made: the number reached the program unchanged, and
        // the detection's closing entry is the last thing written (no folder was tried).
        const std::string report = program + "\\" + std::to_string(zeltrin.Id()) + "_ULVIX-Report.HTML";
        ASSERT_TRUE(PathExists(report));
        std::vector<std::string> entries = ReportEntries(ReadWholeFile(report));
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.back(), "Finish - Initialize. Error=0<BR>");
        EXPECT_NE(std::find(entries.begin(), entries.end(), "Incident #: " + number), entries.end());
        ::DeleteFileA(report.c_str());
    }

    EXPECT_EQ(SnapshotDifferences(driveBefore, TakeFolderSnapshot("C:\\", {"users"})), std::vector<std::string>{});
    EXPECT_EQ(SnapshotDifferences(temporaryBefore, TakeFolderSnapshot(temporaryFolder)), std::vector<std::string>{});
    EXPECT_EQ(SnapshotDifferences(programBefore, TakeFolderSnapshot(program)), std::vector<std::string>{});
    EXPECT_FALSE(PathExists(toolStarts)) << ReadWholeFile(toolStarts);
}
