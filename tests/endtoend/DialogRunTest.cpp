// A whole collection in dialog mode, driven from outside the way a user drives it: the real
// Zeltrin.exe shows its dialog, gets an incident number, a name and comments typed in, and
// OK pressed. The dialog is kept as a picture taken just before OK.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "FolderSnapshot.h"
#include "MainDialogWindow.h"
#include "TestFiles.h"
#include "common/win32/UniqueHandle.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

constexpr DWORD kRunTimeoutMs = 120000;  // a whole collection on the test prefix, with room to spare

// The folder a test run's artefacts are kept in: ZELTRIN_ARTEFACTS, else the test's own folder.
std::string ArtefactFolder() {
    const char* folder = std::getenv("ZELTRIN_ARTEFACTS");
    if (!folder || !*folder) return ProgramFolder();
    ::CreateDirectoryA(folder, nullptr);
    return folder;
}

// The window's screen area as a 24-bit .bmp file's bytes; empty when any GDI step fails. The
// window belongs to another process: its pixels are read from the screen, where nothing
// covers it (no window manager under Xvfb, and it is the newest window).
std::string WindowPicture(HWND window) {
    RECT area{};
    if (!::GetWindowRect(window, &area)) return {};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = area.right - area.left;
    info.biHeight = area.bottom - area.top;
    info.biPlanes = 1;
    info.biBitCount = 24;
    win32::UniqueScreenDc screen(::GetDC(nullptr));
    if (!screen) return {};
    win32::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    win32::UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), info.biWidth, info.biHeight));
    if (!memory || !bitmap) return {};
    HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
    const bool copied = ::BitBlt(memory.get(), 0, 0, info.biWidth, info.biHeight, screen.get(), area.left,
                                 area.top, SRCCOPY) != FALSE;
    ::SelectObject(memory.get(), previous);
    // Rows of a bottom-up DIB are padded to whole 32-bit words.
    std::string pixels(((static_cast<size_t>(info.biWidth) * 3 + 3) & ~size_t{3}) * info.biHeight, '\0');
    if (!copied || ::GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, info.biHeight, pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != info.biHeight)
        return {};
    BITMAPFILEHEADER file{0x4D42 /* "BM" */, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof info};
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    return std::string(reinterpret_cast<const char*>(&file), sizeof file) +
           std::string(reinterpret_cast<const char*>(&info), sizeof info) + pixels;
}

void Type(HWND dialog, int control, const char* text) {
    // WM_SETTEXT is carried across processes with its text.
    ::SendDlgItemMessageA(dialog, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

TEST(DialogRun, TypedIncidentAndOkCollectIntoTheHomeDriveAndThePictureShowsTheDialog) {
    ScopedWorkFolder folder;
    // No destination is browsed for, so the run collects below the home drive's root.
    const std::string bug = "C:\\e2edialog";
    RemoveTree(bug);
    std::string command(1, '"');
    command += ProgramFolder() + "\\Zeltrin.exe\"";
    ChildProcess program(command, folder.Path());
    ASSERT_TRUE(program.Started());
    const std::string reportName = std::to_string(program.Id()) + "_ULVIX-Report.HTML";
    program.Resume();
    HWND dialog = WaitForMainDialog(program.Id());
    ASSERT_NE(dialog, nullptr);

    Type(dialog, IDC_INCIDENT, "e2edialog");
    Type(dialog, IDC_NAME, "Dialog Tester");
    Type(dialog, IDC_COMMENTS, "typed by the end-to-end test");
    // The typed texts are painted before the picture is taken.
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::string picture = WindowPicture(dialog);
    WriteWholeFile(ArtefactFolder() + "\\dialog-before-ok.bmp", picture);
    // A picture of a dialog is not one flat colour (a failed copy from the screen would be).
    const size_t pixels = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    ASSERT_GT(picture.size(), pixels);
    EXPECT_NE(picture.find_first_not_of(picture[pixels], pixels), std::string::npos);

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
