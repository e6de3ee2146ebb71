// A whole collection in dialog mode, driven from outside the way a user drives it: the real
// Zeltrin.exe shows its dialog, gets an incident number, a name and comments typed in, and
// OK pressed. The run is held in the middle of a tool, where the dialog must still answer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FolderSnapshot.h"
#include "MainDialogWindow.h"
#include "MessageBoxAnswerer.h"
#include "TestFiles.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

constexpr DWORD kRunTimeoutMs = 120000;  // a whole collection on the test prefix, with room to spare
constexpr UINT kAnswerMs = 20000;        // a window that answers at all answers well within this

void Type(HWND dialog, int control, const char* text) {
    // WM_SETTEXT is carried across processes with its text.
    ::SendDlgItemMessageA(dialog, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// A message the dialog's window procedure must answer; false when it does not within the limit.
bool Answers(HWND dialog, UINT message, DWORD_PTR& answer) {
    return ::SendMessageTimeoutA(dialog, message, 0, 0, SMTO_NORMAL, kAnswerMs, &answer) != 0;
}

}  // namespace

TEST(DialogRun, TypedIncidentAndOkCollectIntoTheHomeDrive) {
    ScopedWorkFolder folder;
    // No destination is browsed for, so the run collects below the home drive's root.
    const std::string bug = "C:\\e2edialog";
    RemoveTree(bug);
    // The FLX/MPIO step starts qdsminfo by its bare name: the stub, from the work folder, waits
    // there until released.
    PlaceStubTool("qdsminfo.exe");
    const std::string release = folder.Path() + "\\release";
    const std::string starts = folder.Path() + "\\starts.txt";
    ::SetEnvironmentVariableA("ZELTRIN_STUB_WAIT", ("qdsminfo|" + release).c_str());
    ::SetEnvironmentVariableA("ZELTRIN_STUB_PIDS", starts.c_str());
    std::string command(1, '"');
    command += ProgramFolder() + "\\Zeltrin.exe\"";
    ChildProcess program(command, folder.Path());
    ::SetEnvironmentVariableA("ZELTRIN_STUB_WAIT", nullptr);
    ::SetEnvironmentVariableA("ZELTRIN_STUB_PIDS", nullptr);
    ASSERT_NE(program.Handle(), nullptr);
    const std::string reportName = std::to_string(program.Id()) + "_ULVIX-Report.HTML";
    program.Resume();
    HWND dialog = WaitForMainDialog(program.Id());
    ASSERT_NE(dialog, nullptr);

    Type(dialog, IDC_INCIDENT, "e2edialog");
    Type(dialog, IDC_NAME, "Dialog Tester");
    Type(dialog, IDC_COMMENTS, "typed by the end-to-end test");

    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    for (int tries = 0; tries < 6000 && ReadWholeFile(starts).find("qdsminfo|") == std::string::npos; ++tries)
        ::Sleep(20);
    ASSERT_NE(ReadWholeFile(starts).find("qdsminfo|"), std::string::npos);
    // Held in its FLX/MPIO step, the run shows where it is, and the window answers.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(Answers(dialog, WM_NULL, answer));
    char status[128] = {};
    ::GetWindowTextA(::GetDlgItem(dialog, IDC_STATUS), status, sizeof status);
    EXPECT_STREQ(status, "Capturing FLX/MPIO Information ...");
    EXPECT_TRUE(Answers(::GetDlgItem(dialog, IDC_PROGRESS), PBM_GETPOS, answer));
    EXPECT_GT(answer, 0u);
    {
        // Closing the window does not end a run half-way: the user is told, and the run goes on.
        MessageBoxAnswerer answerer("Zeltrin", program.Id());
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(answerer.Wait());
        EXPECT_EQ(answerer.Text(), "The collection is still running and is not stopped half-way. This window closes "
                                   "by itself when the collection has ended.");
    }
    EXPECT_TRUE(::IsWindowVisible(dialog));
    WriteWholeFile(release, "");
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
