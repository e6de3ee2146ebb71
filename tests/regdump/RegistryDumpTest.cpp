// The dump of a planted key tree, read from a real key list in the current directory and
// compared byte for byte; the list's skipped lines, limits and missing files.
#include <gtest/gtest.h>

#include "ProductRegistry.h"
#include "TestFiles.h"
#include "regdump/CRegInfo.h"

using namespace testing_support;
using namespace std::string_literals;

namespace {

constexpr const char* kTestRoot = "SOFTWARE\\ZeltrinTests";
constexpr const char* kDumpRoot = "SOFTWARE\\ZeltrinTests\\RegDump";

std::string RunDump(const std::string& list) {
    WriteWholeFile("QzRegList.txt", list);
    {
        CRegInfo dump("REGISTRY.TXT");
        EXPECT_TRUE(dump.IsOpen());
        dump.DumpFromList();
    }
    return ReadWholeFile("REGISTRY.TXT");
}

std::string Dword(DWORD number) { return std::string(reinterpret_cast<const char*>(&number), sizeof number); }

// Names sort in the order they are set, so the system's enumeration order is the same
// whether it keeps values in creation order or by name.
struct PlantedTree {
    PlantedTree() {
        root.SetString("", "root default");
        root.SetString("A_String", "plain text");
        root.SetString("B_Expand", "%SystemRoot%\\qz", REG_EXPAND_SZ);
        root.SetBytes("C_Number", REG_DWORD, Dword(255));
        root.SetBytes("D_Multi", REG_MULTI_SZ, "one\0two\0three\0\0"s);
        root.SetBytes("E_Bin0", REG_BINARY, "");
        root.SetBytes("F_Bin4", REG_BINARY, "\x01\x02\x03\xff"s);
        root.SetBytes("G_Bin5", REG_BINARY, "AB\0\x7fz"s);
        root.SetBytes("H_Bin20", REG_BINARY, "0123456789abcdef\x01\x80 ~"s);
        root.SetBytes("I_Qword", REG_QWORD, "\x01\0\0\0\0\0\0\0"s);
        child.SetBytes("Depth", REG_DWORD, Dword(1));
        grand.SetBytes("Depth", REG_DWORD, Dword(2));
        grand.SetString("Name_longer_than_eighteen", "deep");
    }
    PlantedKey top{kTestRoot};
    PlantedKey root{kDumpRoot};
    PlantedKey another{"SOFTWARE\\ZeltrinTests\\RegDump\\Another"};
    PlantedKey child{"SOFTWARE\\ZeltrinTests\\RegDump\\Child"};
    PlantedKey grand{"SOFTWARE\\ZeltrinTests\\RegDump\\Child\\Grand"};
};

// A subkey that is a registry link to another key below the local machine. Removed through the
// link itself: deleting by name would follow the link to its target.
class RegistryLink {
public:
    RegistryLink(const std::string& parent, const wchar_t* name, const std::string& target) {
        win32::UniqueRegKey parentKey;
        EXPECT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_CREATE_SUB_KEY, parentKey.put()),
                  ERROR_SUCCESS);
        EXPECT_EQ(::RegCreateKeyExW(parentKey.get(), name, 0, nullptr, REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK,
                                    KEY_ALL_ACCESS, nullptr, link_.put(), nullptr),
                  ERROR_SUCCESS);
        std::wstring path = L"\\Registry\\Machine\\" + std::wstring(target.begin(), target.end());
        EXPECT_EQ(::RegSetValueExW(link_.get(), L"SymbolicLinkValue", 0, REG_LINK,
                                   reinterpret_cast<const BYTE*>(path.data()),
                                   static_cast<DWORD>(path.size() * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    ~RegistryLink() {
        using DeleteKey = LONG(WINAPI*)(HANDLE);
        auto deleteKey = reinterpret_cast<DeleteKey>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
        if (deleteKey && link_) deleteKey(link_.get());
    }
    RegistryLink(const RegistryLink&) = delete;
    RegistryLink& operator=(const RegistryLink&) = delete;

private:
    win32::UniqueRegKey link_;
};

}  // namespace

TEST(RegistryDump, ListedKeysAreDumpedWithAllValuesAndSubkeys) {
    ScopedWorkFolder folder;
    PlantedTree tree;
    const std::string list =
        "# keys for the test\r\n"
        "\r\n"
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\ZeltrinTests\\RegDump\r\n"
        "hkey_local_machine\\SOFTWARE\\ZeltrinTests\\RegDump\\Child\\Grand\r\n"
        "HKEY_NOWHERE\\SOFTWARE\\ZeltrinTests\\RegDump\r\n"
        "NoBackslashHere\r\n"
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\ZeltrinTests\\Missing\r\n";
    const std::string expected =
        "~~~[Hive:HKEY_LOCAL_MACHINE Subkey:SOFTWARE\\ZeltrinTests\\RegDump]~~~\n"
        "[SOFTWARE\\ZeltrinTests\\RegDump]\n"
        "   :                  REG_SZ                         root default\n"
        "   A_String:          REG_SZ                         plain text\n"
        "   B_Expand:          REG_EXPAND_SZ                  %SystemRoot%\\qz\n"
        "   C_Number:          REG_DWORD                      0xff\n"
        "   D_Multi:           REG_MULTI_SZ                   one\n"
        "                      two\n"
        "                      three\n"
        "   E_Bin0:            REG_BINARY                     <>\n"
        "   F_Bin4:            REG_BINARY                     <01 02 03 ff>\n"
        "   G_Bin5:            REG_BINARY                     <5 bytes of binary data follow>\n"
        "             41 42 00 7f 7a                                    AB..z           \n"
        "   H_Bin20:           REG_BINARY                     <20 bytes of binary data follow>\n"
        "             30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66   0123456789abcdef\n"
        "             01 80 20 7e                                       .. ~            \n"
        "   I_Qword:           <value type 0xb not supported.>\n"
        "   [Another]\n"
        "   [Child]\n"
        "      Depth:             REG_DWORD                      0x1\n"
        "      [Grand]\n"
        "         Depth:             REG_DWORD                      0x2\n"
        "         Name_longer_than_eighteen: REG_SZ                         deep\n"
        "~~~[Hive:hkey_local_machine Subkey:SOFTWARE\\ZeltrinTests\\RegDump\\Child\\Grand]~~~\n"
        "[SOFTWARE\\ZeltrinTests\\RegDump\\Child\\Grand]\n"
        "   Depth:             REG_DWORD                      0x2\n"
        "   Name_longer_than_eighteen: REG_SZ                         deep\n"
        "~~~[Hive:HKEY_NOWHERE Subkey:SOFTWARE\\ZeltrinTests\\RegDump]~~~\n"
        "~~~[Hive:HKEY_LOCAL_MACHINE Subkey:SOFTWARE\\ZeltrinTests\\Missing]~~~\n";
    EXPECT_EQ(RunDump(list), TextModeBytes(expected));
}

TEST(RegistryDump, ListOfOnlyCommentsAndEmptyLinesGivesAnEmptyDump) {
    ScopedWorkFolder folder;
    EXPECT_EQ(RunDump("# nothing\n\n#HKEY_LOCAL_MACHINE\\SOFTWARE\n\n"), "");
}

TEST(RegistryDump, LastLineWithoutLineFeedIsDumped) {
    ScopedWorkFolder folder;
    PlantedKey top{kTestRoot};
    PlantedKey key{kDumpRoot};
    key.SetBytes("N", REG_DWORD, Dword(7));
    EXPECT_EQ(RunDump("HKEY_LOCAL_MACHINE\\SOFTWARE\\ZeltrinTests\\RegDump"),
              TextModeBytes("~~~[Hive:HKEY_LOCAL_MACHINE Subkey:SOFTWARE\\ZeltrinTests\\RegDump]~~~\n"
                     "[SOFTWARE\\ZeltrinTests\\RegDump]\n"
                     "   N:                 REG_DWORD                      0x7\n"));
}

TEST(RegistryDump, LineOver1023CharactersIsOneEntryNotSplitIntoOthers) {
    ScopedWorkFolder folder;
    PlantedKey top{kTestRoot};
    PlantedKey key{kDumpRoot};
    key.SetBytes("N", REG_DWORD, Dword(7));
    // Were such lines read in pieces, the text past character 1,023 would name a real key.
    const std::string tail = "HKEY_LOCAL_MACHINE\\SOFTWARE\\ZeltrinTests\\RegDump";
    const std::string head = "HKEY_LOCAL_MACHINE\\SOFTWARE\\";
    const std::string filler(1023 - head.size(), 'f');
    const std::string comment = "#" + std::string(1022, 'c');
    EXPECT_EQ(RunDump(head + filler + tail + "\n" + comment + tail + "\n"),
              TextModeBytes("~~~[Hive:HKEY_LOCAL_MACHINE Subkey:SOFTWARE\\" + filler + tail + "]~~~\n"));
}

TEST(RegistryDump, ValuesBeyondTheUsualBuffersAreDumpedWholeAndTheListGoesOn) {
    ScopedWorkFolder folder;
    PlantedKey top{kTestRoot};
    PlantedKey key{kDumpRoot};
    const std::string longName = "A" + std::string(299, 'n');
    const std::string longText(5000, 't');
    key.SetString(longName, "short");
    key.SetString("B_Long", longText);
    key.SetBytes("C_After", REG_DWORD, Dword(3));
    EXPECT_EQ(RunDump("HKEY_LOCAL_MACHINE\\SOFTWARE\\ZeltrinTests\\RegDump\n"),
              TextModeBytes("~~~[Hive:HKEY_LOCAL_MACHINE Subkey:SOFTWARE\\ZeltrinTests\\RegDump]~~~\n"
                     "[SOFTWARE\\ZeltrinTests\\RegDump]\n"
                     "   " + longName + ": REG_SZ                         short\n"
                     "   B_Long:            REG_SZ                         " + longText + "\n"
                     "   C_After:           REG_DWORD                      0x3\n"));
}

TEST(RegistryDump, LinksBackToAKeyBeingDumpedAreLeftOutOtherLinksFollowed) {
    ScopedWorkFolder folder;
    PlantedKey top{kTestRoot};
    PlantedKey key{kDumpRoot};
    PlantedKey child{"SOFTWARE\\ZeltrinTests\\RegDump\\Child"};
    PlantedKey other{"SOFTWARE\\ZeltrinTests\\RegDump\\Other"};
    key.SetBytes("N", REG_DWORD, Dword(7));
    child.SetBytes("D", REG_DWORD, Dword(1));
    other.SetBytes("S", REG_DWORD, Dword(2));
    // Two links back up the tree: followed, each would double the work at every level.
    RegistryLink loop(kDumpRoot, L"Loop", kDumpRoot);
    RegistryLink back("SOFTWARE\\ZeltrinTests\\RegDump\\Child", L"Back", kDumpRoot);
    RegistryLink side("SOFTWARE\\ZeltrinTests\\RegDump\\Child", L"Side",
                      "SOFTWARE\\ZeltrinTests\\RegDump\\Other");
    EXPECT_EQ(RunDump("HKEY_LOCAL_MACHINE\\SOFTWARE\\ZeltrinTests\\RegDump\n"),
              TextModeBytes("~~~[Hive:HKEY_LOCAL_MACHINE Subkey:SOFTWARE\\ZeltrinTests\\RegDump]~~~\n"
                            "[SOFTWARE\\ZeltrinTests\\RegDump]\n"
                            "   N:                 REG_DWORD                      0x7\n"
                            "   [Child]\n"
                            "      D:                 REG_DWORD                      0x1\n"
                            "      [Side]\n"
                            "         S:                 REG_DWORD                      0x2\n"
                            "   [Other]\n"
                            "      S:                 REG_DWORD                      0x2\n"));
}

TEST(RegistryDump, MissingListCreatesTheDumpFileButDumpsNothing) {
    ScopedWorkFolder folder;
    {
        CRegInfo dump("REGISTRY.TXT");
        EXPECT_FALSE(dump.IsOpen());
        dump.DumpFromList();
    }
    EXPECT_TRUE(PathExists("REGISTRY.TXT"));
    EXPECT_EQ(ReadWholeFile("REGISTRY.TXT"), "");
}

TEST(RegistryDump, DumpPathOver259CharactersIsNotOpened) {
    ScopedWorkFolder folder;
    WriteWholeFile("QzRegList.txt", "HKEY_LOCAL_MACHINE\\SOFTWARE\n");
    const std::string tooLong = folder.Path() + "\\" + std::string(259 - folder.Path().size(), 'd');
    ASSERT_EQ(tooLong.size(), 260u);
    CRegInfo dump(tooLong);
    EXPECT_FALSE(dump.IsOpen());
    dump.DumpFromList();
}
