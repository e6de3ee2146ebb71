// The dialog after its initialisation: start states, progress step, destination, system menu,
// the about box, and what Cancel and OK do.
#include <algorithm>
#include <atomic>
#include <thread>

#include "DialogFixture.h"
#include "resources/resource.h"

using testing_support::OwnReportName;
using testing_support::PathExists;

namespace {

// The boxes whose check mark the detection leaves as the start states set it, whatever it finds.
constexpr int kCheckedAtStart[] = {1000, 1001, 1002, 1003, 1004, 1006, 1007, 1008, 1016, 1019, 1020, 1031,
                                   1033, 1037, 1038, 1039, 1041, 1046, 1047, 1050, 1051, 1054, 1064, 1068};
constexpr int kClearAtStart[] = {1005, 1018, 1024, 1035};
// The boxes the detection never enables or disables.
constexpr int kNeverGreyed[] = {1000, 1001, 1007, 1008, 1016, 1019, 1031, 1035,
                                1037, 1038, 1046, 1050, 1051, 1054, 1064};

}  // namespace

TEST_F(OpenDialog, StartStatesCheckAllButQzSvcDumpMpsReportsAndDeleteAfterCompress) {
    for (int id : kCheckedAtStart) EXPECT_TRUE(Checked(id)) << id;
    for (int id : kClearAtStart) EXPECT_FALSE(Checked(id)) << id;
}

TEST_F(OpenDialog, HardwareInformationAndMemoryDumpAreHidden) {
    EXPECT_EQ(::GetWindowLongPtrA(Item(IDC_HARDWARE_INFO), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(::GetWindowLongPtrA(Item(IDC_MEMORY_DUMP), GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(OpenDialog, BoxesOfNoComponentStayEnabled) {
    for (int id : kNeverGreyed) EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(OpenDialog, LabelsShowTheProgramVersionAndTheSystem) {
    EXPECT_EQ(Text(IDC_VERSION_LABEL), "v6.1.0.445");
    EXPECT_EQ(Text(IDC_OS_DESCRIPTION), collection.os.description);
}

TEST_F(OpenDialog, ProgressStepIsAQuarterOfTheDefaultRangeOver25) {
    EXPECT_EQ(::SendMessageA(Item(IDC_PROGRESS), PBM_GETSTEP, 0, 0), 4);
}

TEST_F(OpenDialog, DestinationShowsTheHomeDrive) {
    EXPECT_EQ(Text(IDC_DESTINATION), collection.folders.homeDrive);
    EXPECT_EQ(collection.entries.destinationFolder, "");
}

TEST_F(OpenDialog, ProblemDateAndTimeStartAtNow) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    SYSTEMTIME picked{};
    ASSERT_EQ(::SendMessageA(Item(IDC_PROBLEM_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)),
              GDT_VALID);
    EXPECT_EQ(picked.wYear, now.wYear);
    EXPECT_EQ(picked.wDay, collection.entries.problemDate.wDay);
    EXPECT_EQ(collection.entries.problemTime.wHour, collection.entries.problemDate.wHour);
}

TEST_F(OpenDialog, ReportBracketsTheDetection) {
    collection.report.file.Close();
    std::vector<std::string> entries = testing_support::ReportEntries(testing_support::ReadWholeFile(OwnReportName()));
    auto start = std::find(entries.begin(), entries.end(), "Start - Initialize");
    ASSERT_NE(start, entries.end());
    ASSERT_NE(start + 1, entries.end());
    EXPECT_EQ(start[1], "Enable and Set all Check Boxes...");
    EXPECT_EQ(entries.back(), "Finish - Initialize. Error=0<BR>");
}

TEST_F(OpenDialog, SystemMenuEndsWithASeparatorAndTheAboutItem) {
    HMENU menu = ::GetSystemMenu(dialog.GetSafeHwnd(), FALSE);
    int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    MENUITEMINFOA separator{};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoA(menu, count - 2, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    char text[64] = {};
    ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About ULVIX...");
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), 16u);
}

TEST_F(OpenDialog, AboutItemShowsTheAboutBoxWithTheProgramVersion) {
    std::atomic<bool> seen{false};
    std::string versionLine;
    std::thread closer([&] {
        for (int tries = 0; tries < 500 && !seen; ++tries) {
            HWND about = ::FindWindowA("#32770", "About Zeltrin");
            if (about != nullptr && ::IsWindowVisible(about)) {
                char text[128] = {};
                ::GetDlgItemTextA(about, IDC_ABOUT_VERSION, text, sizeof text);
                versionLine = text;
                seen = true;
                ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            ::Sleep(20);
        }
    });
    // The low four bits of a system command carry no meaning and must not matter.
    ::SendMessageA(dialog.GetSafeHwnd(), WM_SYSCOMMAND, 16 | 3, 0);
    closer.join();
    EXPECT_TRUE(seen);
    EXPECT_EQ(versionLine, "Zeltrin v 6.1.0.445");
}

TEST_F(OpenDialog, CancelClosesAndDeletesTheReport) {
    ASSERT_TRUE(PathExists(OwnReportName()));
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(PathExists(OwnReportName()));
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(dialog.EndResult(), IDCANCEL);
}

TEST_F(OpenDialog, OkWithValidFieldsCollectsAndEndsTheDialog) {
    collection.entries.destinationFolder = folder.Path() + "\\";
    ::SetDlgItemTextA(dialog.GetSafeHwnd(), IDC_INCIDENT, "123456");
    ::SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(dialog.EndResult(), IDOK);
    EXPECT_EQ(collection.entries.incidentNumber, "123456");
    EXPECT_EQ(collection.report.destination.rfind(folder.Path() + "\\123456\\", 0), 0u);
    EXPECT_TRUE(PathExists(collection.report.destination));
}
