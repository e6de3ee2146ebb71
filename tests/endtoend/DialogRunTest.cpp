// A whole collection in dialog mode, driven from outside the way a user drives it: the real
// Zeltrin.exe shows its dialog, gets an incident number, a name and comments typed in, and
// OK pressed. The dialog is kept as a picture taken just before OK.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MainDialogWindow.h"
#include "TestFiles.h"
#include "common/win32/UniqueHandle.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

constexpr DWORD kRunTimeoutMs = 120000;  // a whole collection on the test prefix, with room to spare
constexpr WORD kBitsPerPixel = 24;

// The folder a test run's artefacts are kept in: ZELTRIN_ARTEFACTS, else the test's own folder.
std::string ArtefactFolder() {
    const char* folder = std::getenv("ZELTRIN_ARTEFACTS");
    if (!folder || !*folder) return ProgramFolder();
    ::CreateDirectoryA(folder, nullptr);
    return folder;
}

// Rows of a 24-bit bottom-up DIB are padded to whole 32-bit words.
size_t RowBytes(LONG width) { return (static_cast<size_t>(width) * kBitsPerPixel / 8 + 3) & ~size_t{3}; }

// Copies the window's screen area into a .bmp file; false when any GDI step fails.
bool SaveWindowPicture(HWND window, const std::string& path) {
    RECT area{};
    if (!::GetWindowRect(window, &area)) return false;
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    // The window belongs to another process: its pixels are read from the screen, where
    // nothing covers it (no window manager under Xvfb, and it is the newest window).
    win32::UniqueScreenDc screen(::GetDC(nullptr));
    if (!screen) return false;
    win32::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    win32::UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory || !bitmap) return false;
    HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
    const bool copied =
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY) != FALSE;
    ::SelectObject(memory.get(), previous);
    if (!copied) return false;

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = kBitsPerPixel;
    info.biCompression = BI_RGB;
    std::string pixels(RowBytes(width) * static_cast<size_t>(height), '\0');
    if (::GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, static_cast<UINT>(height), pixels.data(),
                    reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height)
        return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes += pixels;
    WriteWholeFile(path, bytes);
    return true;
}

std::string NodeName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    ::GetComputerNameA(name, &size);
    return name;
}

// The folders directly below a folder.
std::vector<std::string> SubFolders(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search) return names;
    do
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
            names.push_back(found.cFileName);
    while (::FindNextFileA(search.get(), &found));
    return names;
}

bool IsTimeStamp(const std::string& name) {
    static const char kShape[] = "99999999__99-99-99";
    if (name.size() != sizeof kShape - 1) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (kShape[i] == '9' ? !std::isdigit(static_cast<unsigned char>(name[i])) : name[i] != kShape[i]) return false;
    return true;
}

void Type(HWND dialog, int control, const char* text) {
    // WM_SETTEXT is carried across processes with its text.
    ::SendDlgItemMessageA(dialog, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// The run collects below the home drive's root (no destination was browsed for); the bug
// folder goes when the test ends, whatever happened.
class HomeDriveBugFolder {
public:
    explicit HomeDriveBugFolder(const std::string& incident) : path_("C:\\" + incident) { RemoveTree(path_); }
    ~HomeDriveBugFolder() { RemoveTree(path_); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

TEST(DialogRun, TypedIncidentAndOkCollectIntoTheHomeDriveAndThePictureShowsTheDialog) {
    ScopedWorkFolder folder;
    HomeDriveBugFolder bug("e2edialog");
    std::string command(1, '"');
    command += ProgramFolder();
    command += "\\Zeltrin.exe\"";
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

    const std::string picture = ArtefactFolder() + "\\dialog-before-ok.bmp";
    ::DeleteFileA(picture.c_str());
    ASSERT_TRUE(SaveWindowPicture(dialog, picture));
    RECT area{};
    ASSERT_TRUE(::GetWindowRect(dialog, &area));

    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    ASSERT_EQ(program.Wait(kRunTimeoutMs), 0);

    std::string bmp = ReadWholeFile(picture);
    ASSERT_GT(bmp.size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    std::memcpy(&file, bmp.data(), sizeof file);
    std::memcpy(&info, bmp.data() + sizeof file, sizeof info);
    EXPECT_EQ(file.bfSize, bmp.size());
    EXPECT_EQ(info.biWidth, area.right - area.left);
    EXPECT_EQ(info.biHeight, area.bottom - area.top);
    EXPECT_EQ(info.biBitCount, kBitsPerPixel);
    // A picture of a dialog is not one flat colour (a failed copy from the screen would be).
    const std::string pixels = bmp.substr(file.bfOffBits);
    EXPECT_NE(pixels.find_first_not_of(pixels[0]), std::string::npos);

    // The report of the program moved out of the work folder into the one run folder.
    EXPECT_FALSE(PathExists(folder.Path() + "\\" + reportName));
    const std::string machine = bug.Path() + "\\" + NodeName();
    std::vector<std::string> runs = SubFolders(machine);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(IsTimeStamp(runs[0])) << runs[0];
    const std::string run = machine + "\\" + runs[0];
    std::vector<std::string> entries = ReportEntries(ReadWholeFile(run + "\\" + reportName));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "ULVIX - Done!");
    auto has = [&](const std::string& entry) {
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    };
    EXPECT_TRUE(has("Incident #: e2edialog"));
    EXPECT_TRUE(has("Bug Folder #: e2edialog"));
    EXPECT_TRUE(has("Name: Dialog Tester"));
    EXPECT_TRUE(has("Comments: typed by the end-to-end test"));
    EXPECT_TRUE(has("Successfully created " + run));
    EXPECT_TRUE(PathExists(run + "\\REGISTRY.TXT"));
}
