// Dialog 102 holds every control with its identifier, kind, caption and visibility; the
// strings, version, icon and manifest are in the program.
#include <algorithm>
#include <vector>

#include "DialogFixture.h"
#include "TestFiles.h"
#include "framework/MessageBoxes.h"
#include "resources/resource.h"

namespace {

enum class Kind { CheckBox, Label, Edit, MultiLineEdit, ReadOnlyEdit, GroupBox, Button, DefaultButton, DatePicker,
                  TimePicker, ProgressBar };

struct ExpectedControl {
    int id;
    Kind kind;
    const char* caption;
    bool visible;
};

const ExpectedControl kControls[] = {
    {1000, Kind::CheckBox, "&Registry", true},
    {1001, Kind::CheckBox, "&Application Event Log", true},
    {1002, Kind::CheckBox, "QzOkapo Log(s)", true},
    {1003, Kind::CheckBox, "&Cluster Log(s)", true},
    {1004, Kind::CheckBox, "MSINFO32", true},
    {1005, Kind::CheckBox, "&QzSvc Dump", true},
    {1006, Kind::CheckBox, "&Providers (DOM)", true},
    {1007, Kind::CheckBox, "&FLX ASL / DSM", true},
    {1008, Kind::CheckBox, "Q&zDiag", true},
    {1016, Kind::CheckBox, "System &Event Log", true},
    {1018, Kind::CheckBox, "MPS &Reports", true},
    {1019, Kind::CheckBox, "&Binary Version", true},
    {1020, Kind::CheckBox, "Hardware &Information", false},
    {1024, Kind::CheckBox, "Memor&y Dump", false},
    {1026, Kind::CheckBox, "&BOOT.INI", true},
    {1027, Kind::CheckBox, "Se&tup Log", true},
    {1030, Kind::CheckBox, "Dr. &Watson Log", true},
    {1031, Kind::CheckBox, "Compress", true},
    {1033, Kind::CheckBox, "Pelorin", true},
    {1034, Kind::CheckBox, "&User Dump", true},
    {1035, Kind::CheckBox, "Delete after compress", true},
    {1037, Kind::CheckBox, "PQHMC", true},
    {1038, Kind::CheckBox, "NLD/WKE", true},
    {1039, Kind::CheckBox, "TEJ/RQN", true},
    {1041, Kind::CheckBox, "&Logs", true},
    {1042, Kind::CheckBox, "ZRX", true},
    {1043, Kind::CheckBox, "WLT", true},
    {1044, Kind::CheckBox, "PQH / HA", true},
    {1046, Kind::CheckBox, "&RUQ", true},
    {1047, Kind::CheckBox, "&TGN", true},
    {1050, Kind::CheckBox, "VDS Logs", true},
    {1051, Kind::CheckBox, "Miscellaneous", true},
    {1052, Kind::CheckBox, "Solutions", true},
    {1053, Kind::CheckBox, "RBK Schedules", true},
    {1054, Kind::CheckBox, "OSMU (YTR, WOLM)", true},
    {1064, Kind::CheckBox, "QzIO/QDSM Boot Log", true},
    {1068, Kind::CheckBox, "Licenses", true},
    {1013, Kind::Label, "&Incident/Mossel #:", true},
    {1014, Kind::Edit, "", true},
    {1009, Kind::Label, "Problem occurred on: ", true},
    {1011, Kind::DatePicker, nullptr, true},
    {1010, Kind::Label, "@", true},
    {1012, Kind::TimePicker, nullptr, true},
    {1021, Kind::Label, "&Customer / SE Name: ", true},
    {1023, Kind::Edit, "", true},
    {1022, Kind::Label, "&Comments:", true},
    {1025, Kind::MultiLineEdit, "", true},
    {1015, Kind::GroupBox, "Grab", true},
    {1055, Kind::CheckBox, "Deselect All", false},
    {1059, Kind::Label, "Zeltrin", true},
    {1063, Kind::Label, "v", true},
    {1060, Kind::Label, "", true},
    {1066, Kind::Label, "Logs Destination Path:", true},
    {1067, Kind::ReadOnlyEdit, nullptr, true},
    {1065, Kind::Button, "Browse...", true},
    {1028, Kind::ProgressBar, nullptr, false},
    {1029, Kind::Label, "", false},
    {1, Kind::DefaultButton, "OK", true},
    {2, Kind::Button, "Cance&l", true},
    {1017, Kind::Button, "&Help", true},
};

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// The kind a control is, read from its window class and style.
Kind KindOf(HWND control) {
    std::string windowClass = ClassOf(control);
    LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE);
    if (windowClass == DATETIMEPICK_CLASSA) return (style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT ? Kind::TimePicker
                                                                                          : Kind::DatePicker;
    if (windowClass == PROGRESS_CLASSA) return Kind::ProgressBar;
    if (windowClass == "Static") return Kind::Label;
    if (windowClass == "Edit") {
        if (style & ES_READONLY) return Kind::ReadOnlyEdit;
        return (style & ES_MULTILINE) ? Kind::MultiLineEdit : Kind::Edit;
    }
    switch (style & BS_TYPEMASK) {
        case BS_AUTOCHECKBOX: return Kind::CheckBox;
        case BS_GROUPBOX: return Kind::GroupBox;
        case BS_DEFPUSHBUTTON: return Kind::DefaultButton;
        default: return Kind::Button;
    }
}

// The dialog straight from its template, before any code of ours touched a control.
class BareDialog : public framework::Dialog {
public:
    BareDialog() : framework::Dialog(IDD_ULVIX_DIALOG) {}
};

}  // namespace

