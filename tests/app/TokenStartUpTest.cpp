// The tokens "timeout=", "dest=", "share=" and "noshare" at start-up, and the exit status of
// every way the program ends: in this process for the refusals, with Zeltrin.exe itself for runs.
#include <gtest/gtest.h>

#include <algorithm>

#include "MainDialogWindow.h"
#include "MessageBoxAnswerer.h"
#include "TestFiles.h"
#include "app/CULVIXApp.h"
#include "engine/ExitStatus.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

bool AnAdministrator() { return true; }

// The names in a folder in order, "." and ".." left out.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (search) {
        do
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
                names.push_back(found.cFileName);
        while (::FindNextFileA(search.get(), &found));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string NodeName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    ::GetComputerNameA(name, &size);
    return name;
}

// The one run folder made below <root>\<incident>, or "" when there is not exactly one.
std::string RunFolderBelow(const std::string& root, const std::string& incident) {
    std::string machine = root + "\\" + incident + "\\" + NodeName();
    std::vector<std::string> runs = NamesIn(machine);
    return runs.size() == 1 ? machine + "\\" + runs[0] : std::string();
}

std::string Zeltrin() {
    std::string quoted(1, '"');
    quoted += ProgramFolder();
    quoted += "\\Zeltrin.exe\"";
    return quoted;
}

std::string ReportName(const ChildProcess& program) { return std::to_string(program.Id()) + "_ULVIX-Report.HTML"; }

bool AnyEntryHolds(const std::vector<std::string>& entries, const std::string& part) {
    for (const std::string& entry : entries)
        if (entry.find(part) != std::string::npos) return true;
    return false;
}

size_t EntriesStartingWith(const std::vector<std::string>& entries, const std::string& start) {
    size_t count = 0;
    for (const std::string& entry : entries) count += entry.rfind(start, 0) == 0 ? 1 : 0;
    return count;
}

// A work folder as program folder, with a local destination root "dest" and a share stand-in
// "share" inside it.
class TokenRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CreateDirectoryA(destination.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(share.c_str(), nullptr));
    }

    ScopedWorkFolder work;
    std::string destination = work.Path() + "\\dest";
    std::string share = work.Path() + "\\share";
};

}  // namespace

TEST(TokenStartUp, MalformedTokenIsRefusedWithItsBoxAndStatusFiveBeforeAnythingIsMade) {
    ScopedWorkFolder work;
    RemoveTree("C:\\tokin");
    CULVIXApp app(AnAdministrator);
    app.SetCommandLine("-noGUI case#=tokin timeout=86401 dest=missing");
    MessageBoxAnswerer answerer("Zeltrin");
    EXPECT_FALSE(app.InitInstance());
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(),
              "\"timeout=86401\" was refused: the time limit must be a whole number of seconds from 1 to 86400.\n"
              "\"dest=missing\" was refused: there is no folder of that name.");
    EXPECT_EQ(answerer.Icon(), "exclamation");
    EXPECT_EQ(app.ExitStatus(), kExitMalformedToken);
    EXPECT_EQ(NamesIn(work.Path()), std::vector<std::string>{});
    EXPECT_FALSE(PathExists("C:\\tokin"));
}

TEST_F(TokenRun, ZeroTimeoutEndsTheProgramWithStatusFiveAndNoReport) {
    ChildProcess program(Zeltrin() + " -noGUI case#=tokzero timeout=0", work.Path());
    ASSERT_TRUE(program.Started());
    MessageBoxAnswerer answerer("Zeltrin", program.Id());
    program.Resume();
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(),
              "\"timeout=0\" was refused: the time limit must be a whole number of seconds from 1 to 86400.");
    EXPECT_EQ(program.Wait(), kExitMalformedToken);
    EXPECT_EQ(NamesIn(work.Path()), (std::vector<std::string>{"dest", "share"}));
}

TEST_F(TokenRun, SilentRunWithADestinationCollectsBelowItAndEndsWithStatusZero) {
    ChildProcess program(Zeltrin() + " -noGUI case#=tokdest timeout=86400 dest=" + destination, work.Path());
    ASSERT_TRUE(program.Started());
    program.Resume();
    EXPECT_EQ(program.Wait(), kExitDone);
    std::string run = RunFolderBelow(destination, "tokdest");
    ASSERT_FALSE(run.empty());
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(run + "\\" + ReportName(program)));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
}

