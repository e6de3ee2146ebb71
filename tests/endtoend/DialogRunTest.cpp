// A whole collection in dialog mode, driven from outside the way a user drives it: the real
// Zeltrin.exe shows its dialog, gets an incident number, a name and comments typed in, and
// OK pressed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FolderSnapshot.h"
#include "MainDialogWindow.h"
#include "TestFiles.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

constexpr DWORD kRunTimeoutMs = 120000;  // a whole collection on the test prefix, with room to spare

void Type(HWND dialog, int control, const char* text) {
    // WM_SETTEXT is carried across processes with its text.
    ::SendDlgItemMessageA(dialog, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

TEST(DialogRun, TypedIncidentAndOkCollectIntoTheHomeDrive) {
    ScopedWorkFolder folder;
    // No destination is browsed for, so the run collects below the home drive's root.
    const std::string bug = "C:\\e2edialog";
    RemoveTree(bug);
    std::string command(1, '"');
    command += ProgramFolder() + "\\Zeltrin.exe\"";
    ChildProcess program(command, folder.Path());
    ASSERT_NE(program.Handle(), nullptr);
    const std::string reportName = std::to_string(program.Id()) + "_ULVIX-Report.HTML";
    program.Resume();
    HWND dialog = WaitForMainDialog(program.Id());
    ASSERT_NE(dialog, nullptr);

    Type(dialog, IDC_INCIDENT, "e2edialog");
    Type(dialog, IDC_NAME, "Dialog Tester");
    Type(dialog, IDC_COMMENTS, "typed by the end-to-end test");

    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    ASSERT_EQ(program.Wait(kRunTimeoutMs), 0);

    // The report moved out of the work folder into the one run folder below the machine's.
    EXPECT_FALSE(PathExists(folder.Path() + "\\" + reportName));
    char node[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof node;
    ASSERT_TRUE(::GetComputerNameA(node, &size));
    const std::string machine = bug + "\\" + node;
    std::vector<std::string> runs;
    for (const auto& [path, stamp] : TakeFolderSnapshot(machine))
        if (stamp.folder && path.find('\\') == std::string::npos) runs.push_back(path);
    ASSERT_EQ(runs.size(), 1u);
    const std::string run = machine + "\\" + runs[0];
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(run + "\\" + reportName));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    for (const std::string& entry :
         std::vector<std::string>{"Incident #: e2edialog", "Bug Folder #: e2edialog", "Name: Dialog Tester",
                                  "Comments: typed by the end-to-end test", "Successfully created " + run})
        EXPECT_NE(std::find(entries.begin(), entries.end(), entry), entries.end()) << entry;
    EXPECT_TRUE(PathExists(run + "\\REGISTRY.TXT"));
    RemoveTree(bug);
}