TEST(Resources, MainDialogHoldsEveryControlAsTheTemplateDefinesIt) {
    framework::EnableHostedControls();
    BareDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    char caption[128] = {};
    ::GetWindowTextA(dialog.GetSafeHwnd(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Zeltrin - BRENNOCK Dunmere for Windows");

    std::vector<int> seen;
    for (HWND child = ::GetWindow(dialog.GetSafeHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        seen.push_back(::GetDlgCtrlID(child));
    EXPECT_EQ(seen.size(), std::size(kControls)) << "the dialog holds controls it should not";

    for (const ExpectedControl& expected : kControls) {
        SCOPED_TRACE("control " + std::to_string(expected.id));
        HWND control = dialog.GetDlgItem(expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), expected.id), 1);
        EXPECT_EQ(KindOf(control), expected.kind);
        if (expected.caption != nullptr) {
            char text[128] = {};
            ::GetWindowTextA(control, text, sizeof text);
            EXPECT_STREQ(text, expected.caption);
        }
        bool visible = (::GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
        EXPECT_EQ(visible, expected.visible);
    }
}

TEST_F(OpenDialog, TextLimitsAre9And50And256) {
    EXPECT_EQ(::SendMessageA(Item(IDC_INCIDENT), EM_GETLIMITTEXT, 0, 0), 9);
    EXPECT_EQ(::SendMessageA(Item(IDC_NAME), EM_GETLIMITTEXT, 0, 0), 50);
    EXPECT_EQ(::SendMessageA(Item(IDC_COMMENTS), EM_GETLIMITTEXT, 0, 0), 256);
}

TEST(Resources, StringTableHoldsTheProgramsTexts) {
    EXPECT_EQ(framework::LoadResourceString(101), "&About ULVIX...");
    EXPECT_EQ(framework::LoadResourceString(103), "Can not open/create %s. Error=%d");
    EXPECT_EQ(framework::LoadResourceString(104),
              "Please enter a valid Lorvex incident number or Mossel case ID to continue.\n\nExample: \n\tLorvex "
              "incident number: 123456\n\tMossel Case ID: 123456789");
    EXPECT_EQ(framework::LoadResourceString(105),
              "Could not move %s to %s. \n\nHowever, you still have it in the local folder.");
    EXPECT_EQ(framework::ApplicationTitle(), "Zeltrin");
}

TEST(Resources, ProgramCarriesVersionIconAndManifest) {
    std::string program = testing_support::ProgramFolder() + "\\Zeltrin.exe";
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(program.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(::GetFileVersionInfoA(program.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 6));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(445, 0));

    HMODULE module = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(::FindResourceA(module, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON), nullptr);
    EXPECT_NE(::FindResourceA(module, MAKEINTRESOURCEA(IDD_ABOUTBOX), RT_DIALOG), nullptr);
    HRSRC manifest = ::FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    std::string text(static_cast<const char*>(::LockResource(::LoadResource(module, manifest))),
                     ::SizeofResource(module, manifest));
    ::FreeLibrary(module);
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(text.find("4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38"), std::string::npos) << "Windows 8";
    EXPECT_EQ(text.find("1f676c76-80e1-4239-95bb-83d0f6d0da78"), std::string::npos) << "Windows 8.1";
    EXPECT_EQ(text.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"), std::string::npos) << "Windows 10";
}