TEST_F(TokenRun, ShareTokenPutsTheRunFolderBelowThatShareBeforeTheDestination) {
    ChildProcess program(Zeltrin() + " -noGUI case#=tokshare share=" + share + " dest=" + destination, work.Path());
    ASSERT_TRUE(program.Started());
    program.Resume();
    EXPECT_EQ(program.Wait(), kExitDone);
    std::string run = RunFolderBelow(share, "tokshare");
    ASSERT_FALSE(run.empty());
    EXPECT_TRUE(PathExists(run + "\\" + ReportName(program)));
    EXPECT_EQ(NamesIn(destination), std::vector<std::string>{});
}

TEST_F(TokenRun, AShareOutOfReachIsTriedAndTheRunFallsBackToTheDestination) {
    ChildProcess program(Zeltrin() + " -noGUI case#=tokunr share=" + share + "\\offline dest=" + destination,
                         work.Path());
    ASSERT_TRUE(program.Started());
    program.Resume();
    EXPECT_EQ(program.Wait(), kExitDone);
    EXPECT_FALSE(RunFolderBelow(destination, "tokunr").empty());
}

TEST_F(TokenRun, NoShareGoesStraightToTheLocalRootWithoutShareLines) {
    ChildProcess program(Zeltrin() + " -noGUI NOSHARE case#=toknoshr dest=" + destination, work.Path());
    ASSERT_TRUE(program.Started());
    program.Resume();
    EXPECT_EQ(program.Wait(), kExitDone);
    std::string run = RunFolderBelow(destination, "toknoshr");
    ASSERT_FALSE(run.empty());
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(run + "\\" + ReportName(program)));
    EXPECT_FALSE(AnyEntryHolds(entries, "zeltrin-logs"));
    EXPECT_EQ(EntriesStartingWith(entries, "Start - CreateTargetFolder"), 1u);
    EXPECT_EQ(EntriesStartingWith(entries, "Start - CreateTargetFolder " + destination + "\\toknoshr\\"), 1u);
}

TEST_F(TokenRun, RefusedIncidentInSilentModeEndsWithStatusTwo) {
    ChildProcess program(Zeltrin() + " -noGUI case#=a&b noshare dest=" + destination, work.Path());
    ASSERT_TRUE(program.Started());
    MessageBoxAnswerer answerer("Zeltrin", program.Id());
    program.Resume();
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text().rfind("Please enter a valid Lorvex incident number", 0), 0u) << answerer.Text();
    EXPECT_EQ(program.Wait(), kExitIncidentRefused);
    EXPECT_EQ(NamesIn(destination), std::vector<std::string>{});
}

TEST_F(TokenRun, RootWhereTheBugFolderCannotBeMadeEndsWithStatusThree) {
    WriteWholeFile(destination + "\\tokfatal", "in the way");
    ChildProcess program(Zeltrin() + " -noGUI case#=tokfatal noshare dest=" + destination, work.Path());
    ASSERT_TRUE(program.Started());
    program.Resume();
    EXPECT_EQ(program.Wait(), kExitNoRunFolder);
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(work.Path() + "\\" + ReportName(program)));
    EXPECT_TRUE(AnyEntryHolds(entries, "FATAL: failed to create " + destination + "\\tokfatal"));
}

TEST_F(TokenRun, DialogShowsTheDestinationAsBrowseWouldAndCancelEndsWithStatusFour) {
    ChildProcess program(Zeltrin() + " dest=" + destination, work.Path());
    ASSERT_TRUE(program.Started());
    program.Resume();
    HWND dialog = WaitForMainDialog(program.Id());
    ASSERT_NE(dialog, nullptr);
    char shown[MAX_PATH] = {};
    ::GetDlgItemTextA(dialog, IDC_DESTINATION, shown, sizeof shown);
    EXPECT_EQ(std::string(shown), destination + "\\");
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(program.Wait(), kExitCancelled);
}

TEST_F(TokenRun, DialogKeepsGoingAfterARefusedIncidentAndEndsWithTheStatusOfTheRunThatEndsIt) {
    ChildProcess program(Zeltrin() + " noshare dest=" + destination, work.Path());
    ASSERT_TRUE(program.Started());
    program.Resume();
    HWND dialog = WaitForMainDialog(program.Id());
    ASSERT_NE(dialog, nullptr);
    {
        MessageBoxAnswerer answerer("Zeltrin", program.Id());
        ::SetDlgItemTextA(dialog, IDC_INCIDENT, "a&b");
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(answerer.Wait());
    }
    ::SetDlgItemTextA(dialog, IDC_INCIDENT, "tokdlg");
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(program.Wait(), kExitDone);
    EXPECT_FALSE(RunFolderBelow(destination, "tokdlg").empty());
}
