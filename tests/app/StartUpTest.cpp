// Start-up: the administrator refusal in this process, and Zeltrin.exe itself started in a
// folder of its own, silently and with its dialog.
#include <gtest/gtest.h>

#include "MainDialogWindow.h"
#include "MessageBoxAnswerer.h"
#include "TestFiles.h"
#include "app/CULVIXApp.h"
#include "engine/ExitStatus.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

bool NotAnAdministrator() { return false; }

std::vector<std::string> ReportsIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*_ULVIX-Report.HTML").c_str(), &found));
    if (search) {
        do names.push_back(found.cFileName);
        while (::FindNextFileA(search.get(), &found));
    }
    return names;
}

std::string Zeltrin() {
    std::string quoted(1, '"');
    quoted += ProgramFolder();
    quoted += "\\Zeltrin.exe\"";
    return quoted;
}

// Lets a started program run and gives its main dialog once it shows.
HWND ResumeUntilTheDialogShows(ChildProcess& program) {
    if (!program.Started()) return nullptr;
    program.Resume();
    return WaitForMainDialog(program.Id());
}

void Cancel(HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

}  // namespace

TEST(StartUp, UserOutsideAdministratorsIsRefusedAndNoReportIsMade) {
    ScopedWorkFolder folder;
    CULVIXApp app(NotAnAdministrator);
    MessageBoxAnswerer answerer("Zeltrin");
    EXPECT_FALSE(app.InitInstance());
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "You require administrative previlages to run this application");
    EXPECT_EQ(answerer.Icon(), "stop");
    EXPECT_EQ(app.ExitStatus(), kExitNotAdministrator);
    EXPECT_TRUE(ReportsIn(folder.Path()).empty());
}

TEST(StartUp, WineUserCountsAsAdministrator) { EXPECT_TRUE(IsUserAdministrator()); }

// Silent runs collect at the root of the home drive (the test prefix's C:), in a bug folder
// named for the test; the folder goes when the test ends.
class HomeDriveBugFolder {
public:
    explicit HomeDriveBugFolder(std::string incident) : path_("C:\\" + incident) { RemoveTree(path_); }
    ~HomeDriveBugFolder() { RemoveTree(path_); }
    // The one run folder made below the bug folder, or "" when there is not exactly one.
    std::string RunFolder() const {
        std::vector<std::string> runs;
        WIN32_FIND_DATAA found{};
        std::string machine = path_ + "\\" + NodeName();
        win32::UniqueFind search(::FindFirstFileA((machine + "\\*").c_str(), &found));
        if (search) {
            do
                if (found.cFileName[0] != '.') runs.push_back(machine + "\\" + found.cFileName);
            while (::FindNextFileA(search.get(), &found));
        }
        return runs.size() == 1 ? runs[0] : std::string();
    }

private:
    static std::string NodeName() {
        char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD size = sizeof name;
        ::GetComputerNameA(name, &size);
        return name;
    }
    std::string path_;
};

TEST(StartUp, SilentRunCollectsAndMovesTheReportOfItsOwnProcessIntoItsRunFolder) {
    ScopedWorkFolder folder;
    HomeDriveBugFolder bug("startup1");
    ChildProcess program(Zeltrin() + " -noGUI case#=startup1", folder.Path());
    ASSERT_TRUE(program.Started());
    std::string expectedName = std::to_string(program.Id()) + "_ULVIX-Report.HTML";
    program.Resume();
    EXPECT_EQ(program.Wait(), 0);

    EXPECT_TRUE(ReportsIn(folder.Path()).empty());
    std::string run = bug.RunFolder();
    ASSERT_FALSE(run.empty());
    ASSERT_EQ(ReportsIn(run), std::vector<std::string>{expectedName});
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(run + "\\" + expectedName));
    ASSERT_GE(entries.size(), 5u);
    EXPECT_EQ(entries[0], "ULVIX Report file name: " + expectedName);
    EXPECT_EQ(entries[4], "ULVIX's current directory: " + folder.Path());
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
}

TEST(StartUp, SilentRunWithATenCharacterIncidentShowsTheLengthMessageAndCollectsUnderTheWholeNumber) {
    ScopedWorkFolder folder;
    HomeDriveBugFolder bug("startup890");
    ChildProcess program(Zeltrin() + " case#=startup890 -NOGUI", folder.Path());
    ASSERT_TRUE(program.Started());
    MessageBoxAnswerer answerer("Zeltrin", program.Id());
    program.Resume();
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(answerer.Text(), "Please enter no more than 9 characters.");
    EXPECT_EQ(program.Wait(), 0);
    std::string run = bug.RunFolder();
    ASSERT_FALSE(run.empty());
    // Boxes read before the incident field keep their marks, those after it stay cleared.
    EXPECT_TRUE(PathExists(run + "\\REGISTRY.TXT"));
    EXPECT_FALSE(PathExists(run + "\\OS\\APP_Events.log"));
}

TEST(StartUp, IncidentWithoutTheSwitchOpensTheDialogWithAnEmptyField) {
    ScopedWorkFolder folder;
    ChildProcess program(Zeltrin() + " case#=123456", folder.Path());
    HWND dialog = ResumeUntilTheDialogShows(program);
    ASSERT_NE(dialog, nullptr);
    char incident[32] = {};
    ::GetDlgItemTextA(dialog, IDC_INCIDENT, incident, sizeof incident);
    EXPECT_STREQ(incident, "");
    EXPECT_EQ(ReportsIn(folder.Path()).size(), 1u);

    Cancel(dialog);
    EXPECT_EQ(program.Wait(), kExitCancelled);
    // Cancel discards the report.
    EXPECT_TRUE(ReportsIn(folder.Path()).empty());
}

TEST(StartUp, TokenThatOnlyResemblesTheSwitchShowsTheDialog) {
    ScopedWorkFolder folder;
    ChildProcess program(Zeltrin() + " /noGUI case#=1", folder.Path());
    HWND dialog = ResumeUntilTheDialogShows(program);
    ASSERT_NE(dialog, nullptr);
    Cancel(dialog);
    EXPECT_EQ(program.Wait(), kExitCancelled);
}

TEST(StartUp, TwoProgramsInOneFolderEachCollectTheirOwnReport) {
    ScopedWorkFolder folder;
    HomeDriveBugFolder firstBug("startupA");
    HomeDriveBugFolder secondBug("startupB");
    ChildProcess first(Zeltrin() + " -noGUI case#=startupA", folder.Path());
    ChildProcess second(Zeltrin() + " -noGUI case#=startupB", folder.Path());
    first.Resume();
    second.Resume();
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_EQ(ReportsIn(firstBug.RunFolder()),
              std::vector<std::string>{std::to_string(first.Id()) + "_ULVIX-Report.HTML"});
    EXPECT_EQ(ReportsIn(secondBug.RunFolder()),
              std::vector<std::string>{std::to_string(second.Id()) + "_ULVIX-Report.HTML"});
}
